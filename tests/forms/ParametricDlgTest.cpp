// The parametric run form driven through its real widgets under the
// offscreen platform: on its own for opening, the run count, refusals, OK
// and Cancel; and from the main form's Parametric Run button for the runs
// that follow, the headers and the whole deck.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CaseDlg.h"
#include "DialogUnits.h"
#include "FormTestSupport.h"
#include "ParametricDlg.h"
#include "Resources.h"
#include "RunTable.h"
#include "TestSeam.h"
#include "WinApp.h"

namespace {

constexpr int kRunCountField = 1000;
constexpr int kParametricRunButton = 1037;

// The seven cells of row ROW: chamber, exhaust, masses 1 to 5.
std::vector<int> RowCells(int row)
{
    std::vector<int> cells = {CParametricDlg::ChamberCell(row), CParametricDlg::ExhaustCell(row)};
    for (int j = 1; j <= 5; ++j)
        cells.push_back(CParametricDlg::MassCell(row, j));
    return cells;
}

QStringList RowTexts(const CDialog& form, int row)
{
    QStringList texts;
    for (int cell : RowCells(row))
        texts << QString::fromStdString(form.GetDlgItemText(cell));
    return texts;
}

QStringList AllRowTexts(const CDialog& form)
{
    QStringList texts;
    for (int row = 1; row <= 10; ++row)
        texts << RowTexts(form, row).join(' ');
    return texts;
}

// The enabled rows among 2 to 10; {-row} for a row that is half enabled.
std::vector<int> EnabledRows(const CDialog& form)
{
    std::vector<int> rows;
    for (int row = 2; row <= 10; ++row) {
        int enabled = 0;
        for (int cell : RowCells(row))
            enabled += form.IsDlgItemEnabled(cell) ? 1 : 0;
        if (enabled != 0 && enabled != 7)
            return {-row};
        if (enabled == 7)
            rows.push_back(row);
    }
    return rows;
}

std::vector<int> Rows(int first, int last)
{
    std::vector<int> rows;
    for (int row = first; row <= last; ++row)
        rows.push_back(row);
    return rows;
}

void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (QWidget* focused = QApplication::focusWidget())
        QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
}

// A table of four runs: run r has chamber 1000 + 100(r - 1), exhaust
// 14.696 + (r - 1), and component c mass 10c + r; ingredient c is 100 + c.
RunTable FourRunTable()
{
    RunTable table;
    table.runCount = 4;
    for (int run = 0; run < kMaxRuns; ++run) {
        table.chamberPressure[run] = 1000 + 100 * run;
        table.exhaustPressure[run] = 14.696 + run;
        for (int c = 0; c < kMaxComponents; ++c)
            table.mass[c][run] = 10 * (c + 1) + run + 1;
    }
    for (int c = 0; c < kMaxComponents; ++c)
        table.ingredientId[c] = 100 + c + 1;
    return table;
}

QStringList RunTexts(int run)
{
    QStringList texts = {QString::number(1000 + 100 * (run - 1)), QString::number(14.696 + (run - 1))};
    for (int c = 1; c <= 5; ++c)
        texts << QString::number(10 * c + run);
    return texts;
}

