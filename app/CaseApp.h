#pragma once

#include "WinApp.h"

// The application: runs the main case form modally as its main window and
// ends when the form closes.
class CCaseApp : public CWinApp {
public:
    // Always FALSE: the form's modal loop is the application's only loop.
    bool InitInstance() override;
};
