// The dialog toolkit driven through real widgets: templates and dialog
// units, keys, kill-focus notifications, data exchange and its refusals,
// typing limits, list boxes, the system menu and the test seams.

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "DataExchange.h"
#include "Dialog.h"
#include "DialogUnits.h"
#include "ListBox.h"
#include "TestSeam.h"
#include "WinApp.h"

namespace {

constexpr unsigned kEditStyle = WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;

constexpr ControlTemplate kProbeControls[] = {
    {10, ControlKind::Edit, "", 60, 7, 40, 12, kEditStyle},
    {11, ControlKind::Edit, "", 60, 23, 40, 12, kEditStyle},
    {12, ControlKind::Edit, "", 60, 39, 40, 12, kEditStyle},
    {13, ControlKind::CheckBox, "Tick me", 7, 55, 60, 10, WS_TABSTOP},
    {14, ControlKind::ListBox, "", 110, 7, 80, 50, WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY},
    {IDOK, ControlKind::DefPushButton, "&OK", 7, 80, 50, 14, WS_TABSTOP},
    {IDCANCEL, ControlKind::PushButton, "&Cancel", 67, 80, 50, 14, WS_TABSTOP},
    {15, ControlKind::PushButton, "O&ther", 127, 80, 50, 14, WS_TABSTOP},
    {IDC_STATIC, ControlKind::StaticText, "Count", 7, 9, 40, 8, 0},
    {16, ControlKind::Edit, "", 60, 62, 40, 12, WS_BORDER | ES_READONLY},
    {17, ControlKind::GroupBox, "Frame", 105, 0, 90, 62, 0},
    {18, ControlKind::StaticText, "Static", 130, 64, 18, 8, 0},
};

constexpr DialogTemplate kProbeTemplate = {
    900, "Probe", 0, 0, 200, 100, "MS Sans Serif", 8,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, kProbeControls,
};

// A template without a default button: Enter is IDOK all the same.
constexpr ControlTemplate kPlainControls[] = {
    {IDCANCEL, ControlKind::PushButton, "Cancel", 7, 7, 50, 14, WS_TABSTOP},
    {20, ControlKind::Edit, "", 7, 30, 50, 12, kEditStyle},
};
constexpr DialogTemplate kPlainTemplate = {
    901, "Plain", 0, 0, 100, 50, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0,
    kPlainControls,
};

// Two list boxes, one of them sorted.
constexpr ControlTemplate kListControls[] = {
    {30, ControlKind::ListBox, "", 7, 7, 80, 60, WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT},
    {31, ControlKind::ListBox, "", 100, 7, 80, 60, WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY},
};
constexpr DialogTemplate kListTemplate = {
    902, "Lists", 0, 0, 200, 80, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0,
    kListControls,
};

class ProbeDlg : public CDialog {
public:
    ProbeDlg() : CDialog(kProbeTemplate)
    {
        MapKillFocus(10, [this] {
            killed.push_back(10);
            if (takeOnLeavingCount)
                UpdateData(true);
        });
        MapKillFocus(11, [this] { killed.push_back(11); });
        MapKillFocus(12, [this] { killed.push_back(12); });
        MapClicked(15, [this] { ++otherClicks; });
        MapDoubleClicked(14, [this] { doubleClicked.push_back(ListBoxGetCurSel(14)); });
    }

    int m_count = 1;
    double m_real = 298.0;
    std::string m_text;
    int m_check = 0;

    std::vector<int> killed;
    std::vector<int> doubleClicked;
    std::vector<unsigned> sysCommands;
    int otherClicks = 0;
    int helpCalls = 0;
    bool takeOnLeavingCount = false;
    std::function<void()> onHelp;

protected:
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, 10, m_count);
        DDV_MinMaxInt(dx, m_count, 1, 10);
        DDX_Text(dx, 11, m_real);
        DDX_Text(dx, 12, m_text);
        DDV_MaxChars(dx, m_text, 8);
        DDX_Check(dx, 13, m_check);
    }
    bool OnHelpInfo() override
    {
        ++helpCalls;
        if (onHelp)
            onHelp();
        return true;
    }
    void OnSysCommand(unsigned id) override
    {
        sysCommands.push_back(id);
        CDialog::OnSysCommand(id);
    }
};

