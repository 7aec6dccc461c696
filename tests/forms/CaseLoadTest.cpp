// Leaving the case file name field brings a saved case back, driven through
// the real main form under the offscreen platform.

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "CaseDlg.h"
#include "FormTestSupport.h"
#include "InputDeck.h"
#include "RunTable.h"
#include "TestSeam.h"
#include "WinApp.h"

namespace {

constexpr int kNameField = 1000;
constexpr int kTitleField = 1001;

int IdField(int row) { return 1012 + row; }
int WeightField(int row) { return 1022 + row; }

QByteArray Golden(const char* name)
{
    QFile file(QString(WTHARSEL_TEST_DATA) + "/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The example deck's lines, to be varied by the tests.
QList<QByteArray> ExampleLines()
{
    QList<QByteArray> lines = Golden("example-two-runs.deck").split('\n');
    lines.removeLast();  // after the last line end
    for (QByteArray& line : lines)
        line.chop(1);    // the CR
    return lines;
}

QByteArray Deck(const QList<QByteArray>& lines)
{
    QByteArray deck;
    for (const QByteArray& line : lines)
        deck += line + "\r\n";
    return deck;
}

void WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A run table with a recognisable run 1 and a stale run 2, as an earlier
// Run and parametric series would leave it.
RunTable EarlierTable()
{
    RunTable table;
    table.runCount = 4;
    table.chamberPressure[0] = 800.0;
    table.exhaustPressure[0] = 10.0;
    table.chamberPressure[1] = 111.0;
    for (int c = 0; c < kMaxComponents; ++c) {
        table.mass[c][0] = c + 1.0;
        table.mass[c][1] = 99.0;
        table.ingredientId[c] = 50 + c;
    }
    return table;
}

}  // namespace

class CaseLoadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void savedCaseFillsTheForm();
    void leavingAgainReloadsOverEdits();
    void oneRunTakesRunsTwoToTenFromTheTable();
    void twoRunsZeroTheUnusedComponents();
    void noSavedCasePassesInSilence();
    void emptyNameLooksForDotInp();
    void readOnlyCaseLoads();
    void malformedDeckChangesNothing_data();
    void malformedDeckChangesNothing();
    void refusalOnRunFromTheNameShowsOneMessage();
    void roundTripGivesTheSameDeck_data();
    void roundTripGivesTheSameDeck();

private:
    CCaseDlg& Form() { return *m_form; }
    void Open();
    void TypeInto(int id, const QString& text);
    void LeaveNameWith(const QString& name);
    std::vector<int> EnabledRows() const;
    QString Text(int id) const { return QString::fromStdString(m_form->GetDlgItemText(id)); }

    std::unique_ptr<ScratchWorkingDirectory> m_work;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<CCaseDlg> m_form;
};

void CaseLoadTest::initTestCase()
{
    UseCLocaleForNumbers();
}

void CaseLoadTest::init()
{
    g_runTable = EarlierTable();
    m_work = std::make_unique<ScratchWorkingDirectory>();
    QVERIFY(m_work->IsReady());
    m_boxes = std::make_unique<MessageBoxRecorder>();
    Open();
}

void CaseLoadTest::cleanup()
{
    m_form.reset();
    m_boxes.reset();
    m_work.reset();
    g_runTable = RunTable{};
}

void CaseLoadTest::Open()
{
    m_form = std::make_unique<CCaseDlg>();
    m_form->Create();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void CaseLoadTest::TypeInto(int id, const QString& text)
{
    QVERIFY2(::TypeInto(Form(), id, text), "the field did not take the focus");
}

// Types NAME into the case file name and leaves the field with Tab, as a
// user reopening a case does.
void CaseLoadTest::LeaveNameWith(const QString& name)
{
    TypeInto(kNameField, name);
    QTest::keyClick(Form().GetDlgItem(kNameField), Qt::Key_Tab);
    QCOMPARE(Form().GetFocusId(), kTitleField);
}

std::vector<int> CaseLoadTest::EnabledRows() const
{
    std::vector<int> rows;
    for (int row = 1; row <= 10; ++row) {
        if (m_form->IsDlgItemEnabled(IdField(row)))
            rows.push_back(row);
    }
    return rows;
}

// Catches a field left out, the title without its padding, the density
// exponent or temperature reformatted instead of shown as the deck has them,
// numbers not shown with %g, check boxes or option fields not following the
// option digits, rows not following the count.
void CaseLoadTest::savedCaseFillsTheForm()
{
    WriteFile("demo.inp", Golden("example-two-runs.deck"));
    Form().CheckDlgButton(1008, BST_CHECKED);
    QVERIFY(Form().UpdateData(true));
    QCOMPARE(Form().Record().m_deleteExitCalcs, 1);

    LeaveNameWith("demo");

    QCOMPARE(Text(kTitleField), QString("sample case     "));
    QCOMPARE(Text(1002), QString("3"));
    QCOMPARE(Text(1003), QString("1.000000    "));
    QCOMPARE(Text(1004), QString("298.000000  "));
    QCOMPARE(Text(1005), QString("0.3"));
    QCOMPARE(Text(1006), QString("0"));
    QCOMPARE(Text(1007), QString("0"));
    QCOMPARE(Text(IdField(1)), QString("12"));
    QCOMPARE(Text(IdField(2)), QString("345"));
    QCOMPARE(Text(IdField(3)), QString("7"));
    QCOMPARE(Text(WeightField(1)), QString("70"));
    QCOMPARE(Text(WeightField(2)), QString("18"));
    QCOMPARE(Text(WeightField(3)), QString("12"));
    QCOMPARE(Text(1033), QString("1000"));
    QCOMPARE(Text(1034), QString("14.696"));
    QCOMPARE(EnabledRows(), (std::vector<int>{1, 2, 3}));
    const int checked[5] = {BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(Form().IsDlgButtonChecked(1008 + i), checked[i]);
    const CaseRecord& record = Form().Record();
    QCOMPARE(record.m_deleteExitCalcs, 0);
    QCOMPARE(record.m_ionicSpecies, 1);
    QCOMPARE(record.m_boostAndNozzle, 0);
    QCOMPARE(record.m_pressureInAtm, 0);
    QCOMPARE(record.m_listAllSpecies, 1);
    QCOMPARE(g_runCount, 2);
    QCOMPARE(Text(kNameField), QString("demo"));
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches a loader that runs only when the name changed.
void CaseLoadTest::leavingAgainReloadsOverEdits()
{
    WriteFile("demo.inp", Golden("example-two-runs.deck"));
    LeaveNameWith("demo");
    TypeInto(kTitleField, "edited");
    TypeInto(1033, "2500");
    Form().NextDlgCtl(kNameField);
    QTest::keyClick(Form().GetDlgItem(kNameField), Qt::Key_Tab);
    QCOMPARE(Text(kTitleField), QString("sample case     "));
    QCOMPARE(Text(1033), QString("1000"));
}

// Catches runs beyond the count taken from the deck's run 1 instead of the
// table's, a stale run 2 kept, or rows beyond the count given new texts.
void CaseLoadTest::oneRunTakesRunsTwoToTenFromTheTable()
{
    QList<QByteArray> lines = ExampleLines();
    lines[2] = "    3    0    1";
    lines.removeLast();
    WriteFile("one.inp", Deck(lines));
    Form().SetDlgItemText(IdField(5), "15");  // rows beyond the count keep what they hold
    LeaveNameWith("one");

    QCOMPARE(EnabledRows(), (std::vector<int>{1, 2, 3}));
    QCOMPARE(g_runCount, 1);
    for (int r = 1; r < kMaxRuns; ++r) {
        QCOMPARE(g_chamberPressure[r], 800.0);
        QCOMPARE(g_exhaustPressure[r], 10.0);
        for (int c = 0; c < kMaxComponents; ++c)
            QCOMPARE(g_mass[c][r], c + 1.0);
    }
    QCOMPARE(g_chamberPressure[0], 800.0);  // run 1 is the table's own until the next Run
    QCOMPARE(g_ingredientId[0], 50);
    QCOMPARE(Text(IdField(5)), QString("15"));
}

void CaseLoadTest::twoRunsZeroTheUnusedComponents()
{
    WriteFile("demo.inp", Golden("example-two-runs.deck"));
    LeaveNameWith("demo");
    QCOMPARE(g_runCount, 2);
    QCOMPARE(g_chamberPressure[1], 1500.0);
    QCOMPARE(g_exhaustPressure[1], 14.696);
    QCOMPARE(g_mass[0][1], 68.5);
    QCOMPARE(g_mass[1][1], 19.5);
    QCOMPARE(g_mass[2][1], 12.0);
    for (int c = 3; c < kMaxComponents; ++c)
        QCOMPARE(g_mass[c][1], 0.0);
    for (int r = 2; r < kMaxRuns; ++r) {
        QCOMPARE(g_chamberPressure[r], 800.0);
        for (int c = 0; c < kMaxComponents; ++c)
            QCOMPARE(g_mass[c][r], c + 1.0);
    }
}

// Catches a message or a change when the typed name has no saved case.
void CaseLoadTest::noSavedCasePassesInSilence()
{
    TypeInto(kTitleField, "kept");
    LeaveNameWith("nothing");
    QCOMPARE(Text(kTitleField), QString("kept"));
    QVERIFY(m_boxes->Boxes().empty());
    QVERIFY(g_runTable == EarlierTable());
}

void CaseLoadTest::emptyNameLooksForDotInp()
{
    WriteFile(".inp", Golden("example-two-runs.deck"));
    Form().NextDlgCtl(kNameField);
    QTest::keyClick(Form().GetDlgItem(kNameField), Qt::Key_Tab);
    QCOMPARE(Text(kTitleField), QString("sample case     "));
}

// A saved case that cannot be written must still load: it is only read.
// The file is made immutable, which refuses opening for writing even to root.
void CaseLoadTest::readOnlyCaseLoads()
{
    WriteFile("locked.inp", Golden("example-two-runs.deck"));
    QFile::setPermissions("locked.inp", QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const bool immutable = QProcess::execute("chattr", {"+i", "locked.inp"}) == 0;
    if (!immutable && QFile("locked.inp").open(QIODevice::ReadWrite))
        QSKIP("this file system cannot make a file that refuses writing");

    LeaveNameWith("locked");
    if (immutable)
        QProcess::execute("chattr", {"-i", "locked.inp"});
    QCOMPARE(Text(kTitleField), QString("sample case     "));
    QCOMPARE(g_runCount, 2);
}

// A deck the writer cannot produce must not be half-loaded: one message box
// owned by the form, naming the file and the fault, and nothing changed.
void CaseLoadTest::malformedDeckChangesNothing_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("component count 11")
        << 3 << QByteArray("   11    0    2")
        << "The case bad.inp cannot be loaded: line 3: component count 11 is outside 1 to 10.";
    QTest::newRow("run count 0") << 3 << QByteArray("    3    0    0")
                                 << "The case bad.inp cannot be loaded: line 3: run count 0 is outside 1 to 10.";
    QTest::newRow("run line missing")
        << 10 << QByteArray()
        << "The case bad.inp cannot be loaded: line 10: missing; expected the line of run 2 of 2: 5 numbers "
           "(chamber pressure, exhaust pressure, 3 masses).";
    QTest::newRow("letters for a mass")
        << 9 << QByteArray("1000.000000 14.696000   lots        18.000000   12.000000")
        << "The case bad.inp cannot be loaded: line 9: expected the line of run 1 of 2: 5 numbers (chamber "
           "pressure, exhaust pressure, 3 masses); value 3 is not a number.";
}

void CaseLoadTest::malformedDeckChangesNothing()
{
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QList<QByteArray> lines = ExampleLines();
    if (text.isEmpty())
        lines.removeAt(line - 1);
    else
        lines[line - 1] = text;
    WriteFile("bad.inp", Deck(lines));
    TypeInto(kTitleField, "kept");

    LeaveNameWith("bad");

    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    const MessageBoxRecord& box = m_boxes->Boxes().front();
    QCOMPARE(QString::fromStdString(box.text), message);
    QCOMPARE(box.caption, std::string("Error"));
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(box.owner, m_form.get());
    QCOMPARE(Text(kTitleField), QString("kept"));
    QCOMPARE(Text(1002), QString("1"));
    QCOMPARE(Text(IdField(1)), QString("0"));
    QCOMPARE(EnabledRows(), std::vector<int>{1});
    QVERIFY(g_runTable == EarlierTable());
}

// Enter in the case file name runs the case; a refused field takes the focus
// away from the name, and that move must not run the loader, whose own
// taking would show the same refusal a second time.
void CaseLoadTest::refusalOnRunFromTheNameShowsOneMessage()
{
    Form().SetDlgItemText(1003, "x");
    TypeInto(kNameField, "probe");
    QTest::keyClick(Form().GetDlgItem(kNameField), Qt::Key_Return);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().text, std::string("Please enter a number."));
    QCOMPARE(Form().GetFocusId(), 1003);
    QVERIFY(m_work->CommandLog().isEmpty());
}

// Run a case, start a new form, reopen the case by its name and Run again:
// the two decks must be the same bytes, wide values that touch included.
void CaseLoadTest::roundTripGivesTheSameDeck_data()
{
    QTest::addColumn<QString>("chamber");
    QTest::newRow("1000 psia") << "1000";
    QTest::newRow("12000 psia, a value that touches the next") << "12000";
}

void CaseLoadTest::roundTripGivesTheSameDeck()
{
    QFETCH(QString, chamber);
    g_runTable = RunTable{};
    TypeInto(kNameField, "trip");
    TypeInto(kTitleField, "round trip");
    TypeInto(1002, "2");
    QTest::keyClick(Form().GetDlgItem(1002), Qt::Key_Tab);
    TypeInto(IdField(1), "41");
    TypeInto(WeightField(1), "68.5");
    TypeInto(IdField(2), "12345");
    TypeInto(WeightField(2), "31.5");
    TypeInto(1004, "233.15");
    TypeInto(1033, chamber);
    Form().CheckDlgButton(1010, BST_CHECKED);
    QTest::keyClick(Form().GetDlgItem(1033), Qt::Key_Return);
    const QByteArray first = m_work->ReadFile("trip.inp");
    QVERIFY(!first.isEmpty());
    QVERIFY(m_boxes->Boxes().empty());

    Open();
    LeaveNameWith("trip");
    QTest::keyClick(Form().GetDlgItem(kTitleField), Qt::Key_Return);
    QVERIFY(m_boxes->Boxes().empty());
    QCOMPARE(m_work->ReadFile("input.dat"), first);
    QCOMPARE(m_work->ReadFile("trip.inp"), first);
}

QTEST_MAIN(CaseLoadTest)
#include "CaseLoadTest.moc"
