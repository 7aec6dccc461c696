// The About box: what it shows, how it closes, and F1 in it.

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <memory>

#include "AboutDlg.h"
#include "CaseApp.h"
#include "DialogUnits.h"
#include "FormTestSupport.h"
#include "Resources.h"
#include "TestSeam.h"

class AboutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheTemplate();
    void closing_data();
    void closing();
    void f1ShowsNothingAndKeepsTheBox();
    void layoutFollowsTheTemplate();

private:
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<CAboutDlg> m_about;
};

void AboutDlgTest::init()
{
    m_boxes = std::make_unique<MessageBoxRecorder>();
    m_about = std::make_unique<CAboutDlg>();
    m_about->Create();
    QVERIFY(QTest::qWaitForWindowActive(m_about.get()));
}

void AboutDlgTest::cleanup()
{
    m_about.reset();
    m_boxes.reset();
}

// Catches a wrong caption, a missing icon or version line, or the focus
// elsewhere than on OK, the only tab stop.
void AboutDlgTest::showsTheTemplate()
{
    QCOMPARE(m_about->windowTitle(), QString("About wtharsel"));
    QCOMPARE(m_about->GetFocusId(), IDOK);
    QStringList texts;
    const QPixmap* icon = nullptr;
    for (QLabel* label : m_about->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
            icon = new QPixmap(label->pixmap());
        else
            texts << label->text();
    }
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->size(), QSize(32, 32));
    delete icon;
    QVERIFY(texts.contains("wTharsel Version 1.1"));
    QCOMPARE(texts.size(), 5);
}

// Catches OK, Enter, Esc or the Close box not closing the box, or closing
// it with the wrong result.
void AboutDlgTest::closing_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter") << "enter" << IDOK;
    QTest::newRow("OK clicked") << "click" << IDOK;
    QTest::newRow("Esc") << "esc" << IDCANCEL;
    QTest::newRow("Close box") << "close" << IDCANCEL;
}

void AboutDlgTest::closing()
{
    QFETCH(QString, way);
    QFETCH(int, result);
    if (way == "enter")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    else if (way == "click")
        QTest::mouseClick(m_about->GetDlgItem(IDOK), Qt::LeftButton);
    else if (way == "esc")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else
        m_about->close();
    QCOMPARE(m_about->Result(), result);
    QVERIFY(!m_about->isVisible());
}

// Catches F1 in a secondary dialog showing an error about a missing help
// file, opening a window, or closing the box: there is no help file, so
// F1 does nothing there.
void AboutDlgTest::f1ShowsNothingAndKeepsTheBox()
{
    CCaseApp app;
    const int windowsBefore = QApplication::topLevelWidgets().size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QTest::qWait(20);
    QVERIFY(m_boxes->Boxes().empty());
    QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
    QVERIFY(m_about->IsOpen());
    QCOMPARE(m_about->GetFocusId(), IDOK);
}

// Catches controls placed otherwise than the template says or a line that
// does not fit; the rendering is saved for a person to look at.
void AboutDlgTest::layoutFollowsTheTemplate()
{
    const QSize units = m_about->BaseUnits();
    QCOMPARE(m_about->size(), MapDialogRect(QRect(0, 0, 153, 66), units).size());
    QCOMPARE(m_about->GetDlgItem(IDOK)->geometry(), MapDialogRect(QRect(114, 7, 32, 14), units));
    const QStringList misfits = TextsThatDoNotFit(m_about.get());
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(" | ")));
    const QString path = SaveRendering(m_about.get(), "about-box");
    QVERIFY(!path.isEmpty());
    qInfo("About box rendered to %s", qPrintable(path));
}

QTEST_MAIN(AboutDlgTest)
#include "AboutDlgTest.moc"