class PlainDlg : public CDialog {
public:
    PlainDlg() : CDialog(kPlainTemplate) {}
};

// A dialog that gives up while it opens, as one does whose data is missing.
class GivingUpDlg : public CDialog {
public:
    GivingUpDlg() : CDialog(kPlainTemplate) {}
    bool everShown = false;

protected:
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EndDialog(IDCANCEL);
        return false;
    }
    void showEvent(QShowEvent* event) override
    {
        everShown = true;
        CDialog::showEvent(event);
    }
};

class CountingApp : public CWinApp {
public:
    int helpCalls = 0;
    void OnHelp() override { ++helpCalls; }
};

QLineEdit* Edit(CDialog& dialog, int id)
{
    return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
}

void Type(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
}

void TypeInFocus(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused != nullptr);
    Type(focused, key, modifiers);
}

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlsFromTemplate();
    void dialogUnitsFromFont();
    void openingShowsFieldsAndFocusesFirstTabStop();
    void tabVisitsTabStopsInTemplateOrder();
    void enterRunsTheOkCommand_data();
    void enterRunsTheOkCommand();
    void enterWithoutDefaultButtonIsOk();
    void escapeAndCloseCancel();
    void refusals_data();
    void refusals();
    void takingStopsAtFirstRefusal();
    void programTextIsNotCutByTypingLimit();
    void typingLimitHoldsBackTypingAndPasting();
    void killFocusOnMovesInsideTheDialog();
    void noKillFocusWhenAnotherWindowOpens();
    void noKillFocusWhenTheDialogCloses();
    void noKillFocusWhenDisablingMovesTheFocus();
    void noKillFocusWhenARefusalMovesTheFocus();
    void clickTurnedBackByARefusalPressesNothing();
    void f1ReachesTheHandlerOrTheApplication();
    void systemMenuFromAltSpace();
    void systemMenuClose();
    void listBoxes();
    void sortedListBoxIgnoresCase();
    void entriesAddedToAShownListReachTheView();
    void listBoxShowsWholeEntries();
    void labelsSetAtRunTimeKeepTheirText();
    void checkBoxes();
    void disabledControlDoesNotTakeTheFocus();
    void modalSeamAnswersNestedDialogs();
    void dialogEndedWhileOpeningIsNeverShown();
    void messageBoxSeamRecordsTheBox();

private:
    std::unique_ptr<ProbeDlg> m_dialog;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    void OpenProbe();
};

void DialogTest::initTestCase()
{
    UseCLocaleForNumbers();
}

void DialogTest::init()
{
    m_boxes = std::make_unique<MessageBoxRecorder>();
}

void DialogTest::cleanup()
{
    m_dialog.reset();
    m_boxes.reset();
}

