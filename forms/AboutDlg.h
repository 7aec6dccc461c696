#pragma once

#include "Dialog.h"

// The About box: the icon, the name and version, four attribution lines and
// OK.  It shows what its template holds and changes nothing.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
