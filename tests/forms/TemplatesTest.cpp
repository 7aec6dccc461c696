// The four dialog templates as the forms get them: every control where its
// template puts it, every text in full, and renderings to look at.

#include <QLineEdit>
#include <QTest>

#include "Dialog.h"
#include "DialogUnits.h"
#include "FormTestSupport.h"
#include "Resources.h"
#include "TestSeam.h"

Q_DECLARE_METATYPE(const DialogTemplate*)

class TemplatesTest : public QObject {
    Q_OBJECT

private slots:
    void templates_data();
    void templates();
    void parametricTabOrder();
};

void TemplatesTest::templates_data()
{
    QTest::addColumn<const DialogTemplate*>("dialogTemplate");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("controls");

    QTest::newRow("100 About box") << &kAboutDialogTemplate << "About wtharsel" << QSize(153, 66) << 7;
    QTest::newRow("102 main case form") << &kCaseDialogTemplate << "wTharsel" << QSize(338, 254) << 52;
    QTest::newRow("130 ingredient picker") << &kIngredientDialogTemplate << "Ingredients" << QSize(187, 133) << 2;
    QTest::newRow("131 parametric run form")
        << &kParametricDialogTemplate << "Parametric Parameters" << QSize(278, 235) << 87;
}

// Catches a template transcribed with a control missing or twice, a wrong
// caption or size, a control placed elsewhere than its numbers say, or a
// text that does not fit.
void TemplatesTest::templates()
{
    QFETCH(const DialogTemplate*, dialogTemplate);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(int, controls);

    QCOMPARE(static_cast<int>(dialogTemplate->controls.size()), controls);
    MessageBoxRecorder boxes;
    CDialog dialog(*dialogTemplate);
    dialog.Create();
    QCOMPARE(dialog.windowTitle(), caption);
    const QSize units = dialog.BaseUnits();
    QCOMPARE(dialog.size(), MapDialogRect(QRect(QPoint(), size), units).size());
    for (const ControlTemplate& control : dialogTemplate->controls) {
        if (control.id == IDC_STATIC || control.kind == ControlKind::ListBox
            || control.kind == ControlKind::StaticText)
            continue;  // list boxes round their height down, labels may widen
        QCOMPARE(dialog.GetDlgItem(control.id)->geometry(),
                 MapDialogRect(QRect(control.x, control.y, control.cx, control.cy), units));
    }
    const QStringList misfits = TextsThatDoNotFit(&dialog);
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(" | ")));
    QVERIFY(!SaveRendering(&dialog, QStringLiteral("template-%1").arg(dialogTemplate->id)).isEmpty());
}

// Catches the grid's tab order differing from the template's: the count,
// then the chamber cells, the exhaust cells and the mass cells row by row,
// then OK and Cancel; the read-only base case row is never visited.
void TemplatesTest::parametricTabOrder()
{
    MessageBoxRecorder boxes;
    CDialog dialog(kParametricDialogTemplate);
    dialog.Create();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const int chamber[] = {1003, 1015, 1022, 1029, 1036, 1043, 1050, 1057, 1064};
    std::vector<int> expected;
    for (int cell : chamber)
        expected.push_back(cell);
    for (int cell : chamber)
        expected.push_back(cell + 1);
    for (int row = 0; row < 9; ++row)
        for (int mass = 0; mass < 5; ++mass)
            expected.push_back(row == 0 ? 1010 + mass : chamber[row] + 2 + mass);
    expected.push_back(IDOK);
    expected.push_back(IDCANCEL);
    expected.push_back(1000);
    QCOMPARE(dialog.GetFocusId(), 1000);
    std::vector<int> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        visited.push_back(dialog.GetFocusId());
    }
    QCOMPARE(visited, expected);
    QVERIFY(qobject_cast<QLineEdit*>(dialog.GetDlgItem(1001))->isReadOnly());
}

QTEST_MAIN(TemplatesTest)
#include "TemplatesTest.moc"
