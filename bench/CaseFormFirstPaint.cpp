// The application's own start (toolkit start, application object, main
// form run modally), with a probe that reports the form's first paint and
// then closes it as the Close box would.

#include <QApplication>

#include "CaseApp.h"
#include "FirstPaintProbe.h"

namespace {

long long g_launchedNs = 0;

class ProbedCaseApp : public CCaseApp {
public:
    bool InitInstance() override
    {
        FirstPaintProbe probe(g_launchedNs);
        qApp->installEventFilter(&probe);
        const bool result = CCaseApp::InitInstance();
        qApp->removeEventFilter(&probe);
        return result;
    }
};

ProbedCaseApp theApp;

}  // namespace

int main(int argc, char** argv)
{
    g_launchedNs = LaunchTimeFromArguments(argc, argv);
    return AfxWinMain(argc, argv);
}
