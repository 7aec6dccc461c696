// The application object: the main form run modally as the main window,
// the About box owned by it, and the end of the application.

#include <QApplication>
#include <QTest>

#include "CaseApp.h"
#include "CaseDlg.h"
#include "FormTestSupport.h"
#include "Resources.h"
#include "TestSeam.h"

class CaseAppTest : public QObject {
    Q_OBJECT

private slots:
    void initInstanceRunsTheFormAndReturnsFalse();
};

// Catches the form not run as the main window (dialogs without an owner
// would float free), InitInstance asking for an event loop of its own, a
// main-window pointer left dangling, or an exit status other than 0.
void CaseAppTest::initInstanceRunsTheFormAndReturnsFalse()
{
    ScratchWorkingDirectory work;
    QVERIFY(work.IsReady());
    CCaseApp app;
    int forms = 0;
    bool formWasMainWindow = false;
    bool aboutOwnedByForm = false;
    ModalDialogAnswerer answerer([&](CDialog& dialog) {
        if (dialog.Template().id == IDD_CASE_DIALOG) {
            ++forms;
            formWasMainWindow = AfxGetMainWnd() == &dialog;
            QTest::mouseClick(dialog.GetDlgItem(100), Qt::LeftButton);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else if (dialog.Template().id == IDD_ABOUTBOX) {
            aboutOwnedByForm = dialog.parentWidget() != nullptr && dialog.parentWidget() == AfxGetMainWnd();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
    });
    QCOMPARE(app.InitInstance(), false);
    QCOMPARE(forms, 1);
    QCOMPARE(answerer.Count(), 2);
    QVERIFY(formWasMainWindow);
    QVERIFY(aboutOwnedByForm);
    QCOMPARE(AfxGetMainWnd(), nullptr);
    QVERIFY(work.Exists("setup.kal"));
    QCOMPARE(app.ExitInstance(), 0);
}

QTEST_MAIN(CaseAppTest)
#include "CaseAppTest.moc"
