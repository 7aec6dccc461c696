#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <algorithm>
#include <vector>

class QPrinter;

// A read-only view of plain text in a fixed-pitch font, one line per text
// line, never wrapped, scrolled both ways.  It keeps the text whole and an
// index of where each line starts, and paints only the lines and columns in
// sight, so a report of many megabytes opens and scrolls at once.
//
// Positions are character offsets into the text; line and column numbers
// count from 0.
class ReportView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent = nullptr);

    // TEXT's lines end in '\n'; tabs are expanded to stops of eight here.
    void SetText(const QString& text);
    const QString& Text() const { return m_text; }
    int LineCount() const { return static_cast<int>(m_lineStarts.size()); }
    QString Line(int line) const;
    int LongestLine() const { return m_longest; }

    qsizetype CursorPosition() const { return m_cursor; }
    int CursorLine() const { return LineOf(m_cursor); }
    int CursorColumn() const { return static_cast<int>(m_cursor - m_lineStarts[CursorLine()]); }
    qsizetype SelectionStart() const { return std::min(m_anchor, m_cursor); }
    qsizetype SelectionEnd() const { return std::max(m_anchor, m_cursor); }
    QString SelectedText() const;
    // Selects START to END (the cursor ends at END) and brings it into sight.
    void Select(qsizetype start, qsizetype end);
    void MoveCursor(qsizetype position, bool keepAnchor);
    void SelectAll();
    void CopySelection() const;

    int FirstVisibleLine() const;
    int VisibleLineCount() const;
    int FirstVisibleColumn() const;

    // Page after page, a header with TITLE and the page number on each; lines
    // wider than the page go on in the next line.
    void Print(QPrinter& printer, const QString& title) const;

signals:
    void CursorMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int LineOf(qsizetype position) const;
    qsizetype LineEnd(int line) const;
    qsizetype PositionAt(const QPoint& point) const;
    qsizetype PositionInLine(int line, int column) const;
    void MeasureFont();
    void UpdateScrollBars();
    void EnsureCursorVisible();

    QString m_text;
    std::vector<qsizetype> m_lineStarts{0};
    int m_longest = 0;
    qsizetype m_anchor = 0;
    qsizetype m_cursor = 0;
    int m_charWidth = 8;
    int m_lineHeight = 16;
    int m_ascent = 12;
    static constexpr int kMargin = 4;
};
