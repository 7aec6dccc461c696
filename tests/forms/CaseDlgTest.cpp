// The main case form driven through its real widgets under the offscreen
// platform: opening, the component count and its rows, typing limits,
// refusals, Run with fake external commands, closing and the About box.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "CaseDlg.h"
#include "DialogUnits.h"
#include "FormTestSupport.h"
#include "Resources.h"
#include "TestSeam.h"
#include "WinApp.h"

namespace {

constexpr int kCountField = 1002;
constexpr int kCpaField = 1005;

int IdField(int row)
{
    return 1012 + row;
}

int WeightField(int row)
{
    return 1022 + row;
}

}  // namespace

class CaseDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openingShowsTheDefaults();
    void openingAddsAboutToTheSystemMenuAndSetsTheIcon();
    void typingLimits_data();
    void typingLimits();
    void countLeftEnablesItsRows_data();
    void countLeftEnablesItsRows();
    void loweringTheCountKeepsRowValues();
    void refusedCountShowsOneMessage_data();
    void refusedCountShowsOneMessage();
    void laterRefusalStillMovesToRowOne();
    void emptyWeightInDisabledRowRefusesRun();
    void fieldGrammar_data();
    void fieldGrammar();
    void refusalCaptionIsTheExecutableName();
    void enterInAFieldRunsTheCaseAndTheFormStaysOpen();
    void failedCommandShowsAnError();
    void closing_data();
    void closing();
    void aboutBox_data();
    void aboutBox();
    void layoutFollowsTheTemplate();

private:
    CCaseDlg& Form() { return *m_form; }
    void Open();
    void TypeInto(int id, const QString& text);
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    std::vector<int> EnabledRows() const;

    std::unique_ptr<ScratchWorkingDirectory> m_work;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<CCaseDlg> m_form;
};

void CaseDlgTest::initTestCase()
{
    UseCLocaleForNumbers();
}

void CaseDlgTest::init()
{
    m_work = std::make_unique<ScratchWorkingDirectory>();
    QVERIFY(m_work->IsReady());
    m_boxes = std::make_unique<MessageBoxRecorder>();
    Open();
}

void CaseDlgTest::cleanup()
{
    m_form.reset();
    m_boxes.reset();
    m_work.reset();
}

void CaseDlgTest::Open()
{
    m_form = std::make_unique<CCaseDlg>();
    m_form->Create();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

// Moves the focus to field ID as the dialog manager does (its text
// selected), then types TEXT over it as a person would.
void CaseDlgTest::TypeInto(int id, const QString& text)
{
    QVERIFY2(::TypeInto(Form(), id, text), "the field did not take the focus");
}

void CaseDlgTest::Press(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused != nullptr);
    QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
}

std::vector<int> CaseDlgTest::EnabledRows() const
{
    std::vector<int> rows;
    for (int row = 1; row <= 10; ++row) {
        const bool id = m_form->IsDlgItemEnabled(IdField(row));
        const bool weight = m_form->IsDlgItemEnabled(WeightField(row));
        if (id != weight)
            return {-row};  // a row must never be half enabled
        if (id)
            rows.push_back(row);
    }
    return rows;
}

// Catches defaults shown with the wrong number form (298.0, 14.6960), a
// field left out of the opening exchange, rows 2 to 10 left enabled, the
// focus elsewhere than the case file name, or no setup file written.
void CaseDlgTest::openingShowsTheDefaults()
{
    const std::vector<std::pair<int, std::string>> shown = {
        {1000, ""}, {1001, ""}, {1002, "1"}, {1003, "1"}, {1004, "298"}, {1005, "0.3"}, {1006, "0"},
        {1007, "0"}, {1033, "1000"}, {1034, "14.696"},
    };
    for (const auto& [id, text] : shown)
        QCOMPARE(Form().GetDlgItemText(id), text);
    for (int row = 1; row <= 10; ++row) {
        QCOMPARE(Form().GetDlgItemText(IdField(row)), std::string("0"));
        QCOMPARE(Form().GetDlgItemText(WeightField(row)), std::string("0"));
    }
    for (int box = 1008; box <= 1012; ++box)
        QCOMPARE(Form().IsDlgButtonChecked(box), BST_UNCHECKED);
    QCOMPARE(EnabledRows(), std::vector<int>{1});
    QCOMPARE(Form().GetFocusId(), 1000);
    QCOMPARE(Form().windowTitle(), QString("wTharsel"));
    QVERIFY(m_work->Exists("setup.kal"));
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches the About entry missing, without its separator or with another
// command number, and an icon set at one size only.
void CaseDlgTest::openingAddsAboutToTheSystemMenuAndSetsTheIcon()
{
    QMenu* menu = Form().GetSystemMenu()->Popup();
    const QList<QAction*> actions = menu->actions();
    QVERIFY(actions.size() >= 2);
    QVERIFY(actions.at(actions.size() - 2)->isSeparator());
    QCOMPARE(actions.back()->text(), QString("&About wtharsel..."));
    QCOMPARE(actions.back()->data().toUInt(), IDM_ABOUTBOX);

    const QList<QSize> sizes = Form().windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(16, 16)));
}

