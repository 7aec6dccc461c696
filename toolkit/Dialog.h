#pragma once

#include <QDialog>
#include <QIcon>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "MessageBox.h"

class CDataExchange;
class CListBox;
class QMenu;

// System commands: the low four bits belong to the system.
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_CLOSE = 0xF060;

// Menu item kinds for CMenu::AppendMenu.
inline constexpr unsigned MF_STRING = 0x0000;
inline constexpr unsigned MF_SEPARATOR = 0x0800;

// Check-box states.
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

// A list box's answer when no entry is selected, and for an index past its end.
inline constexpr int LB_ERR = -1;

// The icon of an icon resource, at both of its sizes.
QIcon LoadIcon(const IconResource& icon);

// A dialog's system menu.  This platform gives none that a program can
// extend, so Alt+Space opens it as a popup: Move, Close, then what the
// program appended.  Its commands reach CDialog::OnSysCommand.
class CMenu {
public:
    explicit CMenu(QMenu* menu);
    // MF_SEPARATOR, or MF_STRING with a command number and its text.
    bool AppendMenu(unsigned flags, unsigned id = 0, const std::string& text = {});
    QMenu* Popup() const { return m_menu; }

private:
    QMenu* m_menu;
};

// A dialog built from a template.  Each control's objectName is its control
// number ("1000"); labels with IDC_STATIC have none.
//
// Keys: Tab and Shift+Tab visit the controls with WS_TABSTOP in template
// order; Enter is the default button's command (IDOK when there is none),
// except on a focused push button, which it presses; Esc and the Close box
// are IDCANCEL; F1 calls OnHelpInfo; Alt+Space opens the system menu.
//
// Kill-focus handlers run when the focus moves from a control to another
// control of the same dialog, by the user or by the program; not when a
// message box or another window takes the focus, and not while the dialog
// closes.  A click whose focus move a kill-focus handler refused does not
// press the control clicked: the user has the refusal to answer first.
class CDialog : public QDialog {
public:
    explicit CDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    ~CDialog() override;

    // Opens the dialog modally (owned by the given parent, else by the
    // application's main window) and returns IDOK or IDCANCEL.  A dialog
    // that OnInitDialog ends is never shown, and DoModal returns its result
    // at once.
    int DoModal();
    // Opens the dialog without a modal loop and returns at once; EndDialog
    // then hides it.  For tests that drive a dialog from outside.
    bool Create();
    void EndDialog(int result);
    // The result EndDialog was given; 0 while the dialog is open.
    int Result() const { return m_result; }
    bool IsOpen() const { return m_open; }

    // Shows the fields in the controls (FALSE) or takes and validates them
    // (TRUE).  Taking stops at the first refused field, after its message.
    bool UpdateData(bool saveAndValidate = true);
    // The control refused by the last taking, 0 when every field was taken.
    int RefusedControl() const { return m_refusedControl; }

    QWidget* GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    // Puts TEXT in whole into an edit, a label, a button or a check box;
    // a typing limit does not cut it.
    void SetDlgItemText(int id, const std::string& text);
    // Enables or disables a control (EnableWindow).  Use this rather than
    // QWidget::setEnabled: disabling the focused control moves Qt's focus
    // on, and only this keeps that move from counting as the user's.
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    // Limits what the user types or pastes into an edit, as EM_LIMITTEXT does.
    void LimitDlgItemText(int id, int maxChars);

    // List boxes (CListBox).  Each entry keeps its text exactly as added.
    int ListBoxAddString(int id, const std::string& text);
    // Selects INDEX and scrolls it into view; an index outside the list
    // selects nothing and leaves the list where it is.
    void ListBoxSetCurSel(int id, int index);
    int ListBoxGetCurSel(int id) const;
    int ListBoxGetCount(int id) const;
    std::string ListBoxGetText(int id, int index) const;

    // The control number of the control with the focus, 0 when none has it.
    int GetFocusId() const;
    // The dialog manager's focus move (WM_NEXTDLGCTL with a control): the
    // control takes the focus and an edit's whole text is selected.  A
    // disabled control does not take it.
    void NextDlgCtl(int id);

    CMenu* GetSystemMenu();
    // A message box owned by this dialog.
    int MessageBox(const std::string& text, const std::string& caption, unsigned type = MB_OK);
    void SetIcon(const QIcon& icon, bool big);

    const DialogTemplate& Template() const { return m_template; }
    // One dialog unit in pixels: a quarter of the average character width
    // and an eighth of the character height of the dialog's font.
    QSize BaseUnits() const { return m_baseUnits; }

    // The command of a button or of Enter: IDOK, IDCANCEL or a button's
    // handler.
    void OnCommand(int id);

protected:
    // Shows the fields and returns TRUE, so the first tab stop takes the focus.
    virtual bool OnInitDialog();
    // Takes the fields; closes with IDOK when every field is accepted.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    // F1.  Returns TRUE when handled; otherwise the application's help runs.
    virtual bool OnHelpInfo();
    // A system-menu command; Move and Close are handled here.
    virtual void OnSysCommand(unsigned id);

    // Handlers by control number, the dialog's message map.
    using Handler = std::function<void()>;
    void MapClicked(int id, Handler handler);
    void MapKillFocus(int id, Handler handler);
    void MapDoubleClicked(int id, Handler handler);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    void reject() override;
    void accept() override;

private:
    friend class CDataExchange;

    void CreateControls();
    QWidget* CreateControl(const ControlTemplate& control);
    void Open();
    void SetFirstFocus();
    void WaitUntilActive();
    bool HandleDialogKey(QKeyEvent* event);
    void OnFocusChanged(QWidget* previous, QWidget* now);
    void ShowSystemMenu();
    void FocusAndSelect(QWidget* control);
    void FocusRefusedField(QWidget* control);
    int ControlId(const QWidget* control) const;
    CListBox* ListBox(int id) const;
    int DefaultCommand() const;

    const DialogTemplate& m_template;
    QSize m_baseUnits;
    std::map<int, QWidget*> m_controls;
    std::vector<QWidget*> m_tabOrder;
    std::map<int, Handler> m_clicked;
    std::map<int, Handler> m_killFocus;
    std::map<int, Handler> m_doubleClicked;
    QMenu* m_systemMenuPopup = nullptr;
    CMenu* m_systemMenu = nullptr;
    int m_result = 0;
    int m_refusedControl = 0;
    bool m_open = false;
    bool m_modal = false;
    int m_enabling = 0;
    int m_refusals = 0;
    // The control whose click was turned back by a refusal on leaving the
    // focused control; its mouse press is dropped.
    QWidget* m_clickTurnedBack = nullptr;
};
