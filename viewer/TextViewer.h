#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QStackedWidget;
class ReportView;

// A read-only window onto one text file, for the engine's fixed-column
// reports: fixed-pitch font, no wrapping, find, print, print to PDF and Save
// As.  A file that cannot be shown gives a window that says why.
class TextViewer : public QMainWindow {
    Q_OBJECT

public:
    explicit TextViewer(QWidget* parent = nullptr);

    // Every word is part of the one file name, joined by one blank.
    static QString FileNameFromWords(const QStringList& words);

    // Shows FILENAME, or why it cannot be shown; false in that case.
    bool Open(const QString& fileName);
    QString FileName() const { return m_fileName; }
    bool IsShowingFile() const { return m_shown; }
    QString Problem() const;

    // Writes the file's bytes, as read, to PATH; false (and a message) when
    // that failed.
    bool SaveAs(const QString& path);
    bool PrintToPdf(const QString& path);
    void PrintTo(QPrinter& printer);
    // From the cursor on (or back), wrapping round the ends; false when the
    // text is nowhere.
    bool Find(const QString& text, bool backward);

    static constexpr qint64 kLargestFile = 256LL * 1024 * 1024;

public slots:
    void OnFind();
    void OnFindNext();
    void OnFindPrevious();
    void OnSaveAs();
    void OnPrint();
    void OnPrintToPdf();
    void OnEscape();

private:
    void BuildPages(QWidget* parent);
    void BuildActions();
    void FitToReportWidth();
    void BuildFindBar(QWidget* parent);
    void ShowProblem(const QString& text);
    void ShowText(const QByteArray& bytes);
    void EnableFileActions(bool enabled);
    void UpdatePosition();
    void Zoom(int points);
    QString SuggestedName(const QString& suffix) const;

    QString m_fileName;
    QByteArray m_bytes;
    bool m_shown = false;

    QStackedWidget* m_pages = nullptr;
    ReportView* m_text = nullptr;
    QLabel* m_problem = nullptr;
    QWidget* m_findBar = nullptr;
    QLineEdit* m_findText = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QLabel* m_findStatus = nullptr;
    QLabel* m_position = nullptr;

    QAction* m_saveAs = nullptr;
    QAction* m_print = nullptr;
    QAction* m_printToPdf = nullptr;
    QAction* m_find = nullptr;
    QAction* m_findNext = nullptr;
    QAction* m_findPrevious = nullptr;
};