// Catches typing limits not set by the opening exchange, or set on the
// wrong field.
void CaseDlgTest::typingLimits_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("ninth character refused by 1000") << 1000 << "abcdefghi" << "abcdefgh";
    QTest::newRow("seventeenth character refused by 1001")
        << 1001 << "sample case titleX" << "sample case titl";
}

void CaseDlgTest::typingLimits()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TypeInto(field, typed);
    QCOMPARE(QString::fromStdString(Form().GetDlgItemText(field)), kept);
    QVERIFY(Form().UpdateData(true));
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches a count taken only on Tab, rows not following it, or the focus
// left where the user clicked instead of the first ID field.
void CaseDlgTest::countLeftEnablesItsRows_data()
{
    QTest::addColumn<bool>("byClick");
    QTest::newRow("count 3 and Tab") << false;
    QTest::newRow("count 3 and a click into Cpa") << true;
}

void CaseDlgTest::countLeftEnablesItsRows()
{
    QFETCH(bool, byClick);
    TypeInto(kCountField, "3");
    if (byClick)
        QTest::mouseClick(Form().GetDlgItem(kCpaField), Qt::LeftButton);
    else
        Press(Qt::Key_Tab);
    QCOMPARE(EnabledRows(), (std::vector<int>{1, 2, 3}));
    QCOMPARE(Form().GetFocusId(), IdField(1));
    QCOMPARE(Form().Record().m_componentCount, 3);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches rows that lose their values when disabled, or disabled rows left
// out of the exchange.
void CaseDlgTest::loweringTheCountKeepsRowValues()
{
    TypeInto(kCountField, "5");
    Press(Qt::Key_Tab);
    for (int row = 3; row <= 5; ++row) {
        TypeInto(IdField(row), QString::number(10 + row));
        TypeInto(WeightField(row), QString::number(row) + ".5");
    }
    TypeInto(kCountField, "2");
    Press(Qt::Key_Tab);
    QCOMPARE(EnabledRows(), (std::vector<int>{1, 2}));
    for (int row = 3; row <= 5; ++row) {
        QCOMPARE(QString::fromStdString(Form().GetDlgItemText(IdField(row))), QString::number(10 + row));
        QCOMPARE(QString::fromStdString(Form().GetDlgItemText(WeightField(row))), QString::number(row) + ".5");
    }
    QVERIFY(Form().UpdateData(true));
    QCOMPARE(Form().Record().m_ingredientId[4], 15);
    QCOMPARE(Form().Record().m_ingredientWeight[2], 3.5);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches the endless repetition (the focus moved on from a refused count
// refuses it again), a second message, rows not following the count the
// record holds, or the focus not back in 1002 with its text selected.
void CaseDlgTest::refusedCountShowsOneMessage_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<int>>("rows");

    QTest::newRow("count 0 and Tab") << "0" << "Please enter an integer between 1 and 10." << std::vector<int>{};
    QTest::newRow("count 11 and Tab") << "11" << "Please enter an integer between 1 and 10."
                                      << std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("count abc and Tab") << "abc" << "Please enter an integer." << std::vector<int>{1};
}

void CaseDlgTest::refusedCountShowsOneMessage()
{
    QFETCH(QString, count);
    QFETCH(QString, message);
    QFETCH(std::vector<int>, rows);
    TypeInto(kCountField, count);
    Press(Qt::Key_Tab);
    QTest::qWait(50);  // a repetition would show further boxes meanwhile
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(m_boxes->Boxes().front().text), message);
    QCOMPARE(m_boxes->Boxes().front().icon, MessageIcon::Exclamation);
    QCOMPARE(m_boxes->Boxes().front().owner, m_form.get());
    QCOMPARE(EnabledRows(), rows);
    QCOMPARE(Form().GetFocusId(), kCountField);
    QCOMPARE(qobject_cast<QLineEdit*>(Form().GetDlgItem(kCountField))->selectedText(), count);
}

// Catches a refusal of a later field (an empty weight) keeping the focus
// there instead of moving it to row 1, or rows not following the new count.
void CaseDlgTest::laterRefusalStillMovesToRowOne()
{
    // Leaving the case file name takes the form too; leave it first.
    Form().NextDlgCtl(kCountField);
    Form().SetDlgItemText(WeightField(5), "");
    TypeInto(kCountField, "3");
    Press(Qt::Key_Tab);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().text, std::string("Please enter a number."));
    QCOMPARE(EnabledRows(), (std::vector<int>{1, 2, 3}));
    QCOMPARE(Form().GetFocusId(), IdField(1));
}

