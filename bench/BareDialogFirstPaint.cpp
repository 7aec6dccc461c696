// The yardstick: a bare Qt Widgets program that opens an empty dialog.

#include <QApplication>
#include <QDialog>

#include "FirstPaintProbe.h"

int main(int argc, char** argv)
{
    const long long launchedNs = LaunchTimeFromArguments(argc, argv);
    QApplication application(argc, argv);
    FirstPaintProbe probe(launchedNs);
    application.installEventFilter(&probe);
    QDialog dialog;
    dialog.resize(592, 413);
    return dialog.exec() == QDialog::Rejected ? 0 : 1;
}