void DialogTest::OpenProbe()
{
    m_dialog = std::make_unique<ProbeDlg>();
    m_dialog->Create();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

// Catches controls missing their control number as objectName, of the wrong
// kind, or a group box drawn over the controls inside it.
void DialogTest::controlsFromTemplate()
{
    OpenProbe();
    ProbeDlg& dialog = *m_dialog;
    QCOMPARE(dialog.windowTitle(), QString("Probe"));
    QVERIFY(qobject_cast<QLineEdit*>(dialog.findChild<QWidget*>("10")));
    QVERIFY(qobject_cast<QCheckBox*>(dialog.findChild<QWidget*>("13")));
    QVERIFY(dynamic_cast<CListBox*>(dialog.findChild<QWidget*>("14")));
    auto* ok = qobject_cast<QPushButton*>(dialog.findChild<QWidget*>("1"));
    QVERIFY(ok && ok->isDefault());
    QVERIFY(Edit(dialog, 16)->isReadOnly());
    QCOMPARE(dialog.GetDlgItemText(IDOK), std::string("&OK"));
    // The group box is behind the list box it frames.
    QWidget* frame = dialog.GetDlgItem(17);
    QVERIFY(qobject_cast<QGroupBox*>(frame));
    QWidget* list = dialog.GetDlgItem(14);
    QWidget* hit = dialog.childAt(list->geometry().center());
    QVERIFY(hit == list || list->isAncestorOf(hit));
}

// Catches pixel positions taken straight from dialog units, a base unit
// not measured on the dialog's own font, or truncating instead of rounding.
void DialogTest::dialogUnitsFromFont()
{
    QCOMPARE(MapDialogRect(QRect(4, 8, 40, 12), QSize(6, 13)), QRect(6, 13, 60, 20));
    QCOMPARE(MapDialogRect(QRect(1, 1, 3, 3), QSize(6, 13)), QRect(2, 2, 5, 5));

    OpenProbe();
    const QSize units = m_dialog->BaseUnits();
    QCOMPARE(units, DialogBaseUnits(m_dialog->font()));
    const QFontMetrics metrics(m_dialog->font());
    QCOMPARE(units.height(), metrics.height());
    QVERIFY(units.width() >= metrics.averageCharWidth() - 2 && units.width() <= metrics.averageCharWidth() + 2);
    QCOMPARE(m_dialog->size(), MapDialogRect(QRect(0, 0, 200, 100), units).size());
    QCOMPARE(m_dialog->GetDlgItem(11)->geometry(), MapDialogRect(QRect(60, 23, 40, 12), units));
    QCOMPARE(m_dialog->font().pointSize(), 8);
}

// Catches an opening that skips the data exchange or leaves the focus
// nowhere, or an edit focused without its text selected.
void DialogTest::openingShowsFieldsAndFocusesFirstTabStop()
{
    OpenProbe();
    QCOMPARE(m_dialog->GetDlgItemText(10), std::string("1"));
    QCOMPARE(m_dialog->GetDlgItemText(11), std::string("298"));
    QCOMPARE(m_dialog->GetFocusId(), 10);
    QCOMPARE(Edit(*m_dialog, 10)->selectedText(), QString("1"));
    QVERIFY(m_dialog->IsOpen());
}

// Catches Qt's own creation order deciding the tab order, or a control
// without a tab stop (the read-only edit, labels) taking part in it.
void DialogTest::tabVisitsTabStopsInTemplateOrder()
{
    OpenProbe();
    const std::vector<int> forward = {11, 12, 13, 14, IDOK, IDCANCEL, 15, 10};
    for (int expected : forward) {
        TypeInFocus(Qt::Key_Tab);
        QCOMPARE(m_dialog->GetFocusId(), expected);
    }
    const std::vector<int> backward = {15, IDCANCEL, IDOK, 14, 13, 12, 11, 10};
    for (int expected : backward) {
        TypeInFocus(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(m_dialog->GetFocusId(), expected);
    }
}

// Catches Enter taken by the edit or the list, Enter on a focused button
// running OK instead of the button, or OK closing the dialog on a refusal.
void DialogTest::enterRunsTheOkCommand_data()
{
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("countText");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("otherClicks");

    QTest::newRow("in an edit: OK") << 11 << "3" << false << IDOK << 0;
    QTest::newRow("in the list: OK") << 14 << "3" << false << IDOK << 0;
    QTest::newRow("on the check box: OK") << 13 << "3" << false << IDOK << 0;
    QTest::newRow("on a push button: that button") << 15 << "3" << true << 0 << 1;
    QTest::newRow("on Cancel: cancel") << IDCANCEL << "3" << false << IDCANCEL << 0;
    QTest::newRow("refused field keeps it open") << 11 << "x" << true << 0 << 0;
}

void DialogTest::enterRunsTheOkCommand()
{
    QFETCH(int, focus);
    QFETCH(QString, countText);
    QFETCH(bool, stillOpen);
    QFETCH(int, result);
    QFETCH(int, otherClicks);
    OpenProbe();
    m_dialog->SetDlgItemText(10, countText.toStdString());
    m_dialog->NextDlgCtl(focus);
    QCOMPARE(m_dialog->GetFocusId(), focus);
    TypeInFocus(Qt::Key_Return);
    QCOMPARE(m_dialog->IsOpen(), stillOpen);
    QCOMPARE(m_dialog->Result(), result);
    QCOMPARE(m_dialog->otherClicks, otherClicks);
    if (result == IDOK)
        QCOMPARE(m_dialog->m_count, 3);
}

// Catches Enter doing nothing where no button carries IDOK.
void DialogTest::enterWithoutDefaultButtonIsOk()
{
    PlainDlg dialog;
    dialog.Create();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.NextDlgCtl(20);
    TypeInFocus(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(dialog.Result(), IDOK);
}

// Catches Esc or the Close box closing without IDCANCEL, or taking the
// fields on the way out.
void DialogTest::escapeAndCloseCancel()
{
    OpenProbe();
    m_dialog->SetDlgItemText(10, "7");
    TypeInFocus(Qt::Key_Escape);
    QCOMPARE(m_dialog->Result(), IDCANCEL);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->m_count, 1);

    OpenProbe();
    m_dialog->close();
    QCOMPARE(m_dialog->Result(), IDCANCEL);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->sysCommands, std::vector<unsigned>{SC_CLOSE});
}

// Catches a wrong or unfilled message, a box without the exclamation icon
// or the application's name, or the refused field left without the focus
// and its selected text.
void DialogTest::refusals_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("integer not an integer") << 10 << "abc" << "Please enter an integer.";
    QTest::newRow("integer empty") << 10 << "" << "Please enter an integer.";
    QTest::newRow("integer above range") << 10 << "11" << "Please enter an integer between 1 and 10.";
    QTest::newRow("integer below range") << 10 << "0" << "Please enter an integer between 1 and 10.";
    QTest::newRow("real not a number") << 11 << "1e" << "Please enter a number.";
    QTest::newRow("text too long") << 12 << "123456789" << "Please enter no more than 8 characters.";
}

