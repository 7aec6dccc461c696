#include "CaseApp.h"

#include <QApplication>

#include "CaseDlg.h"
#include "Resources.h"

bool CCaseApp::InitInstance()
{
    // Every window of the application, message boxes too, carries icon 128.
    QApplication::setWindowIcon(LoadIcon(kIcon128));
    CCaseDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
