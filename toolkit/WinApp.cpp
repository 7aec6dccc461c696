#include "WinApp.h"

#include <QApplication>
#include <QFileInfo>

#include <clocale>

namespace {

CWinApp* g_theApp = nullptr;

}  // namespace

CWinApp::CWinApp()
{
    g_theApp = this;
}

CWinApp::~CWinApp()
{
    if (g_theApp == this)
        g_theApp = nullptr;
}

bool CWinApp::InitInstance()
{
    return true;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::OnHelp()
{
}

CWinApp* AfxGetApp()
{
    return g_theApp;
}

QWidget* AfxGetMainWnd()
{
    return g_theApp ? g_theApp->m_pMainWnd : nullptr;
}

std::string AfxGetAppName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

void UseCLocaleForNumbers()
{
    std::setlocale(LC_NUMERIC, "C");
}

int AfxWinMain(int argc, char** argv)
{
    QApplication application(argc, argv);
    UseCLocaleForNumbers();
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 0;
    if (app->InitInstance())
        application.exec();
    return app->ExitInstance();
}
