#include "MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

MessageBoxHandler& InstalledHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

MessageIcon IconOfType(unsigned type)
{
    switch (type & 0xF0) {
    case MB_ICONINFORMATION:
        return MessageIcon::Information;
    case MB_ICONEXCLAMATION:
        return MessageIcon::Exclamation;
    default:
        return MessageIcon::None;
    }
}

QMessageBox::Icon QtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

int MessageBoxEx(QWidget* owner, const std::string& text, const std::string& caption, unsigned type,
                 int /*languageId: the one button always reads "OK"*/)
{
    const MessageBoxRecord record{owner, text, caption, IconOfType(type)};
    if (InstalledHandler())
        return InstalledHandler()(record);

    QMessageBox box(QtIcon(record.icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, owner);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return IDOK;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(InstalledHandler());
    InstalledHandler() = std::move(handler);
    return previous;
}
