#pragma once

#include <string>

class QWidget;

// The application: exactly one object of a class derived from CWinApp, with
// static storage.  AfxWinMain starts the toolkit and calls its InitInstance.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE to end the application at once, TRUE to run the
    // toolkit's event loop until the last window closes.
    virtual bool InitInstance();
    // The process's exit status.
    virtual int ExitInstance();
    // The standard Help command, reached by F1 in a dialog that does not
    // answer it.  There is no help file, so it does nothing.
    virtual void OnHelp();

    // Dialogs and message boxes opened without an owner are owned by it.
    QWidget* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
QWidget* AfxGetMainWnd();
// The application's name, the caption of the toolkit's own message boxes:
// the running executable's file name without directory and extension.
std::string AfxGetAppName();

// Starts the toolkit (numbers in the C locale whatever the user's locale),
// runs the application object's InitInstance and returns the exit status.
int AfxWinMain(int argc, char** argv);

// Qt takes the process locale from the environment when it starts; the
// engine's files and the fields want the decimal point, so numbers go back
// to the C locale.
void UseCLocaleForNumbers();