void DialogTest::refusals()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    OpenProbe();
    m_dialog->SetDlgItemText(field, text.toStdString());
    m_dialog->NextDlgCtl(IDOK);
    QVERIFY(!m_dialog->UpdateData(true));
    QCOMPARE(m_dialog->RefusedControl(), field);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    const MessageBoxRecord& box = m_boxes->Boxes().front();
    QCOMPARE(QString::fromStdString(box.text), message);
    QCOMPARE(box.caption, std::string(TEST_EXECUTABLE_NAME));
    QCOMPARE(box.icon, MessageIcon::Exclamation);
    QCOMPARE(box.owner, m_dialog.get());
    QCOMPARE(m_dialog->GetFocusId(), field);
    QCOMPARE(Edit(*m_dialog, field)->selectedText(), text);
}

// Catches an exchange that goes on past a refusal, or one that does not
// store an out-of-range integer before refusing it.
void DialogTest::takingStopsAtFirstRefusal()
{
    OpenProbe();
    m_dialog->SetDlgItemText(10, "11");
    m_dialog->SetDlgItemText(11, "5");
    m_dialog->SetDlgItemText(12, "abc");
    QVERIFY(!m_dialog->UpdateData(true));
    QCOMPARE(m_dialog->m_count, 11);
    QCOMPARE(m_dialog->m_real, 298.0);
    QCOMPARE(m_dialog->m_text, std::string());

    m_dialog->SetDlgItemText(10, "4");
    m_dialog->SetDlgItemText(11, "zz");
    QVERIFY(!m_dialog->UpdateData(true));
    QCOMPARE(m_dialog->m_count, 4);
    QCOMPARE(m_dialog->m_text, std::string());
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(2));

    m_dialog->SetDlgItemText(11, "5");
    QVERIFY(m_dialog->UpdateData(true));
    QCOMPARE(m_dialog->RefusedControl(), 0);
    QCOMPARE(m_dialog->m_text, std::string("abc"));
}

// Catches a typing limit that cuts what the program puts in, which would
// make "no more than 8 characters" impossible to meet.
void DialogTest::programTextIsNotCutByTypingLimit()
{
    OpenProbe();
    m_dialog->SetDlgItemText(12, "123456789");
    QCOMPARE(m_dialog->GetDlgItemText(12), std::string("123456789"));
    // Typing on a text already over the limit adds nothing; deleting works.
    m_dialog->NextDlgCtl(12);
    QLineEdit* edit = Edit(*m_dialog, 12);
    edit->end(false);
    QTest::keyClicks(edit, "x");
    QCOMPARE(edit->text(), QString("123456789"));
    Type(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString("12345678"));
}

