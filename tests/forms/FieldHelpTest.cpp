// F1 on the main case form, driven through its real widgets under the
// offscreen platform: the help text of each field, and the ingredient
// picker on an ingredient-ID field with the number going in and out.

#include <QApplication>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "CaseDlg.h"
#include "FormTestSupport.h"
#include "IngredientDlg.h"
#include "Resources.h"
#include "RunTable.h"
#include "TestSeam.h"
#include "WinApp.h"

namespace {

constexpr int kList = 1035;

int IdField(int row)
{
    return 1012 + row;
}

const char* const kGeneralHelp =
    "Press F1 in any field to get either help specific to that field or this generic help message.\n"
    "Note: Small weights may cause problems with Tharsel.  Zero weights are not allowed.";
const char* const kCpHelp =
    "Quadratic coefficients for solid specific heat.  Used with temperature difference to adjust the system "
    "enthalpy for heating or cooling.";

}  // namespace

class FieldHelpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void helpText_data();
    void helpText();
    void pickerOnAnIdField_data();
    void pickerOnAnIdField();
    void longLineKeepsTheNumbersOfLaterLines();
    void databaseChangedBetweenTwoPresses();
    void missingDatabaseLeavesTheFormOpenAndUnchanged();

private:
    CCaseDlg& Form() { return *m_form; }
    void FocusAndType(int id, const QString& text);
    void PressF1();

    std::unique_ptr<ScratchWorkingDirectory> m_work;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<CCaseDlg> m_form;
};

void FieldHelpTest::initTestCase()
{
    UseCLocaleForNumbers();
}

void FieldHelpTest::init()
{
    m_work = std::make_unique<ScratchWorkingDirectory>();
    QVERIFY(m_work->IsReady());
    m_boxes = std::make_unique<MessageBoxRecorder>();
    g_pickedIngredient = 0;
    m_form = std::make_unique<CCaseDlg>();
    m_form->Create();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void FieldHelpTest::cleanup()
{
    m_form.reset();
    m_boxes.reset();
    m_work.reset();
}

void FieldHelpTest::FocusAndType(int id, const QString& text)
{
    QVERIFY2(TypeInto(Form(), id, text), "the field did not take the focus");
}

void FieldHelpTest::PressF1()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
}

// Catches a text changed by a character (the two blanks, the trailing
// blanks of the density exponent, the missing full stop of the file name),
// the Cp fields given different texts, the general message missing a piece
// or its line break, or a box with another caption, icon or owner.
void FieldHelpTest::helpText_data()
{
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("text");

    QTest::newRow("1000 case file name")
        << 1000
        << "The name of the file to which the input and output will be saved.  Limited to 8 characters. Input "
           "file extension is .inp, output file extension is .out";
    QTest::newRow("1001 case title") << 1001
                                     << "The title that will be printed on each page of output.  Limited to 17 "
                                        "characters.";
    QTest::newRow("1002 number of components")
        << 1002 << "The number of ingredients in the propellant mixture.  Limited to 10.";
    QTest::newRow("1003 density exponent")
        << 1003 << "The density exponent used when calculating the density ISP, D-ISP.  ";
    QTest::newRow("1004 initial temperature")
        << 1004 << "Temperature of ingredients, in K.  Used for temperature conditioning effects.";
    QTest::newRow("1005 Cpa") << 1005 << kCpHelp;
    QTest::newRow("1006 Cpb") << 1006 << kCpHelp;
    QTest::newRow("1007 Cpc") << 1007 << kCpHelp;
    QTest::newRow("1033 chamber pressure")
        << 1033
        << "The pressure in the chamber, psia.  If making a parametric run, this is the base case chamber "
           "pressure.";
    QTest::newRow("1034 exhaust pressure")
        << 1034
        << "The pressure at the exhaust plane, psia.  If making a parametric run, this is the base case exhaust "
           "pressure.";
    QTest::newRow("weight field of row 1") << 1023 << kGeneralHelp;
    QTest::newRow("check box 1010") << 1010 << kGeneralHelp;
    QTest::newRow("Run button") << IDOK << kGeneralHelp;
    QTest::newRow("Parametric Run button") << 1037 << kGeneralHelp;
}

