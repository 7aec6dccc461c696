#pragma once

#include <span>

// A dialog described as data: caption, size, font and styles, then its
// controls in order.  Positions and sizes are dialog units (see DialogUnits.h).
// The control order is the tab order of the controls that have WS_TABSTOP.

// Window styles of a dialog.
inline constexpr unsigned WS_POPUP = 1u << 0;
inline constexpr unsigned WS_VISIBLE = 1u << 1;
inline constexpr unsigned WS_CAPTION = 1u << 2;
inline constexpr unsigned WS_SYSMENU = 1u << 3;
inline constexpr unsigned DS_MODALFRAME = 1u << 4;
// Extended style: the dialog has a taskbar button of its own.
inline constexpr unsigned WS_EX_APPWINDOW = 1u << 0;

// Control styles.
inline constexpr unsigned WS_TABSTOP = 1u << 0;
inline constexpr unsigned WS_GROUP = 1u << 1;
inline constexpr unsigned WS_BORDER = 1u << 2;
inline constexpr unsigned WS_VSCROLL = 1u << 3;
inline constexpr unsigned WS_HSCROLL = 1u << 4;
inline constexpr unsigned WS_DISABLED = 1u << 5;
inline constexpr unsigned ES_AUTOHSCROLL = 1u << 6;
inline constexpr unsigned ES_READONLY = 1u << 7;
inline constexpr unsigned SS_NOPREFIX = 1u << 8;
inline constexpr unsigned LBS_NOTIFY = 1u << 9;
inline constexpr unsigned LBS_SORT = 1u << 10;
// A list box is as high as its template says, not rounded down to whole entries.
inline constexpr unsigned LBS_NOINTEGRALHEIGHT = 1u << 11;

// The control number of labels that no code addresses.
inline constexpr int IDC_STATIC = -1;

enum class ControlKind {
    Edit,           // single line, left-aligned
    StaticText,     // left-aligned one-line label, widened where its text needs it
    GroupBox,
    PushButton,
    DefPushButton,  // the push button Enter presses
    CheckBox,       // toggles itself when clicked
    ListBox,        // single selection, never sorted unless LBS_SORT
    StaticIcon,     // shows an icon at its natural size
};

// An icon as two 16-colour XPM images, 32 x 32 and 16 x 16.
struct IconResource {
    int id;
    const char* const* large;
    const char* const* small;
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
    const IconResource* icon = nullptr;  // StaticIcon only
};

struct DialogTemplate {
    int id;
    const char* caption;
    int x, y, cx, cy;
    const char* fontName;
    int pointSize;
    unsigned style;
    unsigned exStyle;
    std::span<const ControlTemplate> controls;
};