// Catches a limit that lets the ninth character in, cuts a paste to
// nothing, or replaces a selection wrongly.
void DialogTest::typingLimitHoldsBackTypingAndPasting()
{
    OpenProbe();
    QLineEdit* edit = Edit(*m_dialog, 12);
    m_dialog->NextDlgCtl(12);
    QTest::keyClicks(edit, "abcdefghij");
    QCOMPARE(edit->text(), QString("abcdefgh"));

    edit->clear();
    edit->insert("ABCDEFGHIJKL");  // what a paste does
    QCOMPARE(edit->text(), QString("ABCDEFGH"));

    edit->setSelection(2, 3);  // "CDE" replaced by a longer paste
    edit->insert("123456");
    QCOMPARE(edit->text(), QString("AB123FGH"));
    QCOMPARE(edit->cursorPosition(), 5);

    // Another field has no limit.
    QTest::keyClicks(Edit(*m_dialog, 11), "1234567890");
    QCOMPARE(Edit(*m_dialog, 11)->text().size(), 13);
}

// Catches notifications that miss a Tab, a click or a programmatic move,
// or that name the control gaining the focus instead of the one losing it.
void DialogTest::killFocusOnMovesInsideTheDialog()
{
    OpenProbe();
    TypeInFocus(Qt::Key_Tab);
    QCOMPARE(m_dialog->killed, std::vector<int>{10});
    QTest::mouseClick(m_dialog->GetDlgItem(12), Qt::LeftButton);
    QCOMPARE(m_dialog->GetFocusId(), 12);
    QCOMPARE(m_dialog->killed, (std::vector<int>{10, 11}));
    m_dialog->NextDlgCtl(10);
    QCOMPARE(m_dialog->killed, (std::vector<int>{10, 11, 12}));
    QCOMPARE(Edit(*m_dialog, 10)->selectedText(), QString("1"));
}

// Catches a notification when the focus leaves for another window: a nested
// modal dialog opened by F1 takes the focus and gives it back.
void DialogTest::noKillFocusWhenAnotherWindowOpens()
{
    OpenProbe();
    int nestedSeen = 0;
    ModalDialogAnswerer answerer([&](CDialog& nested) {
        nestedSeen = QApplication::focusWidget() && QApplication::focusWidget()->window() == &nested;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    m_dialog->onHelp = [] {
        PlainDlg nested;
        QCOMPARE(nested.DoModal(), IDCANCEL);
    };
    TypeInFocus(Qt::Key_F1);
    QCOMPARE(answerer.Count(), 1);
    QCOMPARE(nestedSeen, 1);
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    QCOMPARE(m_dialog->GetFocusId(), 10);
    QVERIFY(m_dialog->killed.empty());
}

// Catches a notification for the focused field while the dialog closes,
// which would validate a form that is being cancelled.
void DialogTest::noKillFocusWhenTheDialogCloses()
{
    OpenProbe();
    m_dialog->NextDlgCtl(11);
    m_dialog->killed.clear();
    TypeInFocus(Qt::Key_Escape);
    QCOMPARE(m_dialog->Result(), IDCANCEL);
    QVERIFY(m_dialog->killed.empty());
}

// Catches disabling the focused field (Qt moves the focus on) reported as
// the user leaving it.
void DialogTest::noKillFocusWhenDisablingMovesTheFocus()
{
    OpenProbe();
    m_dialog->NextDlgCtl(11);
    m_dialog->killed.clear();
    m_dialog->EnableDlgItem(11, false);
    QVERIFY(!m_dialog->IsDlgItemEnabled(11));
    QVERIFY(m_dialog->killed.empty());
}

// Catches the focus move of a refused field reported as leaving the field
// that had the focus: its handler would take the fields again and show the
// same refusal a second time.
void DialogTest::noKillFocusWhenARefusalMovesTheFocus()
{
    OpenProbe();
    m_dialog->takeOnLeavingCount = true;
    m_dialog->SetDlgItemText(11, "zz");
    QCOMPARE(m_dialog->GetFocusId(), 10);
    QVERIFY(!m_dialog->UpdateData(true));
    QCOMPARE(m_dialog->GetFocusId(), 11);
    QVERIFY(m_dialog->killed.empty());
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
}

// Catches a button that still runs its command after leaving the focused
// field was refused on the way to it: the refusal would be followed by the
// button's own taking and a second message, or by its action.
void DialogTest::clickTurnedBackByARefusalPressesNothing()
{
    OpenProbe();
    m_dialog->takeOnLeavingCount = true;
    m_dialog->SetDlgItemText(10, "0");
    QTest::mouseClick(m_dialog->GetDlgItem(15), Qt::LeftButton);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
    QCOMPARE(m_dialog->GetFocusId(), 10);
    QCOMPARE(m_dialog->otherClicks, 0);
    QTest::mouseClick(m_dialog->GetDlgItem(IDOK), Qt::LeftButton);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(2));
    QVERIFY(m_dialog->IsOpen());

    // Corrected, the next click goes through.
    m_dialog->SetDlgItemText(10, "3");
    QTest::mouseClick(m_dialog->GetDlgItem(15), Qt::LeftButton);
    QCOMPARE(m_dialog->otherClicks, 1);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(2));
}

