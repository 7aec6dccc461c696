#include "TextViewer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QUtf8StringView>
#include <QVBoxLayout>

#include <algorithm>

#include "ReportView.h"

namespace {

const char* const kTitleSuffix = " - wtharsel viewer";

// A fixed-pitch font whatever the desktop's default: the report is laid out
// in columns.
QFont FixedPitchFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFont(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    font.setPointSize(10);
    return font;
}

// The bytes with each CR LF as one line feed.
QByteArray WithLineFeeds(const QByteArray& bytes)
{
    QByteArray lines(bytes.size(), Qt::Uninitialized);
    char* out = lines.data();
    const char* in = bytes.constData();
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (in[i] != '\r' || i + 1 == size || in[i + 1] != '\n')
            *out++ = in[i];
    }
    lines.truncate(out - lines.data());
    return lines;
}

// UTF-8 when the bytes are, else Latin-1 (any byte is a character there),
// with the line ends of either platform read as one.
QString DecodeText(const QByteArray& bytes)
{
    const QByteArray lines = WithLineFeeds(bytes);
    QString text = QUtf8StringView(lines).isValidUtf8() ? QString::fromUtf8(lines) : QString::fromLatin1(lines);
    text.replace(QChar(0), QChar(0x2400));  // a NUL byte shows as a symbol, not as nothing
    return text;
}

}  // namespace

TextViewer::TextViewer(QWidget* parent) : QMainWindow(parent)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildPages(central);
    layout->addWidget(m_pages);
    BuildFindBar(central);
    layout->addWidget(m_findBar);
    setCentralWidget(central);

    m_position = new QLabel(this);
    m_position->setObjectName(QStringLiteral("position"));
    statusBar()->addPermanentWidget(m_position);
    connect(m_text, &ReportView::CursorMoved, this, &TextViewer::UpdatePosition);

    BuildActions();
    FitToReportWidth();
    Open(QString());
}

// The report, or in its place the words that say why there is none.
void TextViewer::BuildPages(QWidget* parent)
{
    m_pages = new QStackedWidget(parent);
    m_text = new ReportView(m_pages);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setFont(FixedPitchFont());
    m_problem = new QLabel(m_pages);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setAlignment(Qt::AlignCenter);
    m_problem->setWordWrap(true);
    m_problem->setMargin(24);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pages->addWidget(m_text);
    m_pages->addWidget(m_problem);
}

