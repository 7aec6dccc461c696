#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "ReportView.h"
#include "TextViewer.h"

namespace {

// Runs HANDLE on the next modal dialog of type DIALOG once it is up.
template <typename Dialog>
void WhenDialogOpens(std::function<void(Dialog*)> handle)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handle, tries] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            handle(dialog);
        } else if (++*tries > 250) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(20);
}

int PdfPageCount(const QByteArray& pdf)
{
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1)) {
        if (pdf.mid(at + 11, 1) != "s")
            ++pages;
    }
    return pages;
}

}  // namespace

class TextViewerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_previousDirectory;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

    static QByteArray Report(int lines)
    {
        QByteArray text;
        for (int i = 1; i <= lines; ++i)
            text += QByteArray("   LINE") + QByteArray::number(i).rightJustified(6) + "   ALCL  ALCL2  alcl3   1.23456E-03\r\n";
        return text;
    }

    static ReportView* View(TextViewer& viewer) { return viewer.findChild<ReportView*>(QStringLiteral("text")); }
    static QAction* Action(TextViewer& viewer, const char* name)
    {
        return viewer.findChild<QAction*>(QLatin1String(name));
    }

    // A shown window with REPORT open, the view focused.
    void Show(TextViewer& viewer, const QString& file)
    {
        QVERIFY(viewer.Open(file));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        viewer.activateWindow();
        View(viewer)->setFocus();
        QTRY_VERIFY(View(viewer)->hasFocus());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_previousDirectory = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDirectory); }

    // Catches line ends shown as characters or as extra lines, text cut at a
    // NUL byte, Latin-1 bytes lost as replacement marks, and tabs that break
    // the columns.
    void opensTheTextAsItIs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF ends") << QByteArray("one\r\ntwo\r\n") << 3 << 1 << QStringLiteral("two");
        QTest::newRow("LF ends") << QByteArray("one\ntwo\n") << 3 << 1 << QStringLiteral("two");
        QTest::newRow("no final line end") << QByteArray("one\r\ntwo") << 2 << 1 << QStringLiteral("two");
        QTest::newRow("lone CR kept") << QByteArray("a\rb\r\n") << 2 << 0 << QStringLiteral("a\rb");
        QTest::newRow("UTF-8") << QByteArray("T = 298 \xc2\xb0K\n") << 2 << 0 << QStringLiteral("T = 298 \u00b0K");
        QTest::newRow("Latin-1") << QByteArray("T = 298 \xb0K\n") << 2 << 0 << QStringLiteral("T = 298 \u00b0K");
        QTest::newRow("NUL byte") << QByteArray("a\0b\n", 4) << 2 << 0 << QStringLiteral("a\u2400b");
        QTest::newRow("tab to column 8") << QByteArray("ab\tc\n") << 2 << 0 << QStringLiteral("ab      c");
        QTest::newRow("empty file") << QByteArray() << 1 << 0 << QString();
    }
    void opensTheTextAsItIs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QFETCH(int, line);
        QFETCH(QString, text);
        TextViewer viewer;
        QVERIFY(viewer.Open(Write(QStringLiteral("case.out"), bytes)));
        QVERIFY(viewer.IsShowingFile());
        QCOMPARE(View(viewer)->LineCount(), lines);
        QCOMPARE(View(viewer)->Line(line), text);
    }

    // Catches a title without the file's name.
    void titleNamesTheFile()
    {
        TextViewer viewer;
        viewer.Open(Write(QStringLiteral("demo.out"), "x\r\n"));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("demo.out - wtharsel viewer"));
    }

    // Catches a proportional font, which breaks the report's columns.
    void fontIsFixedPitch()
    {
        TextViewer viewer;
        const QFont font = View(viewer)->font();
        QVERIFY(QFontInfo(font).fixedPitch());
        const QFontMetrics metrics(font);
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
    }

    // Catches wrapped lines and a missing scroll bar: a wide, long report
    // keeps one line per line and scrolls both ways.
    void longLinesAreNotWrappedAndScrollBothWays()
    {
        QByteArray text = Report(500);
        text.prepend(QByteArray(400, '-') + "| column 401\r\n");
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("wide.out"), text));
        ReportView* view = View(viewer);
        QCOMPARE(view->LineCount(), 502);
        QCOMPARE(view->LongestLine(), 412);
        QVERIFY(view->horizontalScrollBar()->maximum() > 0);
        QVERIFY(view->verticalScrollBar()->maximum() > 0);

        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(view->CursorColumn(), 412);
        QVERIFY(view->FirstVisibleColumn() > 300);
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view->CursorLine(), 501);
        QVERIFY(view->FirstVisibleLine() > 400);
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(view->FirstVisibleLine(), 0);
        QCOMPARE(view->FirstVisibleColumn(), 0);
    }

    // Catches a cursor that the keys or the mouse do not move, a wrong
    // position in the status bar, and a selection that cannot be copied.
    void keysAndMouseMoveTheCursorAndSelect()
    {
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("keys.out"), "first line\r\nsecond\r\nthird line here\r\n"));
        ReportView* view = View(viewer);
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Right);
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(view->CursorLine(), 1);
        QCOMPARE(view->CursorColumn(), 2);
        QCOMPARE(viewer.findChild<QLabel*>(QStringLiteral("position"))->text(), QStringLiteral("Line 2, column 3"));
        QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(view->SelectedText(), QStringLiteral("cond"));
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("cond"));

        const QFontMetrics metrics(view->font());
        const int x = 4 + 6 * metrics.horizontalAdvance(QLatin1Char('0'));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(x, 2 * metrics.lineSpacing() + 2));
        QCOMPARE(view->CursorLine(), 2);
        QCOMPARE(view->CursorColumn(), 6);
    }

    // Catches a viewer that lets the report be changed.
    void typingChangesNothing()
    {
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("ro.out"), "report\r\n"));
        QTest::keyClicks(View(viewer), QStringLiteral("xyz"));
        QTest::keyClick(View(viewer), Qt::Key_Delete);
        QTest::keyClick(View(viewer), Qt::Key_Backspace);
        QCOMPARE(View(viewer)->Text(), QStringLiteral("report\n"));
    }

    // Catches a viewer that takes only the first word as the file name.
    void everyWordIsPartOfTheName_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("name");
        QTest::newRow("one word") << QStringList{"demo.out"} << QStringLiteral("demo.out");
        QTest::newRow("two words") << QStringList{"my", "case.out"} << QStringLiteral("my case.out");
        QTest::newRow("three words") << QStringList{"a", "b", "c.out"} << QStringLiteral("a b c.out");
        QTest::newRow("none") << QStringList{} << QString();
    }
    void everyWordIsPartOfTheName()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, name);
        QCOMPARE(TextViewer::FileNameFromWords(words), name);
    }

    // Catches a file whose name has a blank not opened.
    void fileWithABlankInItsNameOpens()
    {
        Write(QStringLiteral("my case.out"), "the report\r\n");
        TextViewer viewer;
        QVERIFY(viewer.Open(TextViewer::FileNameFromWords({"my", "case.out"})));
        QCOMPARE(View(viewer)->Line(0), QStringLiteral("the report"));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("my case.out - wtharsel viewer"));
    }

    // Catches a crash or an empty window where the file cannot be shown, and
    // file actions left on with nothing to act on.
    void fileThatCannotBeShownSaysWhy_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << QStringLiteral("never written.out")
                                 << QStringLiteral("Cannot show \"never written.out\": there is no such file in %1.");
        QTest::newRow("folder") << QStringLiteral("afolder")
                                << QStringLiteral("Cannot show \"afolder\": it is a folder, not a file.");
        QTest::newRow("too large") << QStringLiteral("huge.out")
                                   << QStringLiteral("Cannot show \"huge.out\": it holds 257 MB, and the viewer shows "
                                                     "files up to 256 MB.");
        QTest::newRow("no name") << QString()
                                 << QStringLiteral("No file was named. Start the viewer with the name of the file to show.");
    }
    void fileThatCannotBeShownSaysWhy()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QDir(m_dir.path()).mkpath(QStringLiteral("afolder"));
        QFile huge(m_dir.filePath(QStringLiteral("huge.out")));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(257LL * 1024 * 1024));  // sparse: no disk is used
        huge.close();

        TextViewer viewer;
        QVERIFY(!viewer.Open(name));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QCOMPARE(viewer.Problem(), problem.contains(QLatin1String("%1")) ? problem.arg(m_dir.path()) : problem);
        auto* label = viewer.findChild<QLabel*>(QStringLiteral("problem"));
        QVERIFY(label->isVisible());
        QVERIFY(!View(viewer)->isVisible());
        for (const char* action : {"saveAs", "print", "printToPdf", "find", "findNext"})
            QVERIFY2(!Action(viewer, action)->isEnabled(), action);
        QFile::remove(huge.fileName());
    }

    // Catches find keys that do nothing, a search that does not go on from
    // the last match, back, round the end, or with case, and a miss that
    // moves the selection.
    void findWithCtrlFAndF3()
    {
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("find.out"), Report(3)));
        ReportView* view = View(viewer);
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        auto* findText = viewer.findChild<QLineEdit*>(QStringLiteral("findText"));
        QVERIFY(findText->isVisible());
        QTRY_VERIFY(findText->hasFocus());
        QTest::keyClicks(findText, QStringLiteral("alcl2"));
        QTest::keyClick(findText, Qt::Key_Return);
        QCOMPARE(view->SelectedText(), QStringLiteral("ALCL2"));
        QCOMPARE(view->CursorLine(), 0);

        QTest::keyClick(findText, Qt::Key_F3);
        QCOMPARE(view->CursorLine(), 1);
        QTest::keyClick(findText, Qt::Key_F3);
        QTest::keyClick(findText, Qt::Key_F3);
        QCOMPARE(view->CursorLine(), 0);
        auto* status = viewer.findChild<QLabel*>(QStringLiteral("findStatus"));
        QCOMPARE(status->text(), QStringLiteral("Went on from the top"));
        QTest::keyClick(findText, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(view->CursorLine(), 2);

        viewer.findChild<QCheckBox*>(QStringLiteral("matchCase"))->setChecked(true);
        const qsizetype before = view->CursorPosition();
        QVERIFY(!viewer.Find(QStringLiteral("alcl2"), false));
        QCOMPARE(status->text(), QStringLiteral("Cannot find \"alcl2\""));
        QCOMPARE(view->CursorPosition(), before);
        QVERIFY(viewer.Find(QStringLiteral("alcl3"), false));
        QCOMPARE(view->SelectedText(), QStringLiteral("alcl3"));
    }

    // Catches Esc that closes the window from the find bar, and Esc or
    // Ctrl+W that do not close it.
    void escapeAndCtrlWClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
    }
    void escapeAndCtrlWClose()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("close.out"), "x\r\n"));
        QTest::keyClick(View(viewer), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!viewer.isVisible());
    }
    void escapeInTheFindBarClosesTheBarOnly()
    {
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("close.out"), "x\r\n"));
        QTest::keyClick(View(viewer), Qt::Key_F, Qt::ControlModifier);
        auto* findText = viewer.findChild<QLineEdit*>(QStringLiteral("findText"));
        QTRY_VERIFY(findText->hasFocus());
        QTest::keyClick(findText, Qt::Key_Escape);
        QVERIFY(viewer.isVisible());
        QVERIFY(!findText->isVisible());
        QTRY_VERIFY(View(viewer)->hasFocus());
        QTest::keyClick(View(viewer), Qt::Key_Escape);
        QVERIFY(!viewer.isVisible());
    }

    // Catches Save As that writes the text as shown (LF ends, decoded)
    // instead of the file's own bytes.
    void saveAsWritesTheBytesAsRead()
    {
        const QByteArray bytes = Report(5) + QByteArray("\xb0 no final line end", 18);
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("save.out"), bytes));
        const QString target = m_dir.filePath(QStringLiteral("kept copy.txt"));
        WhenDialogOpens<QFileDialog>([target](QFileDialog* dialog) {
            // Typed as a person types it: selectFile() is taken up only once
            // the dialog's file model has read the folder, which may be later.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(target);
            static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        });
        QTest::keyClick(View(viewer), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), bytes);
    }

    // Catches print to PDF that writes nothing, or one page whatever the
    // length, or that loses the report's lines.
    void printToPdfWritesPages_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("severalPages");
        QTest::newRow("a few lines, one page") << 3 << false;
        QTest::newRow("300 lines, several pages") << 300 << true;
    }
    void printToPdfWritesPages()
    {
        QFETCH(int, lines);
        QFETCH(bool, severalPages);
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("print.out"), Report(lines)));
        const QString target = m_dir.filePath(QStringLiteral("print.pdf"));
        QFile::remove(target);
        WhenDialogOpens<QFileDialog>([target](QFileDialog* dialog) {
            QCOMPARE(dialog->selectedFiles().value(0).endsWith(QLatin1String("print.pdf")), true);
            // Typed as a person types it: selectFile() is taken up only once
            // the dialog's file model has read the folder, which may be later.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(target);
            static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        });
        Action(viewer, "printToPdf")->trigger();
        QFile pdf(target);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray content = pdf.readAll();
        QVERIFY(content.startsWith("%PDF"));
        const int pages = PdfPageCount(content);
        if (severalPages)
            QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        else
            QCOMPARE(pages, 1);
    }

    // Catches a Print action that prints without asking, or has no dialog.
    void printAsksFirstAndCancelPrintsNothing()
    {
        TextViewer viewer;
        Show(viewer, Write(QStringLiteral("print.out"), Report(3)));
        QVERIFY(Action(viewer, "print")->shortcut() == QKeySequence::Print);
        bool asked = false;
        WhenDialogOpens<QPrintDialog>([&asked](QPrintDialog* dialog) {
            asked = true;
            dialog->reject();
        });
        QTest::keyClick(View(viewer), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(asked);
    }
};

QTEST_MAIN(TextViewerTest)
#include "TextViewerTest.moc"