// Catches F1 lost, or a dialog without a help handler not reaching the
// application's Help command.
void DialogTest::f1ReachesTheHandlerOrTheApplication()
{
    OpenProbe();
    TypeInFocus(Qt::Key_F1);
    QCOMPARE(m_dialog->helpCalls, 1);

    CountingApp app;
    PlainDlg plain;
    plain.Create();
    QVERIFY(QTest::qWaitForWindowActive(&plain));
    TypeInFocus(Qt::Key_F1);
    QCOMPARE(app.helpCalls, 1);
    QVERIFY(plain.IsOpen());
}

// Catches a system menu without Move and Close, appended entries that do
// not reach OnSysCommand with their numbers, or Alt+Space typed as a blank.
void DialogTest::systemMenuFromAltSpace()
{
    OpenProbe();
    CMenu* menu = m_dialog->GetSystemMenu();
    QVERIFY(menu != nullptr);
    QVERIFY(menu->AppendMenu(MF_SEPARATOR));
    QVERIFY(menu->AppendMenu(MF_STRING, 16, "&Probe entry"));
    m_dialog->NextDlgCtl(12);
    TypeInFocus(Qt::Key_Space, Qt::AltModifier);
    QCOMPARE(m_dialog->GetDlgItemText(12), std::string());
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    QStringList texts;
    for (QAction* action : popup->actions())
        texts << (action->isSeparator() ? QString("-") : action->text());
    QCOMPARE(texts, (QStringList{"&Move", "&Close\tAlt+F4", "-", "&Probe entry"}));
    QTest::keyClick(popup, Qt::Key_Up);
    QTest::keyClick(popup, Qt::Key_Return);
    QTRY_COMPARE(m_dialog->sysCommands, std::vector<unsigned>{16});
    QVERIFY(m_dialog->IsOpen());
}

// Catches the menu's Close not ending the dialog as the Close box does.
void DialogTest::systemMenuClose()
{
    OpenProbe();
    TypeInFocus(Qt::Key_Space, Qt::AltModifier);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    popup->actions().at(1)->trigger();
    QCOMPARE(m_dialog->sysCommands, std::vector<unsigned>{SC_CLOSE});
    QCOMPARE(m_dialog->Result(), IDCANCEL);
}

// Catches entries trimmed or reordered, a selection past the end that
// selects the last entry, or a double-click not reported.
void DialogTest::listBoxes()
{
    OpenProbe();
    QCOMPARE(m_dialog->ListBoxAddString(14, "first\n"), 0);
    QCOMPARE(m_dialog->ListBoxAddString(14, "b second\n"), 1);
    QCOMPARE(m_dialog->ListBoxAddString(14, "a third"), 2);
    QCOMPARE(m_dialog->ListBoxGetCount(14), 3);
    QCOMPARE(m_dialog->ListBoxGetText(14, 1), std::string("b second\n"));
    QCOMPARE(m_dialog->ListBoxGetCurSel(14), LB_ERR);
    m_dialog->ListBoxSetCurSel(14, 1);
    QCOMPARE(m_dialog->ListBoxGetCurSel(14), 1);
    m_dialog->ListBoxSetCurSel(14, 3);
    QCOMPARE(m_dialog->ListBoxGetCurSel(14), LB_ERR);

    auto* list = qobject_cast<QListView*>(m_dialog->GetDlgItem(14));
    const QRect third = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(m_dialog->doubleClicked, std::vector<int>{2});
    // Shown on one line each, without the line end; bytes that are not
    // UTF-8 as Latin-1, kept as they were.
    QCOMPARE(list->model()->data(list->model()->index(0, 0)).toString(), QString("first"));
    QCOMPARE(m_dialog->ListBoxAddString(14, "\xb0K \xc2\xb0K\r\n"), 3);
    QCOMPARE(m_dialog->ListBoxAddString(14, "\xc2\xb0K\n"), 4);
    QCOMPARE(m_dialog->ListBoxGetText(14, 3), std::string("\xb0K \xc2\xb0K\r\n"));
    QTRY_COMPARE(list->model()->rowCount(), 5);
    QCOMPARE(list->model()->data(list->model()->index(3, 0)).toString(), QString::fromLatin1("\xb0K \xc2\xb0K"));
    QCOMPARE(list->model()->data(list->model()->index(4, 0)).toString(), QString::fromUtf8("\xc2\xb0K"));
    QCOMPARE(list->visualRect(list->model()->index(0, 0)).height(), third.height());
}