void FieldHelpTest::helpText()
{
    QFETCH(int, control);
    QFETCH(QString, text);
    Form().NextDlgCtl(control);
    QCOMPARE(Form().GetFocusId(), control);
    ModalDialogAnswerer pickers([](CDialog&) {});
    PressF1();
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    const MessageBoxRecord& box = m_boxes->Boxes().front();
    QCOMPARE(QString::fromStdString(box.text), text);
    QCOMPARE(box.caption, std::string("Help"));
    QCOMPARE(box.icon, MessageIcon::Information);
    QCOMPARE(box.owner, m_form.get());
    QCOMPARE(pickers.Count(), 0);
    QVERIFY(Form().IsOpen());
    QCOMPARE(Form().GetFocusId(), control);
}

// Catches the number passed in read otherwise than atoi reads it, the
// field rewritten on Cancel, not rewritten (or rewritten with the
// highlighted entry) on another close, a help box after the picker, a
// picker owned by another window, or only row 1 answered.
void FieldHelpTest::pickerOnAnIdField_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("preselected");
    QTest::addColumn<QString>("after");

    QTest::newRow("12, double-click on entry 7 writes 7") << 1 << "12" << 60 << "double 6" << 11 << "7";
    QTest::newRow("12, Cancel leaves 12") << 1 << "12" << 60 << "cancel" << 11 << "12";
    QTest::newRow("12, Enter straight after opening leaves 12") << 1 << "12" << 60 << "enter" << 11 << "12";
    QTest::newRow("12, click on entry 3 then Enter writes 12") << 1 << "12" << 60 << "click 2" << 11 << "12";
    QTest::newRow("empty passes 0 and selects entry 41, Enter in the list writes 0")
        << 1 << "" << 60 << "list enter" << 40 << "0";
    QTest::newRow("empty, Cancel leaves it empty") << 1 << "" << 60 << "cancel" << 40 << "";
    QTest::newRow("empty with 30 lines selects nothing") << 1 << "" << 30 << "list enter" << LB_ERR << "0";
    QTest::newRow("5abc passes 5, Enter in the list writes 5") << 1 << "5abc" << 60 << "list enter" << 4 << "5";
    QTest::newRow("blanks and +8 pass 8") << 1 << "  +8" << 60 << "list enter" << 7 << "8";
    QTest::newRow("-4 passes -4, Enter in the list writes -4") << 1 << "-4" << 60 << "list enter" << 40 << "-4";
    QTest::newRow("row 10, double-click on entry 1 writes 1") << 10 << "33" << 60 << "double 0" << 32 << "1";
}