QByteArray GoldenFile(const QString& name)
{
    QFile file(QStringLiteral(WTHARSEL_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ParametricDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The form on its own, opened on a table of four runs.
    void openingWithOneRun();
    void openingWithFourRuns();
    void raisingTheCountEnablesRowsWithTheirTexts();
    void loweringTheCountStillWritesEveryRow();
    void refusedCountOnLeaving_data();
    void refusedCountOnLeaving();
    void acceptedCountAndRefusedCellOnLeaving();
    void cancelRestoresTheCountOnly_data();
    void cancelRestoresTheCountOnly();
    void sixSignificantDigitsShownAndStored();
    void componentsSixToTenNeverChange();
    void enterInTheCountFieldTakesTheCount();
    void enterInTheCountFieldWithARefusedCount_data();
    void enterInTheCountFieldWithARefusedCount();
    void refusedCellOnOkLeavesTheTable();
    void refusalsFollowTheExchangeOrder_data();
    void refusalsFollowTheExchangeOrder();
    void tabOrder_data();
    void tabOrder();
    void layoutFollowsTheTemplate();

    // From the main form.
    void parametricRunCopiesTheMainForm();
    void okRunsOnceWithTheRunCount();
    void enterWithANewCountRunsThatManyRuns();
    void headersWithFewerThanFiveComponents();
    void refusedMainFormFieldStillOpensTheForm();
    void exampleDeckByteForByte();

private:
    CParametricDlg& Form() { return *m_form; }
    void OpenForm(const RunTable& table);
    // The main form, with CASENAME typed into its case file name.
    void OpenMainForm(const QString& caseName = {});
    // Clicks Parametric Run on the main form and lets DRIVE act in the
    // parametric form as a person would; false when the form did not open.
    bool ParametricRun(const std::function<void(CDialog&)>& drive);
    // The case "probe" of one component ran once, its deck with RUNS runs.
    void ExpectOneRunWithRuns(int runs);

    std::unique_ptr<ScratchWorkingDirectory> m_work;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<CParametricDlg> m_form;
    std::unique_ptr<CCaseDlg> m_mainForm;
};

void ParametricDlgTest::initTestCase()
{
    UseCLocaleForNumbers();
}

void ParametricDlgTest::init()
{
    g_runTable = RunTable{};
    g_savedRunCount = 0;
    m_work = std::make_unique<ScratchWorkingDirectory>();
    QVERIFY(m_work->IsReady());
    m_boxes = std::make_unique<MessageBoxRecorder>();
}

void ParametricDlgTest::cleanup()
{
    m_form.reset();
    m_mainForm.reset();
    m_boxes.reset();
    m_work.reset();
}

void ParametricDlgTest::OpenForm(const RunTable& table)
{
    g_runTable = table;
    m_form = std::make_unique<CParametricDlg>();
    m_form->Create();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void ParametricDlgTest::OpenMainForm(const QString& caseName)
{
    m_mainForm = std::make_unique<CCaseDlg>();
    m_mainForm->Create();
    QVERIFY(QTest::qWaitForWindowActive(m_mainForm.get()));
    if (!caseName.isEmpty())
        TypeInto(*m_mainForm, 1000, caseName);
}

bool ParametricDlgTest::ParametricRun(const std::function<void(CDialog&)>& drive)
{
    ModalDialogAnswerer answerer([&](CDialog& form) {
        if (form.Template().id == IDD_PARAMETRIC_DIALOG)
            drive(form);
    });
    QTest::mouseClick(m_mainForm->GetDlgItem(kParametricRunButton), Qt::LeftButton);
    return answerer.Count() == 1;
}

void ParametricDlgTest::ExpectOneRunWithRuns(int runs)
{
    QCOMPARE(m_work->CommandLog(), (QStringList{"tharsel", "notepad probe.out"}));
    const QList<QByteArray> lines = m_work->ReadFile("input.dat").split('\n');
    QCOMPARE(lines.size(), 8 + runs + 1);  // the last line feed ends the last line
    QCOMPARE(lines.at(2), QByteArray("    1    0") + QByteArray::number(runs).rightJustified(5, ' ') + "\r");
}

// Catches a count other than the table's, rows 2 to 10 not the base case or
// left enabled, row 1 editable or a tab stop, headers left "Static", the
// saved count not set, or the focus elsewhere than the count.
void ParametricDlgTest::openingWithOneRun()
{
    RunTable table = FourRunTable();
    table.runCount = 1;
    OpenForm(table);
    QCOMPARE(Form().GetDlgItemText(kRunCountField), std::string("1"));
    for (int row = 1; row <= 10; ++row)
        QCOMPARE(RowTexts(Form(), row), RunTexts(1));
    QCOMPARE(EnabledRows(Form()), std::vector<int>{});
    for (int cell : RowCells(1)) {
        auto* edit = qobject_cast<QLineEdit*>(Form().GetDlgItem(cell));
        QVERIFY(edit->isReadOnly());
        QVERIFY(edit->isEnabled());
        QCOMPARE(edit->focusPolicy() & Qt::TabFocus, 0);
    }
    for (int j = 1; j <= 5; ++j)
        QCOMPARE(Form().GetDlgItemText(1070 + j), std::to_string(100 + j));
    QCOMPARE(g_savedRunCount, 1);
    QCOMPARE(Form().GetFocusId(), kRunCountField);
    QCOMPARE(Form().windowTitle(), QString("Parametric Parameters"));
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches rows 2 to 4 showing the base case, rows beyond the count showing
// the table's own runs, or the rows' states not following the count.
void ParametricDlgTest::openingWithFourRuns()
{
    OpenForm(FourRunTable());
    QCOMPARE(Form().GetDlgItemText(kRunCountField), std::string("4"));
    QCOMPARE(RowTexts(Form(), 1), RunTexts(1));
    for (int row = 2; row <= 4; ++row)
        QCOMPARE(RowTexts(Form(), row), RunTexts(row));
    for (int row = 5; row <= 10; ++row)
        QCOMPARE(RowTexts(Form(), row), RunTexts(1));
    QCOMPARE(EnabledRows(Form()), Rows(2, 4));
    QCOMPARE(g_savedRunCount, 4);
    QCOMPARE(g_runCount, 4);
}

// Catches leaving the count rewriting cells, rows 5 and 6 not enabled, or
// the run count not following the field.
void ParametricDlgTest::raisingTheCountEnablesRowsWithTheirTexts()
{
    OpenForm(FourRunTable());
    const QStringList before = AllRowTexts(Form());
    TypeInto(Form(), kRunCountField, "6");
    Press(Qt::Key_Tab);
    QCOMPARE(EnabledRows(Form()), Rows(2, 6));
    QCOMPARE(AllRowTexts(Form()), before);
    QCOMPARE(g_runCount, 6);
    QCOMPARE(g_savedRunCount, 4);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches disabled rows losing their texts, or OK writing only the rows up
// to the count instead of all ten.
void ParametricDlgTest::loweringTheCountStillWritesEveryRow()
{
    OpenForm(FourRunTable());
    TypeInto(Form(), CParametricDlg::MassCell(4, 2), "77.25");
    TypeInto(Form(), kRunCountField, "2");
    Press(Qt::Key_Tab);
    QCOMPARE(EnabledRows(Form()), Rows(2, 2));
    QCOMPARE(RowTexts(Form(), 3), RunTexts(3));
    QCOMPARE(g_runCount, 2);

    QTest::mouseClick(Form().GetDlgItem(IDOK), Qt::LeftButton);
    QCOMPARE(Form().Result(), IDOK);
    QCOMPARE(g_runCount, 2);
    QCOMPARE(g_chamberPressure[2], 1200.0);
    QCOMPARE(g_mass[0][2], 13.0);
    QCOMPARE(g_mass[1][3], 77.25);
    // Runs 5 to 10 showed the base case, and that is what OK wrote.
    for (int run = 5; run <= 10; ++run) {
        QCOMPARE(g_chamberPressure[run - 1], 1000.0);
        QCOMPARE(g_exhaustPressure[run - 1], 14.696);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(g_mass[c][run - 1], 10.0 * (c + 1) + 1);
    }
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches a refused count taken anyway (run count or rows changed), a
// second message, or the focus not back in the field with its text selected.
void ParametricDlgTest::refusedCountOnLeaving_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("message");
    QTest::newRow("count 11 refused") << "11" << "Please enter an integer between 1 and 10.";
    QTest::newRow("count 0 refused") << "0" << "Please enter an integer between 1 and 10.";
    QTest::newRow("count abc refused") << "abc" << "Please enter an integer.";
}

void ParametricDlgTest::refusedCountOnLeaving()
{
    QFETCH(QString, count);
    QFETCH(QString, message);
    OpenForm(FourRunTable());
    TypeInto(Form(), kRunCountField, count);
    Press(Qt::Key_Tab);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(m_boxes->Boxes().front().text), message);
    QCOMPARE(m_boxes->Boxes().front().icon, MessageIcon::Exclamation);
    QCOMPARE(m_boxes->Boxes().front().owner, m_form.get());
    QCOMPARE(Form().GetFocusId(), kRunCountField);
    QCOMPARE(qobject_cast<QLineEdit*>(Form().GetDlgItem(kRunCountField))->selectedText(), count);
    QCOMPARE(g_runCount, 4);
    QCOMPARE(EnabledRows(Form()), Rows(2, 4));
    QVERIFY(Form().IsOpen());
}

// Catches a count dropped because a cell after it was refused, or the
// message and focus going to the count instead of the cell.
void ParametricDlgTest::acceptedCountAndRefusedCellOnLeaving()
{
    OpenForm(FourRunTable());
    TypeInto(Form(), CParametricDlg::ExhaustCell(3), "1x");
    TypeInto(Form(), kRunCountField, "7");
    Press(Qt::Key_Tab);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().text, std::string("Please enter a number."));
    QCOMPARE(g_runCount, 7);
    QCOMPARE(EnabledRows(Form()), Rows(2, 7));
    QCOMPARE(Form().GetFocusId(), CParametricDlg::ExhaustCell(3));
}

// Catches Cancel keeping the changed count, writing the grid, or any way
// out that does not cancel.
void ParametricDlgTest::cancelRestoresTheCountOnly_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Esc in a cell") << "esc";
    QTest::newRow("Close box") << "close";
}

void ParametricDlgTest::cancelRestoresTheCountOnly()
{
    QFETCH(QString, way);
    const RunTable table = FourRunTable();
    OpenForm(table);
    TypeInto(Form(), kRunCountField, "6");
    Press(Qt::Key_Tab);
    QCOMPARE(g_runCount, 6);
    TypeInto(Form(), CParametricDlg::ChamberCell(5), "2500");
    if (way == "button")
        QTest::mouseClick(Form().GetDlgItem(IDCANCEL), Qt::LeftButton);
    else if (way == "esc")
        Press(Qt::Key_Escape);
    else
        Form().close();
    QCOMPARE(Form().Result(), IDCANCEL);
    QVERIFY(!Form().isVisible());
    QVERIFY(g_runTable == table);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches "%g" not used for the cells (123.4567 shown whole) or OK storing
// something other than what the cell shows.
void ParametricDlgTest::sixSignificantDigitsShownAndStored()
{
    RunTable table = FourRunTable();
    table.chamberPressure[2] = 123.4567;
    table.mass[4][2] = 123.4567;
    table.exhaustPressure[0] = 0.000012345;
    OpenForm(table);
    QCOMPARE(Form().GetDlgItemText(CParametricDlg::ChamberCell(3)), std::string("123.457"));
    QCOMPARE(Form().GetDlgItemText(CParametricDlg::MassCell(3, 5)), std::string("123.457"));
    QCOMPARE(Form().GetDlgItemText(CParametricDlg::ExhaustCell(1)), std::string("1.2345e-05"));
    Press(Qt::Key_Return);
    QCOMPARE(Form().Result(), IDOK);
    QCOMPARE(g_chamberPressure[2], 123.457);
    QCOMPARE(g_mass[4][2], 123.457);
}

// Catches the form writing masses or ingredient numbers of components 6 to
// 10, in any run.
void ParametricDlgTest::componentsSixToTenNeverChange()
{
    const RunTable table = FourRunTable();
    OpenForm(table);
    TypeInto(Form(), kRunCountField, "10");
    Press(Qt::Key_Tab);
    for (int row = 2; row <= 10; ++row)
        TypeInto(Form(), CParametricDlg::MassCell(row, 5), QString::number(row * 3));
    Press(Qt::Key_Return);
    QCOMPARE(Form().Result(), IDOK);
    QCOMPARE(g_mass[4][9], 30.0);
    for (int c = 5; c < kMaxComponents; ++c) {
        QCOMPARE(g_ingredientId[c], table.ingredientId[c]);
        for (int run = 0; run < kMaxRuns; ++run)
            QCOMPARE(g_mass[c][run], table.mass[c][run]);
    }
}

// Catches OK relying on the count having been left: Enter in field 1000
// must close with the count just typed.
void ParametricDlgTest::enterInTheCountFieldTakesTheCount()
{
    OpenForm(FourRunTable());
    TypeInto(Form(), kRunCountField, "3");
    QCOMPARE(Form().GetFocusId(), kRunCountField);
    Press(Qt::Key_Return);
    QCOMPARE(Form().Result(), IDOK);
    QCOMPARE(g_runCount, 3);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches a refused count closing the form, showing its message twice (by
// OK after leaving the field, or by OK's own taking), or reaching the run
// count or the table.
void ParametricDlgTest::enterInTheCountFieldWithARefusedCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("byClick");
    QTest::newRow("count 11 and Enter") << "11" << false;
    QTest::newRow("count 0 and Enter") << "0" << false;
    QTest::newRow("count 11 and a click on OK") << "11" << true;
}

void ParametricDlgTest::enterInTheCountFieldWithARefusedCount()
{
    QFETCH(QString, count);
    QFETCH(bool, byClick);
    const RunTable table = FourRunTable();
    OpenForm(table);
    TypeInto(Form(), CParametricDlg::ChamberCell(2), "1750");
    TypeInto(Form(), kRunCountField, count);
    if (byClick)
        QTest::mouseClick(Form().GetDlgItem(IDOK), Qt::LeftButton);
    else
        QTest::keyClick(Form().GetDlgItem(kRunCountField), Qt::Key_Return);
    QVERIFY(Form().IsOpen());
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().text, std::string("Please enter an integer between 1 and 10."));
    QCOMPARE(Form().GetFocusId(), kRunCountField);
    QVERIFY(g_runTable == table);
}

// Catches OK copying the grid before every field was accepted (the cells
// before the refused one reach the table), or the refusal shown twice.
void ParametricDlgTest::refusedCellOnOkLeavesTheTable()
{
    const RunTable table = FourRunTable();
    OpenForm(table);
    TypeInto(Form(), CParametricDlg::ChamberCell(2), "1750");
    TypeInto(Form(), CParametricDlg::MassCell(2, 1), "5.5");
    TypeInto(Form(), CParametricDlg::MassCell(4, 3), "");
    QTest::mouseClick(Form().GetDlgItem(IDOK), Qt::LeftButton);
    QVERIFY(Form().IsOpen());
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().text, std::string("Please enter a number."));
    QCOMPARE(Form().GetFocusId(), CParametricDlg::MassCell(4, 3));
    QVERIFY(g_runTable == table);

    // Mended, the same OK goes through.
    TypeInto(Form(), CParametricDlg::MassCell(4, 3), "8");
    QTest::mouseClick(Form().GetDlgItem(IDOK), Qt::LeftButton);
    QCOMPARE(Form().Result(), IDOK);
    QCOMPARE(g_chamberPressure[1], 1750.0);
    QCOMPARE(g_mass[0][1], 5.5);
    QCOMPARE(g_mass[2][3], 8.0);
}

// Catches an exchange in another order than the form's own: of two bad
// cells, the one exchanged first is the one refused.
void ParametricDlgTest::refusalsFollowTheExchangeOrder_data()
{
    QTest::addColumn<int>("later");
    QTest::addColumn<int>("earlier");
    QTest::newRow("pressure 1065 before mass 1017") << 1017 << 1065;
    QTest::newRow("row 3 mass 1019 before row 1 mass 1008") << 1008 << 1019;
    QTest::newRow("row 4 mass 1026 before row 2 mass 1010") << 1010 << 1026;
    QTest::newRow("row 1 mass 1008 before row 2 mass 1010") << 1010 << 1008;
    QTest::newRow("row 7 mass 1048 before row 1 mass 1005") << 1005 << 1048;
    QTest::newRow("row 1 mass 1005 before row 7 mass 1049") << 1049 << 1005;
    QTest::newRow("row 8 mass 1056 before row 1 mass 1006") << 1006 << 1056;
    QTest::newRow("row 1 mass 1006 before row 9 mass 1059") << 1059 << 1006;
    QTest::newRow("row 10 mass 1068 before row 1 mass 1007") << 1007 << 1068;
    QTest::newRow("row 1 mass 1007 before row 10 mass 1069") << 1069 << 1007;
    QTest::newRow("row 10 mass 1070 before row 10 mass 1066") << 1066 << 1070;
}

void ParametricDlgTest::refusalsFollowTheExchangeOrder()
{
    QFETCH(int, later);
    QFETCH(int, earlier);
    OpenForm(FourRunTable());
    // Row 1 and the disabled rows take no typing; their texts are put in.
    Form().SetDlgItemText(later, "bad");
    Form().SetDlgItemText(earlier, "bad");
    Press(Qt::Key_Return);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(Form().RefusedControl(), earlier);
    QVERIFY(Form().IsOpen());
}

// Catches a tab order other than the template's: the chamber cells, the
// exhaust cells, the masses row by row, OK, Cancel; never row 1 or a
// disabled row.
void ParametricDlgTest::tabOrder_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("ten runs") << 10;
    QTest::newRow("three runs") << 3;
    QTest::newRow("one run") << 1;
}

void ParametricDlgTest::tabOrder()
{
    QFETCH(int, count);
    RunTable table = FourRunTable();
    table.runCount = count;
    OpenForm(table);
    std::vector<int> expected;
    for (int row = 2; row <= count; ++row)
        expected.push_back(CParametricDlg::ChamberCell(row));
    for (int row = 2; row <= count; ++row)
        expected.push_back(CParametricDlg::ExhaustCell(row));
    for (int row = 2; row <= count; ++row) {
        for (int j = 1; j <= 5; ++j)
            expected.push_back(CParametricDlg::MassCell(row, j));
    }
    expected.insert(expected.end(), {IDOK, IDCANCEL, kRunCountField});
    std::vector<int> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Press(Qt::Key_Tab);
        visited.push_back(Form().GetFocusId());
    }
    QCOMPARE(visited, expected);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches cells placed off their grid row or column, a label that does not
// fit, or a dialog of another size.  The rendering is saved to look at.
void ParametricDlgTest::layoutFollowsTheTemplate()
{
    OpenForm(FourRunTable());
    const QSize units = Form().BaseUnits();
    QCOMPARE(Form().size(), MapDialogRect(QRect(0, 0, 278, 235), units).size());
    const int columnX[7] = {13, 73, 121, 148, 175, 202, 229};
    const int columnWidth[7] = {29, 29, 24, 24, 24, 24, 24};
    const int rowY[10] = {65, 85, 98, 111, 124, 137, 149, 162, 175, 188};
    for (int row = 1; row <= 10; ++row) {
        const std::vector<int> cells = RowCells(row);
        for (int column = 0; column < 7; ++column)
            QCOMPARE(Form().GetDlgItem(cells[column])->geometry(),
                     MapDialogRect(QRect(columnX[column], rowY[row - 1], columnWidth[column], 12), units));
    }
    QCOMPARE(Form().GetDlgItem(kRunCountField)->geometry(), MapDialogRect(QRect(74, 22, 27, 12), units));
    const QString path = SaveRendering(m_form.get(), "parametric-form");
    QVERIFY(!path.isEmpty());
    qInfo("parametric form rendered to %s", qPrintable(path));
    const QStringList misfits = TextsThatDoNotFit(m_form.get());
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(" | ")));
}

