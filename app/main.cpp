#include "CaseApp.h"

namespace {

// The one application object.
CCaseApp theApp;

}  // namespace

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
