#include "FormTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "Dialog.h"

ScratchWorkingDirectory::ScratchWorkingDirectory() : m_previous(QDir::currentPath())
{
    m_ready = m_directory.isValid() && QDir::setCurrent(m_directory.path());
    WriteFakeProgram("tharsel");
    WriteFakeProgram("notepad");
}

ScratchWorkingDirectory::~ScratchWorkingDirectory()
{
    QDir::setCurrent(m_previous);
}

void ScratchWorkingDirectory::WriteFakeProgram(const QString& program, int status)
{
    QFile file(m_directory.filePath(program));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(QStringLiteral("#!/bin/sh\necho \"%1${1:+ $*}\" >> commands.log\nexit %2\n")
                   .arg(program)
                   .arg(status)
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList ScratchWorkingDirectory::CommandLog() const
{
    return QString::fromUtf8(ReadFile("commands.log")).split('\n', Qt::SkipEmptyParts);
}

QByteArray ScratchWorkingDirectory::ReadFile(const QString& name) const
{
    QFile file(m_directory.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ScratchWorkingDirectory::WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(m_directory.filePath(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool ScratchWorkingDirectory::Remove(const QString& name)
{
    return QFile::remove(m_directory.filePath(name));
}

bool ScratchWorkingDirectory::Exists(const QString& name) const
{
    return QFile::exists(m_directory.filePath(name));
}

namespace {

QString WithoutMnemonic(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove('&').replace('\x01', '&');
}

// The width a check box or button needs for its text, as its style says.
int NeededWidth(QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QSize text(button->fontMetrics().horizontalAdvance(WithoutMnemonic(button->text())),
                     button->fontMetrics().height());
    const QStyle::ContentsType type = qobject_cast<QCheckBox*>(button) ? QStyle::CT_CheckBox
                                                                       : QStyle::CT_PushButton;
    if (type == QStyle::CT_CheckBox) {
        const int indicator = button->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, button);
        const int spacing = button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, button);
        return indicator + spacing + text.width();
    }
    // A push button's frame needs a few pixels on either side.
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    return text.width() + margin;
}

}  // namespace

QStringList TextsThatDoNotFit(QWidget* window)
{
    QStringList misfits;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        const bool tallEnough = label->fontMetrics().height() <= label->contentsRect().height();
        const bool wraps = label->wordWrap() && label->heightForWidth(label->width()) > label->height();
        const bool inside = label->geometry().right() < window->width();
        if (needed > label->contentsRect().width() || !tallEnough || wraps || !inside)
            misfits << label->text();
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (NeededWidth(button) > button->width())
            misfits << button->text();
    }
    for (QGroupBox* box : window->findChildren<QGroupBox*>()) {
        if (box->fontMetrics().horizontalAdvance(box->title()) + 16 > box->width())
            misfits << box->title();
    }
    return misfits;
}

QString SaveRendering(QWidget* window, const QString& name)
{
    QDir().mkpath(WTHARSEL_RENDER_DIR);
    const QString path = QDir(WTHARSEL_RENDER_DIR).filePath(name + ".png");
    return window->grab().save(path) ? path : QString();
}

QByteArray NumberedLines(int count, const QByteArray& lineEnd)
{
    QByteArray lines;
    for (int n = 1; n <= count; ++n)
        lines += "ingredient " + QByteArray::number(n) + lineEnd;
    return lines;
}

namespace {

QListView* ListView(CDialog& dialog, int id)
{
    return qobject_cast<QListView*>(dialog.GetDlgItem(id));
}

// The centre of entry INDEX, scrolled into view.
QPoint EntryCentre(QListView* list, int index)
{
    const QModelIndex entry = list->model()->index(index, 0);
    list->scrollTo(entry);
    return list->visualRect(entry).center();
}

}  // namespace

void ClickListEntry(CDialog& dialog, int id, int index)
{
    QListView* list = ListView(dialog, id);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, EntryCentre(list, index));
}

void DoubleClickListEntry(CDialog& dialog, int id, int index)
{
    QListView* list = ListView(dialog, id);
    const QPoint centre = EntryCentre(list, index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

bool ListEntryInView(CDialog& dialog, int id, int index)
{
    QListView* list = ListView(dialog, id);
    const QRect entry = list->visualRect(list->model()->index(index, 0));
    return entry.isValid() && list->viewport()->rect().contains(entry);
}

ShownWindows::ShownWindows()
{
    qApp->installEventFilter(this);
}

ShownWindows::~ShownWindows()
{
    qApp->removeEventFilter(this);
}

bool ShownWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow())
            m_captions << widget->windowTitle();
    }
    return QObject::eventFilter(watched, event);
}

bool TypeInto(CDialog& dialog, int id, const QString& text)
{
    dialog.NextDlgCtl(id);
    if (dialog.GetFocusId() != id)
        return false;
    QWidget* field = dialog.GetDlgItem(id);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    return true;
}
