#include "ReportView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>

namespace {

QString ExpandTabs(const QString& text)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString expanded;
    expanded.reserve(text.size() + text.size() / 8);
    qsizetype column = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) {
            const qsizetype spaces = 8 - column % 8;
            expanded.append(QString(spaces, QLatin1Char(' ')));
            column += spaces;
            continue;
        }
        expanded.append(c);
        column = (c == QLatin1Char('\n')) ? 0 : column + 1;
    }
    return expanded;
}

}  // namespace

ReportView::ReportView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    MeasureFont();
}

void ReportView::SetText(const QString& text)
{
    m_text = ExpandTabs(text);
    m_lineStarts.assign(1, 0);
    m_longest = 0;
    const QChar* data = m_text.constData();
    const qsizetype size = m_text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == QLatin1Char('\n')) {
            m_longest = std::max(m_longest, static_cast<int>(i - start));
            start = i + 1;
            m_lineStarts.push_back(start);
        }
    }
    m_longest = std::max(m_longest, static_cast<int>(size - start));
    m_anchor = m_cursor = 0;
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit CursorMoved();
}

QString ReportView::Line(int line) const
{
    return m_text.mid(m_lineStarts[line], LineEnd(line) - m_lineStarts[line]);
}

qsizetype ReportView::LineEnd(int line) const
{
    return (line + 1 < LineCount()) ? m_lineStarts[line + 1] - 1 : m_text.size();
}

int ReportView::LineOf(qsizetype position) const
{
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
    return static_cast<int>(after - m_lineStarts.begin()) - 1;
}

QString ReportView::SelectedText() const
{
    const qsizetype start = std::min(m_anchor, m_cursor);
    return m_text.mid(start, std::max(m_anchor, m_cursor) - start);
}

void ReportView::Select(qsizetype start, qsizetype end)
{
    m_anchor = std::clamp<qsizetype>(start, 0, m_text.size());
    MoveCursor(end, true);
}

void ReportView::MoveCursor(qsizetype position, bool keepAnchor)
{
    m_cursor = std::clamp<qsizetype>(position, 0, m_text.size());
    if (!keepAnchor)
        m_anchor = m_cursor;
    EnsureCursorVisible();
    viewport()->update();
    emit CursorMoved();
}

void ReportView::SelectAll()
{
    m_anchor = 0;
    m_cursor = m_text.size();
    viewport()->update();
    emit CursorMoved();
}

void ReportView::CopySelection() const
{
    const QString selected = SelectedText();
    if (!selected.isEmpty())
        QApplication::clipboard()->setText(selected);
}

int ReportView::FirstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int ReportView::VisibleLineCount() const
{
    return std::max(1, viewport()->height() / m_lineHeight);
}

int ReportView::FirstVisibleColumn() const
{
    return horizontalScrollBar()->value() / m_charWidth;
}

void ReportView::MeasureFont()
{
    const QFontMetrics metrics(font());
    m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
    m_lineHeight = std::max(1, metrics.lineSpacing());
    m_ascent = metrics.ascent();
}

