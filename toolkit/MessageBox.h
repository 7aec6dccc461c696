#pragma once

#include <functional>
#include <string>

class QWidget;

// Message box types.  Every box has one "OK" button.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;

// Dialog results and the commands of the buttons that give them.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// English, the language of the box's button.
inline constexpr int LANG_ENGLISH = 9;

enum class MessageIcon { None, Information, Exclamation };

struct MessageBoxRecord {
    QWidget* owner = nullptr;
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
};

// Shows a modal message box owned by OWNER (disabled while the box is open),
// with CAPTION, the icon of TYPE and one "OK" button.  Returns IDOK.
int MessageBoxEx(QWidget* owner, const std::string& text, const std::string& caption, unsigned type = MB_OK,
                 int languageId = LANG_ENGLISH);

// Tests answer the boxes instead of a person: while a handler is installed,
// MessageBoxEx hands it the box and returns its answer without showing
// anything.  Returns the handler it replaces; an empty handler shows boxes.
using MessageBoxHandler = std::function<int(const MessageBoxRecord&)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