// Catches a sorted list that sorts by case or puts an equal entry first,
// or returns an index other than where the entry went.
void DialogTest::sortedListBoxIgnoresCase()
{
    CDialog lists(kListTemplate);
    lists.Create();
    QCOMPARE(lists.ListBoxAddString(30, "beta"), 0);
    QCOMPARE(lists.ListBoxAddString(30, "Alpha"), 0);
    QCOMPARE(lists.ListBoxAddString(30, "alpha2"), 1);
    QCOMPARE(lists.ListBoxAddString(30, "Gamma"), 3);
    QCOMPARE(lists.ListBoxAddString(30, "BETA"), 3);
    std::vector<std::string> order;
    for (int i = 0; i < lists.ListBoxGetCount(30); ++i)
        order.push_back(lists.ListBoxGetText(30, i));
    QCOMPARE(order, (std::vector<std::string>{"Alpha", "alpha2", "beta", "BETA", "Gamma"}));
    auto* list = qobject_cast<QListView*>(lists.GetDlgItem(30));
    QCOMPARE(list->model()->rowCount(), 5);
    QCOMPARE(list->model()->data(list->model()->index(3, 0)).toString(), QString("BETA"));
}

// Catches entries that the list keeps but the view never learns of, or a
// selection of a just-added entry that fails or is not scrolled into view.
void DialogTest::entriesAddedToAShownListReachTheView()
{
    CDialog lists(kListTemplate);
    lists.Create();
    auto* list = qobject_cast<QListView*>(lists.GetDlgItem(31));
    for (int i = 0; i < 1000; ++i)
        lists.ListBoxAddString(31, "entry " + std::to_string(i) + "\n");
    QCOMPARE(lists.ListBoxGetCount(31), 1000);
    QCOMPARE(lists.ListBoxGetText(31, 999), std::string("entry 999\n"));
    lists.ListBoxSetCurSel(31, 999);
    QCOMPARE(lists.ListBoxGetCurSel(31), 999);
    QCOMPARE(list->model()->rowCount(), 1000);
    QVERIFY(list->viewport()->rect().contains(list->visualRect(list->model()->index(999, 0))));

    lists.ListBoxAddString(31, "late\n");
    QTRY_COMPARE(list->model()->rowCount(), 1001);
    QCOMPARE(list->model()->data(list->model()->index(1000, 0)).toString(), QString("late"));
    QCOMPARE(lists.ListBoxGetCurSel(31), 999);
}

// Catches a list box cut through its last entry instead of rounded down
// to whole entries.
void DialogTest::listBoxShowsWholeEntries()
{
    OpenProbe();
    auto* list = dynamic_cast<CListBox*>(m_dialog->GetDlgItem(14));
    const QRect templateRect = MapDialogRect(QRect(110, 7, 80, 50), m_dialog->BaseUnits());
    m_dialog->ListBoxAddString(14, "entry");
    const int entry = list->EntryHeight();
    QCOMPARE(entry, list->sizeHintForRow(0));
    const int inside = list->height() - 2 * list->frameWidth();
    QCOMPARE(inside % entry, 0);
    QVERIFY(list->height() <= templateRect.height());
    QVERIFY(list->height() > templateRect.height() - entry);
    QCOMPARE(list->width(), templateRect.width());
}