void ReportView::UpdateScrollBars()
{
    const int visible = VisibleLineCount();
    verticalScrollBar()->setRange(0, std::max(0, LineCount() - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    const int width = 2 * kMargin + (m_longest + 1) * m_charWidth;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(m_charWidth);
}

void ReportView::EnsureCursorVisible()
{
    const int line = CursorLine();
    const int first = FirstVisibleLine();
    const int visible = VisibleLineCount();
    if (line < first)
        verticalScrollBar()->setValue(line);
    else if (line >= first + visible)
        verticalScrollBar()->setValue(line - visible + 1);
    const int x = kMargin + CursorColumn() * m_charWidth;
    const int left = horizontalScrollBar()->value();
    const int right = left + viewport()->width() - m_charWidth - kMargin;
    if (x < left + kMargin)
        horizontalScrollBar()->setValue(std::max(0, x - viewport()->width() / 3));
    else if (x > right)
        horizontalScrollBar()->setValue(x - viewport()->width() * 2 / 3);
}

qsizetype ReportView::PositionInLine(int line, int column) const
{
    line = std::clamp(line, 0, LineCount() - 1);
    const qsizetype start = m_lineStarts[line];
    return start + std::clamp<qsizetype>(column, 0, LineEnd(line) - start);
}

qsizetype ReportView::PositionAt(const QPoint& point) const
{
    const int line = FirstVisibleLine() + point.y() / m_lineHeight;
    const int x = point.x() + horizontalScrollBar()->value() - kMargin;
    const int column = (x + m_charWidth / 2) / m_charWidth;
    return PositionInLine(line, std::max(0, column));
}

void ReportView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const int first = FirstVisibleLine();
    const int last = std::min(LineCount(), first + VisibleLineCount() + 1);
    const int scrollX = horizontalScrollBar()->value();
    const int firstColumn = std::max(0, (scrollX - kMargin) / m_charWidth);
    const int columns = viewport()->width() / m_charWidth + 2;
    const qsizetype selectionStart = std::min(m_anchor, m_cursor);
    const qsizetype selectionEnd = std::max(m_anchor, m_cursor);
    const QPalette& colours = palette();
    const bool focused = hasFocus();

    for (int line = first; line < last; ++line) {
        const int y = (line - first) * m_lineHeight;
        const qsizetype start = m_lineStarts[line];
        const qsizetype end = LineEnd(line);
        // The selection within this line, with the line end as one column more.
        const qsizetype from = std::max(selectionStart, start);
        const qsizetype to = std::min(selectionEnd, end + 1);
        if (from < to) {
            const int x = kMargin + static_cast<int>(from - start) * m_charWidth - scrollX;
            painter.fillRect(x, y, static_cast<int>(to - from) * m_charWidth, m_lineHeight,
                             colours.brush(focused ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
        }
        const qsizetype length = end - start;
        if (firstColumn < length) {
            const QString shown = m_text.mid(start + firstColumn, std::min<qsizetype>(columns, length - firstColumn));
            const int x = kMargin + firstColumn * m_charWidth - scrollX;
            painter.setPen(colours.color(QPalette::Text));
            painter.drawText(QPoint(x, y + m_ascent), shown);
            if (from < to) {
                // Selected characters in the highlighted text colour, on top.
                painter.save();
                const int clipX = kMargin + static_cast<int>(from - start) * m_charWidth - scrollX;
                painter.setClipRect(clipX, y, static_cast<int>(to - from) * m_charWidth, m_lineHeight);
                painter.setPen(colours.color(QPalette::HighlightedText));
                painter.drawText(QPoint(x, y + m_ascent), shown);
                painter.restore();
            }
        }
    }
    if (focused) {
        const int line = CursorLine();
        if (line >= first && line < last) {
            const int x = kMargin + CursorColumn() * m_charWidth - scrollX;
            const int y = (line - first) * m_lineHeight;
            painter.fillRect(x, y, 1, m_lineHeight, colours.color(QPalette::Text));
        }
    }
}

void ReportView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void ReportView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        MeasureFont();
        UpdateScrollBars();
        viewport()->update();
    }
}

void ReportView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ReportView::keyPressEvent(QKeyEvent* event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int line = CursorLine();
    const int column = CursorColumn();
    const int page = VisibleLineCount();
    switch (event->key()) {
    case Qt::Key_Left:
        MoveCursor(m_cursor - 1, extend);
        break;
    case Qt::Key_Right:
        MoveCursor(m_cursor + 1, extend);
        break;
    case Qt::Key_Up:
        MoveCursor(PositionInLine(line - 1, column), extend);
        break;
    case Qt::Key_Down:
        MoveCursor(PositionInLine(line + 1, column), extend);
        break;
    case Qt::Key_PageUp:
        verticalScrollBar()->setValue(FirstVisibleLine() - page);
        MoveCursor(PositionInLine(line - page, column), extend);
        break;
    case Qt::Key_PageDown:
        verticalScrollBar()->setValue(FirstVisibleLine() + page);
        MoveCursor(PositionInLine(line + page, column), extend);
        break;
    case Qt::Key_Home:
        MoveCursor(control ? 0 : m_lineStarts[line], extend);
        break;
    case Qt::Key_End:
        MoveCursor(control ? m_text.size() : LineEnd(line), extend);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ReportView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    MoveCursor(PositionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void ReportView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        MoveCursor(PositionAt(event->position().toPoint()), true);
}

void ReportView::Print(QPrinter& printer, const QString& title) const
{
    QPainter painter(&printer);
    QFont printed = font();
    printed.setPointSizeF(9);
    painter.setFont(printed);
    const QFontMetrics metrics(printed, &printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int lineHeight = metrics.lineSpacing();
    const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
    const int perLine = std::max(1, page.width() / charWidth);
    const int perPage = std::max(1, page.height() / lineHeight - 2);  // two for the header

    int pageNumber = 0;
    int row = perPage;
    const auto place = [&](const QString& text) {
        if (row == perPage) {
            if (pageNumber > 0)
                printer.newPage();
            ++pageNumber;
            painter.drawText(QRect(0, 0, page.width(), lineHeight), Qt::AlignLeft, title);
            painter.drawText(QRect(0, 0, page.width(), lineHeight), Qt::AlignRight, tr("Page %1").arg(pageNumber));
            row = 0;
        }
        painter.drawText(QPoint(0, (row + 2) * lineHeight + metrics.ascent()), text);
        ++row;
    };
    for (int line = 0; line < LineCount(); ++line) {
        const QString text = Line(line);
        if (text.isEmpty() && line + 1 == LineCount() && line > 0)
            break;  // the end of the last line, not a line of its own
        for (qsizetype at = 0; at == 0 || at < text.size(); at += perLine)
            place(text.mid(at, perLine));
    }
}
