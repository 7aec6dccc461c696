#include <QApplication>
#include <QFile>
#include <QStringList>

#include "TextViewer.h"

// wtharsel-viewer WORD...: shows the file whose name is the words joined by
// one blank, as "notepad my case.out" shows "my case.out".
int main(int argc, char** argv)
{
    // The words are taken before Qt sees them, so that a file named like one
    // of Qt's own options ("-style") is still a file name.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QFile::decodeName(argv[i]);
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("wtharsel viewer"));

    TextViewer viewer;
    viewer.Open(TextViewer::FileNameFromWords(words));
    viewer.show();
    return application.exec();
}