// Catches a label whose text, put in by the program, is cut at the
// template's width or not shown at all.
void DialogTest::labelsSetAtRunTimeKeepTheirText()
{
    OpenProbe();
    auto* label = qobject_cast<QLabel*>(m_dialog->GetDlgItem(18));
    QVERIFY(label != nullptr);
    const int templateWidth = MapDialogRect(QRect(130, 64, 18, 8), m_dialog->BaseUnits()).width();
    m_dialog->SetDlgItemText(18, "12");
    QCOMPARE(m_dialog->GetDlgItemText(18), std::string("12"));
    QCOMPARE(label->width(), std::max(templateWidth, label->fontMetrics().horizontalAdvance("12") + 1));
    m_dialog->SetDlgItemText(18, "1234567890");
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance("1234567890"));
    QCOMPARE(label->x(), MapDialogRect(QRect(130, 64, 18, 8), m_dialog->BaseUnits()).x());
}

// Catches a check box whose state the exchange does not read or show.
void DialogTest::checkBoxes()
{
    OpenProbe();
    QCOMPARE(m_dialog->IsDlgButtonChecked(13), BST_UNCHECKED);
    QTest::mouseClick(m_dialog->GetDlgItem(13), Qt::LeftButton);
    QCOMPARE(m_dialog->IsDlgButtonChecked(13), BST_CHECKED);
    QVERIFY(m_dialog->UpdateData(true));
    QCOMPARE(m_dialog->m_check, 1);
    m_dialog->m_check = 0;
    m_dialog->UpdateData(false);
    QCOMPARE(m_dialog->IsDlgButtonChecked(13), BST_UNCHECKED);
}

// Catches the dialog manager's move giving the focus to a disabled control.
void DialogTest::disabledControlDoesNotTakeTheFocus()
{
    OpenProbe();
    m_dialog->EnableDlgItem(12, false);
    m_dialog->NextDlgCtl(12);
    QCOMPARE(m_dialog->GetFocusId(), 10);
    m_dialog->EnableDlgItem(12, true);
    m_dialog->NextDlgCtl(12);
    QCOMPARE(m_dialog->GetFocusId(), 12);
}

// Catches a dialog shown although it ended in OnInitDialog, DoModal waiting
// for it, or the test seam answering a dialog that never opened.
void DialogTest::dialogEndedWhileOpeningIsNeverShown()
{
    ModalDialogAnswerer answerer([](CDialog&) {});
    GivingUpDlg dialog;
    QCOMPARE(dialog.DoModal(), IDCANCEL);
    QVERIFY(!dialog.everShown);
    QVERIFY(!dialog.isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(answerer.Count(), 0);
}

// Catches DoModal not running the answer inside its loop, returning
// something other than the button's result, or hanging when the answer
// leaves the dialog open.
void DialogTest::modalSeamAnswersNestedDialogs()
{
    {
        ModalDialogAnswerer answerer([](CDialog& dialog) {
            QCOMPARE(dialog.GetFocusId(), 10);
            QTest::keyClicks(QApplication::focusWidget(), "5");
            dialog.NextDlgCtl(IDOK);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        ProbeDlg dialog;
        QCOMPARE(dialog.DoModal(), IDOK);
        QCOMPARE(dialog.m_count, 5);
        QCOMPARE(answerer.Count(), 1);
    }
    {
        ModalDialogAnswerer answerer([](CDialog&) {});
        ProbeDlg dialog;
        QCOMPARE(dialog.DoModal(), IDCANCEL);
    }
}

// Catches the recorder losing the owner, text, caption or icon, or a box
// that is not answered with OK.
void DialogTest::messageBoxSeamRecordsTheBox()
{
    OpenProbe();
    QCOMPARE(m_dialog->MessageBox("Something", "Help", MB_ICONINFORMATION | MB_OK), IDOK);
    QCOMPARE(MessageBoxEx(nullptr, "Plain", "Error", MB_OK), IDOK);
    QCOMPARE(m_boxes->Boxes().size(), std::size_t(2));
    QCOMPARE(m_boxes->Boxes()[0].owner, m_dialog.get());
    QCOMPARE(m_boxes->Boxes()[0].text, std::string("Something"));
    QCOMPARE(m_boxes->Boxes()[0].caption, std::string("Help"));
    QCOMPARE(m_boxes->Boxes()[0].icon, MessageIcon::Information);
    QCOMPARE(m_boxes->Boxes()[1].owner, nullptr);
    QCOMPARE(m_boxes->Boxes()[1].icon, MessageIcon::None);
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