// Catches the button not taking the main form first (row 1 and the headers
// showing the old table), the form without the main form as owner, or a
// Cancel that runs the case.
void ParametricDlgTest::parametricRunCopiesTheMainForm()
{
    g_runTable = FourRunTable();
    OpenMainForm();
    CCaseDlg& main = *m_mainForm;
    TypeInto(main, 1013, "12");
    TypeInto(main, 1023, "70");
    TypeInto(main, 1033, "1200");
    TypeInto(main, 1034, "13.5");
    QStringList row1, row2, headers;
    QWidget* owner = nullptr;
    QVERIFY(ParametricRun([&](CDialog& form) {
        row1 = RowTexts(form, 1);
        row2 = RowTexts(form, 2);
        for (int j = 1; j <= 5; ++j)
            headers << QString::fromStdString(form.GetDlgItemText(1070 + j));
        owner = form.parentWidget();
        Press(Qt::Key_Escape);
    }));
    QCOMPARE(row1, (QStringList{"1200", "13.5", "70", "0", "0", "0", "0"}));
    QCOMPARE(row2, RunTexts(2));
    QCOMPARE(headers, (QStringList{"12", "0", "0", "0", "0"}));
    QCOMPARE(owner, m_mainForm.get());
    QCOMPARE(g_runCount, 4);
    QCOMPARE(g_chamberPressure[0], 1200.0);
    QCOMPARE(g_mass[0][0], 70.0);
    QCOMPARE(g_mass[6][0], 0.0);  // all ten weights are copied
    QVERIFY(m_work->CommandLog().isEmpty());
    QVERIFY(!m_work->Exists("input.dat"));
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches OK not running the case, running it twice, or a deck with another
// run count than the form's, or run 1 not from the main form.
void ParametricDlgTest::okRunsOnceWithTheRunCount()
{
    g_runTable = FourRunTable();
    OpenMainForm("probe");
    QVERIFY(ParametricRun([&](CDialog& form) {
        TypeInto(form, kRunCountField, "5");
        Press(Qt::Key_Tab);
        TypeInto(form, CParametricDlg::ChamberCell(5), "1555");
        QTest::mouseClick(form.GetDlgItem(IDOK), Qt::LeftButton);
    }));
    ExpectOneRunWithRuns(5);
    const QList<QByteArray> lines = m_work->ReadFile("input.dat").split('\n');
    QCOMPARE(lines.at(8), QByteArray("1000.000000 14.696000   0.000000    \r"));
    QCOMPARE(lines.at(11), QByteArray("1300.000000 17.696000   14.000000   \r"));
    // Row 5 was beyond the count at opening, so it started as the base case.
    QCOMPARE(lines.at(12), QByteArray("1555.000000 14.696000   0.000000    \r"));
    QVERIFY(m_mainForm->IsOpen());
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches Enter in the count field running the runs of the old count.
void ParametricDlgTest::enterWithANewCountRunsThatManyRuns()
{
    OpenMainForm("probe");
    QVERIFY(ParametricRun([&](CDialog& form) {
        TypeInto(form, kRunCountField, "3");
        Press(Qt::Key_Return);
    }));
    QCOMPARE(g_runCount, 3);
    ExpectOneRunWithRuns(3);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches headers taken from the rows in use only: with two components the
// five headers still show the ingredient numbers of rows 1 to 5.
void ParametricDlgTest::headersWithFewerThanFiveComponents()
{
    OpenMainForm();
    CCaseDlg& main = *m_mainForm;
    TypeInto(main, 1002, "5");
    Press(Qt::Key_Tab);
    TypeInto(main, 1013, "12");
    TypeInto(main, 1014, "345");
    TypeInto(main, 1015, "7");
    TypeInto(main, 1016, "44");
    TypeInto(main, 1002, "2");
    Press(Qt::Key_Tab);
    QStringList headers;
    QVERIFY(ParametricRun([&](CDialog& form) {
        for (int j = 1; j <= 5; ++j)
            headers << QString::fromStdString(form.GetDlgItemText(1070 + j));
    }));
    QCOMPARE(headers, (QStringList{"12", "345", "7", "44", "0"}));
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches Parametric Run stopping at a refused main-form field instead of
// going on with the record as far as it was taken.
void ParametricDlgTest::refusedMainFormFieldStillOpensTheForm()
{
    OpenMainForm();
    CCaseDlg& main = *m_mainForm;
    TypeInto(main, 1023, "64");
    TypeInto(main, 1033, "high");
    QStringList row1;
    QVERIFY(ParametricRun([&](CDialog& form) { row1 = RowTexts(form, 1); }));
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().text, std::string("Please enter a number."));
    // The weight came before the refused pressure; the pressure kept its value.
    QCOMPARE(row1, (QStringList{"1000", "14.696", "64", "0", "0", "0", "0"}));
    QVERIFY(m_work->CommandLog().isEmpty());
}

// Catches any difference from the deck a person gets by filling in the
// demo case with two runs on both forms: every byte of input.dat and of
// its copy demo.inp.
void ParametricDlgTest::exampleDeckByteForByte()
{
    OpenMainForm();
    CCaseDlg& main = *m_mainForm;
    // Tab selects the next field's text, so typing replaces it.
    TypeInto(main, 1000, "demo");
    const QStringList typed = {"sample case", "3", "12", "70", "345", "18", "7", "12"};
    for (const QString& text : typed) {
        Press(Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    QCOMPARE(main.GetFocusId(), 1025);
    QTest::mouseClick(main.GetDlgItem(1009), Qt::LeftButton);
    QTest::mouseClick(main.GetDlgItem(1012), Qt::LeftButton);
    QVERIFY(ParametricRun([&](CDialog& form) {
        // The count's text is selected at opening.
        QTest::keyClicks(form.GetDlgItem(kRunCountField), "2");
        // Tab looks for the next tab stop before row 2 is enabled, so it
        // lands on OK; the user clicks into row 2 instead.
        Press(Qt::Key_Tab);
        QCOMPARE(form.GetFocusId(), IDOK);
        QWidget* chamber = form.GetDlgItem(CParametricDlg::ChamberCell(2));
        QTest::mouseClick(chamber, Qt::LeftButton);
        QTest::keyClick(chamber, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(chamber, "1500");
        Press(Qt::Key_Tab);  // row 2's exhaust keeps the base case's 14.696
        Press(Qt::Key_Tab);
        QCOMPARE(form.GetFocusId(), CParametricDlg::MassCell(2, 1));
        QTest::keyClicks(QApplication::focusWidget(), "68.5");
        Press(Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), "19.5");
        Press(Qt::Key_Return);
    }));
    const QByteArray golden = GoldenFile("example-two-runs.deck");
    QVERIFY(!golden.isEmpty());
    QCOMPARE(m_work->ReadFile("input.dat"), golden);
    QCOMPARE(m_work->ReadFile("demo.inp"), golden);
    QCOMPARE(m_work->CommandLog(), (QStringList{"tharsel", "notepad demo.out"}));
    QVERIFY(m_boxes->Boxes().empty());
}

QTEST_MAIN(ParametricDlgTest)
#include "ParametricDlgTest.moc"