void FieldHelpTest::pickerOnAnIdField()
{
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(int, lines);
    QFETCH(QString, way);
    QFETCH(int, preselected);
    QFETCH(QString, after);
    QVERIFY(m_work->WriteFile(kIngredientDatabase, NumberedLines(lines)));
    Form().EnableIngredientRows(10);
    FocusAndType(IdField(row), field);

    int templateId = 0;
    QWidget* owner = nullptr;
    int selected = -2;
    ModalDialogAnswerer answerer([&](CDialog& picker) {
        templateId = picker.Template().id;
        owner = picker.parentWidget();
        selected = picker.ListBoxGetCurSel(kList);
        const QStringList steps = way.split(' ');
        if (steps[0] == "double") {
            DoubleClickListEntry(picker, kList, steps[1].toInt());
        } else if (steps[0] == "cancel") {
            QTest::mouseClick(picker.GetDlgItem(IDCANCEL), Qt::LeftButton);
        } else if (steps[0] == "enter") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (steps[0] == "click") {
            ClickListEntry(picker, kList, steps[1].toInt());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (steps[0] == "list") {
            picker.NextDlgCtl(kList);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
    });
    PressF1();
    QCOMPARE(answerer.Count(), 1);
    QCOMPARE(templateId, IDD_INGREDIENT_DIALOG);
    QCOMPARE(owner, m_form.get());
    QCOMPARE(selected, preselected);
    QCOMPARE(QString::fromStdString(Form().GetDlgItemText(IdField(row))), after);
    QVERIFY(m_boxes->Boxes().empty());
    QVERIFY(Form().IsOpen());
    QCOMPARE(Form().GetFocusId(), IdField(row));
}

// Catches a long line split into two entries: the entry double-clicked
// after it would write a number one higher than its line's.
void FieldHelpTest::longLineKeepsTheNumbersOfLaterLines()
{
    QVERIFY(m_work->WriteFile(kIngredientDatabase, NumberedLines(1) + QByteArray(300, 'L') + "\n" + "line 3\n"
                                                       + "line 4\n"));
    FocusAndType(IdField(1), "3");
    std::string preselected;
    ModalDialogAnswerer answerer([&](CDialog& picker) {
        preselected = picker.ListBoxGetText(kList, picker.ListBoxGetCurSel(kList));
        DoubleClickListEntry(picker, kList, 3);
    });
    PressF1();
    QCOMPARE(preselected, std::string("line 3\n"));
    QCOMPARE(Form().GetDlgItemText(IdField(1)), std::string("4"));
}

// Catches the database read once and kept: the second press must show the
// file as it is then.
void FieldHelpTest::databaseChangedBetweenTwoPresses()
{
    QVERIFY(m_work->WriteFile(kIngredientDatabase, NumberedLines(3)));
    std::vector<std::string> seen;
    ModalDialogAnswerer answerer([&](CDialog& picker) {
        seen.push_back(std::to_string(picker.ListBoxGetCount(kList)) + " " + picker.ListBoxGetText(kList, 0));
        DoubleClickListEntry(picker, kList, picker.ListBoxGetCount(kList) - 1);
    });
    FocusAndType(IdField(1), "1");
    PressF1();
    QCOMPARE(Form().GetDlgItemText(IdField(1)), std::string("3"));
    QVERIFY(m_work->WriteFile(kIngredientDatabase, "changed\r\n" + NumberedLines(4, "\r\n")));
    PressF1();
    QCOMPARE(Form().GetDlgItemText(IdField(1)), std::string("5"));
    QCOMPARE(seen, (std::vector<std::string>{"3 ingredient 1\n", "5 changed\n"}));
}

// Catches the process ended (the test would not go on), the picker shown
// without its database, the field or other fields changed, a message other
// than the one error box, or the form left disabled behind a closed picker.
void FieldHelpTest::missingDatabaseLeavesTheFormOpenAndUnchanged()
{
    FocusAndType(1000, "keepme");
    FocusAndType(1001, "a title");
    FocusAndType(IdField(1), "12");
    // The box's owner is looked at while the box is up: the picker is gone
    // once F1 has been answered.
    std::vector<MessageBoxRecord> boxes;
    int ownerTemplate = 0;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRecord& box) {
        boxes.push_back(box);
        if (auto* dialog = dynamic_cast<CDialog*>(box.owner))
            ownerTemplate = dialog->Template().id;
        return IDOK;
    });
    ModalDialogAnswerer answerer([](CDialog&) {});
    ShownWindows windows;
    PressF1();
    SetMessageBoxHandler(previous);
    QVERIFY(!windows.Captions().contains("Ingredients"));

    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes.front().text, std::string("Error opening data file"));
    QCOMPARE(boxes.front().caption, std::string("Error"));
    QCOMPARE(boxes.front().icon, MessageIcon::None);
    QCOMPARE(ownerTemplate, IDD_INGREDIENT_DIALOG);
    QCOMPARE(answerer.Count(), 0);
    QVERIFY(Form().IsOpen());
    QVERIFY(Form().isVisible());
    QVERIFY(Form().isEnabled());
    QCOMPARE(Form().GetDlgItemText(IdField(1)), std::string("12"));
    QCOMPARE(Form().GetDlgItemText(1000), std::string("keepme"));
    QCOMPARE(Form().GetDlgItemText(1001), std::string("a title"));
    QCOMPARE(Form().GetFocusId(), IdField(1));
}

QTEST_MAIN(FieldHelpTest)
#include "FieldHelpTest.moc"