// Catches disabled rows left out of validation, or a Run that goes on
// after a refusal.
void CaseDlgTest::emptyWeightInDisabledRowRefusesRun()
{
    TypeInto(1000, "probe");
    TypeInto(1034, "14.7");
    Form().SetDlgItemText(WeightField(8), "");
    Press(Qt::Key_Return);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().text, std::string("Please enter a number."));
    QCOMPARE(Form().GetFocusId(), 1034);  // the disabled field cannot take it
    QVERIFY(m_work->CommandLog().isEmpty());
    QVERIFY(!m_work->Exists("probe.inp"));
    QVERIFY(Form().IsOpen());
}

// Catches a field grammar that differs from the toolkit's: trailing junk,
// "-0", ".5" in an integer field, "1e" in a real field, empty fields.
void CaseDlgTest::fieldGrammar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("integerAccepted");
    QTest::addColumn<int>("integer");
    QTest::addColumn<bool>("realAccepted");
    QTest::addColumn<double>("real");

    QTest::newRow("blanks around 12") << " 12 " << true << 12 << true << 12.0;
    QTest::newRow("+3") << "+3" << true << 3 << true << 3.0;
    QTest::newRow("-0 refused") << "-0" << false << 0 << false << 0.0;
    QTest::newRow("0") << "0" << true << 0 << true << 0.0;
    QTest::newRow("00") << "00" << true << 0 << true << 0.0;
    QTest::newRow(".5 real only") << ".5" << false << 0 << true << 0.5;
    QTest::newRow("1. real only") << "1." << false << 0 << true << 1.0;
    QTest::newRow("1e3 real only") << "1e3" << false << 0 << true << 1000.0;
    QTest::newRow("1e refused") << "1e" << false << 0 << false << 0.0;
    QTest::newRow("12abc refused") << "12abc" << false << 0 << false << 0.0;
    QTest::newRow("empty refused") << "" << false << 0 << false << 0.0;
    QTest::newRow("a tab refused") << "\t" << false << 0 << false << 0.0;
}

void CaseDlgTest::fieldGrammar()
{
    QFETCH(QString, text);
    QFETCH(bool, integerAccepted);
    QFETCH(int, integer);
    QFETCH(bool, realAccepted);
    QFETCH(double, real);

    Form().SetDlgItemText(IdField(1), text.toStdString());
    QCOMPARE(Form().UpdateData(true), integerAccepted);
    if (integerAccepted)
        QCOMPARE(Form().Record().m_ingredientId[0], integer);
    else
        QCOMPARE(m_boxes->Boxes().back().text, std::string("Please enter an integer."));
    Form().SetDlgItemText(IdField(1), "0");

    m_boxes->Clear();
    Form().SetDlgItemText(1004, text.toStdString());
    QCOMPARE(Form().UpdateData(true), realAccepted);
    if (realAccepted)
        QCOMPARE(Form().Record().m_initialTemperature, real);
    else
        QCOMPARE(m_boxes->Boxes().back().text, std::string("Please enter a number."));
}

// Catches a caption other than the running executable's name (a fixed
// "wtharsel", or the window title).
void CaseDlgTest::refusalCaptionIsTheExecutableName()
{
    Form().SetDlgItemText(1003, "x");
    QVERIFY(!Form().UpdateData(true));
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_boxes->Boxes().front().caption, std::string(TEST_EXECUTABLE_NAME));
}

// Catches Enter not reaching Run from a field, a Run that closes the form,
// or the commands run out of order or with the wrong case name.
void CaseDlgTest::enterInAFieldRunsTheCaseAndTheFormStaysOpen()
{
    TypeInto(1000, "probe");
    TypeInto(1034, "14.7");
    Press(Qt::Key_Return);
    QVERIFY(Form().IsOpen());
    QVERIFY(Form().isVisible());
    QCOMPARE(m_work->CommandLog(), (QStringList{"tharsel", "notepad probe.out"}));
    QVERIFY(!m_work->ReadFile("input.dat").isEmpty());
    QCOMPARE(m_work->ReadFile("probe.inp"), m_work->ReadFile("input.dat"));
    QVERIFY(m_boxes->Boxes().empty());
    QCOMPARE(Form().Record().m_exhaustPressure, 14.7);

    Press(Qt::Key_Return);
    QCOMPARE(m_work->CommandLog().size(), 4);
}

// Catches a failed command reported elsewhere than in an "Error" box owned
// by the form, or with an icon.
void CaseDlgTest::failedCommandShowsAnError()
{
    m_work->WriteFakeProgram("tharsel", 3);
    TypeInto(1000, "probe");
    Press(Qt::Key_Return);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    const MessageBoxRecord& box = m_boxes->Boxes().front();
    QCOMPARE(box.caption, std::string("Error"));
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(box.owner, m_form.get());
    QVERIFY(QString::fromStdString(box.text).contains("tharsel"));
    QCOMPARE(m_work->CommandLog(), (QStringList{"tharsel", "notepad probe.out"}));
}