// Wide enough for a report's columns and 40 lines, where the screen allows.
void TextViewer::FitToReportWidth()
{
    const QFontMetrics metrics(m_text->font());
    QSize size(metrics.horizontalAdvance(QLatin1Char('0')) * 104, metrics.lineSpacing() * 40);
    if (const QScreen* screen = QApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
}

QString TextViewer::FileNameFromWords(const QStringList& words)
{
    return words.join(QLatin1Char(' '));
}

void TextViewer::BuildActions()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    m_saveAs = file->addAction(tr("Save &As..."), this, &TextViewer::OnSaveAs);
    m_saveAs->setObjectName(QStringLiteral("saveAs"));
    m_saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_print = file->addAction(tr("&Print..."), this, &TextViewer::OnPrint);
    m_print->setObjectName(QStringLiteral("print"));
    m_print->setShortcut(QKeySequence::Print);
    m_printToPdf = file->addAction(tr("Print to P&DF..."), this, &TextViewer::OnPrintToPdf);
    m_printToPdf->setObjectName(QStringLiteral("printToPdf"));
    file->addSeparator();
    QAction* close = file->addAction(tr("&Close"), this, &QWidget::close);
    close->setObjectName(QStringLiteral("close"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* copy = edit->addAction(tr("&Copy"), m_text, &ReportView::CopySelection);
    copy->setShortcut(QKeySequence::Copy);
    QAction* all = edit->addAction(tr("Select &All"), m_text, &ReportView::SelectAll);
    all->setShortcut(QKeySequence::SelectAll);
    edit->addSeparator();
    m_find = edit->addAction(tr("&Find..."), this, &TextViewer::OnFind);
    m_find->setObjectName(QStringLiteral("find"));
    m_find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_findNext = edit->addAction(tr("Find &Next"), this, &TextViewer::OnFindNext);
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setShortcut(QKeySequence(Qt::Key_F3));
    m_findPrevious = edit->addAction(tr("Find &Previous"), this, &TextViewer::OnFindPrevious);
    m_findPrevious->setObjectName(QStringLiteral("findPrevious"));
    m_findPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* larger = view->addAction(tr("&Larger Text"), this, [this] { Zoom(1); });
    larger->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* smaller = view->addAction(tr("&Smaller Text"), this, [this] { Zoom(-1); });
    smaller->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("escape"));
    connect(escape, &QShortcut::activated, this, &TextViewer::OnEscape);
}

void TextViewer::BuildFindBar(QWidget* parent)
{
    m_findBar = new QWidget(parent);
    m_findBar->setObjectName(QStringLiteral("findBar"));
    auto* layout = new QHBoxLayout(m_findBar);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* label = new QLabel(tr("Find:"), m_findBar);
    m_findText = new QLineEdit(m_findBar);
    m_findText->setObjectName(QStringLiteral("findText"));
    label->setBuddy(m_findText);
    m_matchCase = new QCheckBox(tr("Match &case"), m_findBar);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    auto* next = new QPushButton(tr("&Next"), m_findBar);
    auto* previous = new QPushButton(tr("&Previous"), m_findBar);
    m_findStatus = new QLabel(m_findBar);
    m_findStatus->setObjectName(QStringLiteral("findStatus"));
    layout->addWidget(label);
    layout->addWidget(m_findText, 1);
    layout->addWidget(m_matchCase);
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(m_findStatus, 1);
    connect(m_findText, &QLineEdit::returnPressed, this, &TextViewer::OnFindNext);
    connect(next, &QPushButton::clicked, this, &TextViewer::OnFindNext);
    connect(previous, &QPushButton::clicked, this, &TextViewer::OnFindPrevious);
    m_findBar->hide();
}

bool TextViewer::Open(const QString& fileName)
{
    m_fileName = fileName;
    m_bytes.clear();
    setWindowTitle((fileName.isEmpty() ? tr("No file") : QFileInfo(fileName).fileName()) + QLatin1String(kTitleSuffix));
    if (fileName.isEmpty()) {
        ShowProblem(tr("No file was named. Start the viewer with the name of the file to show."));
        return false;
    }
    const QFileInfo info(fileName);
    if (!info.exists()) {
        ShowProblem(tr("Cannot show \"%1\": there is no such file in %2.")
                        .arg(fileName, QDir::toNativeSeparators(info.absolutePath())));
        return false;
    }
    if (info.isDir()) {
        ShowProblem(tr("Cannot show \"%1\": it is a folder, not a file.").arg(fileName));
        return false;
    }
    if (info.size() > kLargestFile) {
        ShowProblem(tr("Cannot show \"%1\": it holds %2 MB, and the viewer shows files up to %3 MB.")
                        .arg(fileName)
                        .arg(info.size() / (1024 * 1024))
                        .arg(kLargestFile / (1024 * 1024)));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowProblem(tr("Cannot show \"%1\": %2.").arg(fileName, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ShowProblem(tr("Cannot show \"%1\": %2.").arg(fileName, file.errorString()));
        return false;
    }
    ShowText(bytes);
    return true;
}

QString TextViewer::Problem() const
{
    return m_shown ? QString() : m_problem->text();
}

void TextViewer::ShowProblem(const QString& text)
{
    m_shown = false;
    m_text->SetText(QString());
    m_problem->setText(text);
    m_pages->setCurrentWidget(m_problem);
    m_findBar->hide();
    EnableFileActions(false);
    m_position->clear();
}

void TextViewer::ShowText(const QByteArray& bytes)
{
    m_bytes = bytes;
    m_shown = true;
    m_text->SetText(DecodeText(bytes));
    m_pages->setCurrentWidget(m_text);
    EnableFileActions(true);
    m_text->setFocus();
    UpdatePosition();
}

void TextViewer::EnableFileActions(bool enabled)
{
    for (QAction* action : {m_saveAs, m_print, m_printToPdf, m_find, m_findNext, m_findPrevious})
        action->setEnabled(enabled);
}

void TextViewer::UpdatePosition()
{
    if (!m_shown)
        return;
    m_position->setText(tr("Line %1, column %2").arg(m_text->CursorLine() + 1).arg(m_text->CursorColumn() + 1));
}

void TextViewer::Zoom(int points)
{
    QFont font = m_text->font();
    font.setPointSize(std::clamp(font.pointSize() + points, 6, 40));
    m_text->setFont(font);
}

QString TextViewer::SuggestedName(const QString& suffix) const
{
    const QFileInfo info(m_fileName);
    const QString base = suffix.isEmpty() ? info.fileName() : info.completeBaseName() + suffix;
    return info.absoluteDir().filePath(base);
}

bool TextViewer::SaveAs(const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size() || !file.commit()) {
        QMessageBox::warning(this, windowTitle(), tr("Cannot save \"%1\": %2.").arg(path, file.errorString()));
        return false;
    }
    statusBar()->showMessage(tr("Saved as %1").arg(QDir::toNativeSeparators(path)), 5000);
    return true;
}

void TextViewer::PrintTo(QPrinter& printer)
{
    printer.setDocName(QFileInfo(m_fileName).fileName());
    m_text->Print(printer, m_fileName);
}

bool TextViewer::PrintToPdf(const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    PrintTo(printer);
    if (QFileInfo(path).size() <= 0) {
        QMessageBox::warning(this, windowTitle(), tr("Cannot write \"%1\".").arg(path));
        return false;
    }
    statusBar()->showMessage(tr("Printed to %1").arg(QDir::toNativeSeparators(path)), 5000);
    return true;
}

bool TextViewer::Find(const QString& text, bool backward)
{
    if (text.isEmpty() || !m_shown)
        return false;
    const Qt::CaseSensitivity sensitivity = m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString& all = m_text->Text();
    m_findStatus->clear();
    // Forward from the end of the selection (a match found before), backward
    // from before its start; then once round from the other end.
    const qsizetype before = m_text->SelectionStart() - 1;
    qsizetype at = backward ? (before < 0 ? -1 : all.lastIndexOf(text, before, sensitivity))
                            : all.indexOf(text, m_text->SelectionEnd(), sensitivity);
    if (at < 0) {
        at = backward ? all.lastIndexOf(text, -1, sensitivity) : all.indexOf(text, 0, sensitivity);
        if (at < 0) {
            m_findStatus->setText(tr("Cannot find \"%1\"").arg(text));
            return false;
        }
        m_findStatus->setText(backward ? tr("Went on from the end") : tr("Went on from the top"));
    }
    m_text->Select(at, at + text.size());
    return true;
}

void TextViewer::OnFind()
{
    if (!m_shown)
        return;
    const QString selected = m_text->SelectedText();
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
        m_findText->setText(selected);
    m_findBar->show();
    m_findText->setFocus();
    m_findText->selectAll();
}

void TextViewer::OnFindNext()
{
    if (m_findText->text().isEmpty()) {
        OnFind();
        return;
    }
    Find(m_findText->text(), false);
}

void TextViewer::OnFindPrevious()
{
    if (m_findText->text().isEmpty()) {
        OnFind();
        return;
    }
    Find(m_findText->text(), true);
}

void TextViewer::OnEscape()
{
    if (m_findBar->isVisible() && m_findBar->isAncestorOf(QApplication::focusWidget())) {
        m_findBar->hide();
        m_text->setFocus();
        return;
    }
    close();
}

void TextViewer::OnSaveAs()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save As"), SuggestedName(QString()));
    if (!path.isEmpty())
        SaveAs(path);
}

void TextViewer::OnPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print %1").arg(QFileInfo(m_fileName).fileName()));
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

void TextViewer::OnPrintToPdf()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Print to PDF"), SuggestedName(QStringLiteral(".pdf")),
                                                      tr("PDF files (*.pdf)"));
    if (!path.isEmpty())
        PrintToPdf(path);
}
