#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QTextStream>

#include "ReportView.h"
#include "TextViewer.h"

// viewer_open_bench FILE [SCREENSHOT.png]: how long the viewer takes to open
// FILE and show it, to go to its end and to find "END OF REPORT" from the top; with a second
// argument, also a picture of the window once shown.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: viewer_open_bench FILE [SCREENSHOT.png]\n";
        return 2;
    }
    const QString file = arguments[1];
    QTextStream out(stdout);

    QElapsedTimer timer;
    timer.start();
    TextViewer viewer;
    const bool opened = viewer.Open(file);
    const qint64 openMs = timer.elapsed();
    viewer.show();
    if (!QTest::qWaitForWindowExposed(&viewer))
        return 3;
    QApplication::processEvents();
    const qint64 shownMs = timer.elapsed();

    if (arguments.size() > 2)
        viewer.grab().save(arguments[2]);

    auto* text = viewer.findChild<ReportView*>(QStringLiteral("text"));
    timer.restart();
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    const qint64 endMs = timer.elapsed();

    const QString lastLine = QStringLiteral("END OF REPORT");
    QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
    timer.restart();
    const bool found = viewer.Find(lastLine, false);
    const qint64 findMs = timer.elapsed();

    out << "file " << file << ": " << QFileInfo(file).size() << " bytes, " << text->LineCount() << " lines, "
        << (opened ? "opened" : "NOT opened") << "\n";
    out << "open (read, decode, lay out):  " << openMs << " ms\n";
    out << "open and first show:           " << shownMs << " ms\n";
    out << "Ctrl+End to the last line:     " << endMs << " ms\n";
    out << "find END OF REPORT from top:   " << findMs << " ms" << (found ? "" : " (NOT found)") << "\n";
    return opened && found ? 0 : 1;
}