// Catches a way out that does not cancel, or that takes or runs the case.
void CaseDlgTest::closing_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Esc in a field") << "esc";
    QTest::newRow("Exit button") << "exit";
    QTest::newRow("Close box") << "close";
    QTest::newRow("Close in the system menu") << "menu";
}

void CaseDlgTest::closing()
{
    QFETCH(QString, way);
    TypeInto(kCountField, "4");
    if (way == "esc") {
        Press(Qt::Key_Escape);
    } else if (way == "exit") {
        QTest::mouseClick(Form().GetDlgItem(IDCANCEL), Qt::LeftButton);
    } else if (way == "close") {
        Form().close();
    } else {
        Press(Qt::Key_Space, Qt::AltModifier);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(popup != nullptr);
        popup->actions().at(1)->trigger();
    }
    QCOMPARE(Form().Result(), IDCANCEL);
    QVERIFY(!Form().isVisible());
    QVERIFY(m_boxes->Boxes().empty());
    QVERIFY(m_work->CommandLog().isEmpty());
    if (way != "exit")  // the click on Exit leaves 1002 first, which takes the count
        QCOMPARE(Form().Record().m_componentCount, 1);
}

// Catches the two ways to the About box opening different boxes, a box not
// owned by the form or without the focus on OK, or the form changed by it.
void CaseDlgTest::aboutBox_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("About button") << false;
    QTest::newRow("Alt+Space and the About entry") << true;
}

void CaseDlgTest::aboutBox()
{
    QFETCH(bool, fromMenu);
    int templateId = 0;
    int focus = 0;
    QWidget* owner = nullptr;
    bool modal = false;
    ModalDialogAnswerer answerer([&](CDialog& about) {
        templateId = about.Template().id;
        focus = about.GetFocusId();
        owner = about.parentWidget();
        modal = QApplication::activeModalWidget() == &about;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    if (fromMenu) {
        Press(Qt::Key_Space, Qt::AltModifier);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(popup != nullptr);
        QTest::keyClick(popup, Qt::Key_Up);
        QTest::keyClick(popup, Qt::Key_Return);
    } else {
        QTest::mouseClick(Form().GetDlgItem(100), Qt::LeftButton);
    }
    QTRY_COMPARE(answerer.Count(), 1);
    QCOMPARE(templateId, IDD_ABOUTBOX);
    QCOMPARE(focus, IDOK);
    QCOMPARE(owner, m_form.get());
    QVERIFY(modal);
    QVERIFY(Form().IsOpen());
    QCOMPARE(Form().GetDlgItemText(kCountField), std::string("1"));
    QCOMPARE(EnabledRows(), std::vector<int>{1});
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches controls placed or sized otherwise than the template says, a
// label that does not fit its control, or a tab order not the template's.
// The rendering is saved for a person to look at.
void CaseDlgTest::layoutFollowsTheTemplate()
{
    const QSize units = Form().BaseUnits();
    QCOMPARE(Form().size(), MapDialogRect(QRect(0, 0, 338, 254), units).size());
    for (const ControlTemplate& control : kCaseDialogTemplate.controls) {
        if (control.id == IDC_STATIC)
            continue;
        QCOMPARE(Form().GetDlgItem(control.id)->geometry(),
                 MapDialogRect(QRect(control.x, control.y, control.cx, control.cy), units));
    }
    const QString path = SaveRendering(m_form.get(), "case-form");
    QVERIFY(!path.isEmpty());
    qInfo("main form rendered to %s", qPrintable(path));
    const QStringList misfits = TextsThatDoNotFit(m_form.get());
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(" | ")));

    // Tab from 1000 goes 1001, 1002, then row 1 (rows 2 to 10 are disabled),
    // then 1003, 1004, 1033, 1034, Run, Exit, the Cp fields, the boxes, About
    // and Parametric Run.
    Form().SetDlgItemText(kCountField, "10");
    std::vector<int> expected = {1001, 1002};
    for (int row = 1; row <= 10; ++row) {
        expected.push_back(IdField(row));
        expected.push_back(WeightField(row));
    }
    for (int id : {1003, 1004, 1033, 1034, IDOK, IDCANCEL, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 100,
                   1037, 1000})
        expected.push_back(id);
    std::vector<int> visited;
    Form().NextDlgCtl(1000);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        // Leaving 1002 moves the focus to 1013 itself, which is next anyway.
        Press(Qt::Key_Tab);
        visited.push_back(Form().GetFocusId());
    }
    QCOMPARE(visited, expected);
}

QTEST_MAIN(CaseDlgTest)
#include "CaseDlgTest.moc"
