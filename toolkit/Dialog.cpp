#include "Dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "DataExchange.h"
#include "DialogUnits.h"
#include "EditControl.h"
#include "ListBox.h"
#include "TestSeam.h"
#include "WinApp.h"

namespace {

// The text of a button or label: "&&" is an ampersand, a lone "&" marks the
// mnemonic.  Qt buttons read it that way already; labels need it removed.
QString LabelText(const char* text, unsigned style)
{
    QString label = QString::fromUtf8(text);
    if (style & SS_NOPREFIX)
        return label;
    QString shown;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size())
            ++i;
        shown += label[i];
    }
    return shown;
}

Qt::FocusPolicy FocusPolicyOf(const ControlTemplate& control)
{
    if (control.kind == ControlKind::StaticText || control.kind == ControlKind::GroupBox
        || control.kind == ControlKind::StaticIcon)
        return Qt::NoFocus;
    return (control.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

bool IsPushButton(const QWidget* widget)
{
    return qobject_cast<const QPushButton*>(widget) != nullptr;
}

// Runs the handler mapped to control ID, if there is one.
void CallHandler(const std::map<int, std::function<void()>>& handlers, int id)
{
    if (auto found = handlers.find(id); found != handlers.end())
        found->second();
}

// A label keeps its template's place and never cuts its text: where the
// text needs more room than the template gives (the machine's sans-serif
// face is wider than the face the templates were laid out in), the label
// reaches further to the right.
void FitLabel(QLabel* label)
{
    const int templateWidth = label->property("templateWidth").toInt();
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 1;
    label->resize(std::max(templateWidth, needed), label->height());
}

// A list box shows whole entries only: its height is rounded down.
void FitWholeEntries(CListBox* list)
{
    const int entry = list->EntryHeight();
    const int frame = 2 * list->frameWidth();
    const int entries = std::max(1, (list->height() - frame) / entry);
    list->resize(list->width(), entries * entry + frame);
}

// The platform activates a window a little after it is asked to; a person
// would not type into it before.
void WaitUntilWindowActive(QWidget* window)
{
    QElapsedTimer waited;
    waited.start();
    while (window->isVisible() && QApplication::activeWindow() != window && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

QIcon LoadIcon(const IconResource& icon)
{
    QIcon result;
    result.addPixmap(QPixmap(icon.large));
    result.addPixmap(QPixmap(icon.small));
    return result;
}

CMenu::CMenu(QMenu* menu) : m_menu(menu)
{
}

bool CMenu::AppendMenu(unsigned flags, unsigned id, const std::string& text)
{
    if (flags & MF_SEPARATOR) {
        m_menu->addSeparator();
        return true;
    }
    QAction* action = m_menu->addAction(QString::fromStdString(text));
    action->setData(id);
    return true;
}

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_template(dialogTemplate)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(m_template.caption));
    setFont(DialogFont(m_template.fontName, m_template.pointSize));
    m_baseUnits = DialogBaseUnits(font());
    const QRect client = MapDialogRect(QRect(m_template.x, m_template.y, m_template.cx, m_template.cy), m_baseUnits);
    setFixedSize(client.size());
    CreateControls();
    if (m_template.style & WS_SYSMENU) {
        m_systemMenuPopup = new QMenu(this);
        m_systemMenuPopup->addAction(QStringLiteral("&Move"))->setData(SC_MOVE);
        m_systemMenuPopup->addAction(QStringLiteral("&Close\tAlt+F4"))->setData(SC_CLOSE);
        connect(m_systemMenuPopup, &QMenu::triggered, this,
                [this](QAction* action) { OnSysCommand(action->data().toUInt()); });
        m_systemMenu = new CMenu(m_systemMenuPopup);
    }
    connect(qApp, &QApplication::focusChanged, this, &CDialog::OnFocusChanged);
}

CDialog::~CDialog()
{
    delete m_systemMenu;
}

void CDialog::CreateControls()
{
    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& control : m_template.controls) {
        QWidget* widget = CreateControl(control);
        widget->setGeometry(MapDialogRect(QRect(control.x, control.y, control.cx, control.cy), m_baseUnits));
        widget->setFocusPolicy(FocusPolicyOf(control));
        if (control.kind == ControlKind::StaticText) {
            widget->setProperty("templateWidth", widget->width());
            FitLabel(static_cast<QLabel*>(widget));
        }
        if (control.kind == ControlKind::ListBox && !(control.style & LBS_NOINTEGRALHEIGHT))
            FitWholeEntries(static_cast<CListBox*>(widget));
        if (control.style & WS_DISABLED)
            widget->setEnabled(false);
        if (control.id != IDC_STATIC) {
            widget->setObjectName(QString::number(control.id));
            m_controls.emplace(control.id, widget);
        }
        if (widget->focusPolicy() != Qt::NoFocus)
            widget->installEventFilter(this);
        if (control.style & WS_TABSTOP) {
            if (previousTabStop)
                setTabOrder(previousTabStop, widget);
            previousTabStop = widget;
            m_tabOrder.push_back(widget);
        }
        if (control.kind == ControlKind::GroupBox)
            widget->lower();
    }
}

QWidget* CDialog::CreateControl(const ControlTemplate& control)
{
    const int id = control.id;
    switch (control.kind) {
    case ControlKind::Edit: {
        auto* edit = new CEditControl(this);
        edit->setFrame((control.style & WS_BORDER) != 0);
        if (control.style & ES_READONLY) {
            // Read-only fields show the dialog's face colour, as disabled ones do.
            edit->setReadOnly(true);
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            edit->setPalette(palette);
        }
        edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return edit;
    }
    case ControlKind::StaticText: {
        auto* label = new QLabel(LabelText(control.text, control.style), this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(false);
        return label;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(QString::fromUtf8(control.text), this);
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(QString::fromUtf8(control.text), this);
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefPushButton);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        return button;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(QString::fromUtf8(control.text), this);
        connect(box, &QCheckBox::clicked, this, [this, id] { CallHandler(m_clicked, id); });
        return box;
    }
    case ControlKind::ListBox: {
        auto* list = new CListBox(this, (control.style & LBS_SORT) != 0);
        list->setVerticalScrollBarPolicy((control.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                      : Qt::ScrollBarAlwaysOff);
        list->setFrameShape((control.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        connect(list, &QListView::doubleClicked, this, [this, id] { CallHandler(m_doubleClicked, id); });
        return list;
    }
    case ControlKind::StaticIcon: {
        auto* label = new QLabel(this);
        if (control.icon)
            label->setPixmap(LoadIcon(*control.icon).pixmap(32, 32));
        return label;
    }
    }
    return new QWidget(this);
}

void CDialog::Open()
{
    m_result = 0;
    m_refusedControl = 0;
    if (!parentWidget()) {
        QWidget* owner = AfxGetMainWnd();
        if (owner == nullptr || owner == this)
            owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                      : QApplication::activeWindow();
        if (owner && owner != this)
            setParent(owner, windowFlags());
    }
    if (!parentWidget()) {
        const QRect origin = MapDialogRect(QRect(m_template.x, m_template.y, 0, 0), m_baseUnits);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().topLeft() + origin.topLeft());
    }
    m_open = true;
    const bool focusFirst = OnInitDialog();
    // OnInitDialog may end the dialog already: then it is never shown.
    if (!m_open)
        return;
    show();
    activateWindow();
    if (focusFirst)
        SetFirstFocus();
}

int CDialog::DoModal()
{
    setWindowModality(Qt::ApplicationModal);
    m_modal = true;
    Open();
    ModalDialogHandler handler = m_open ? CurrentModalDialogHandler() : ModalDialogHandler();
    if (handler) {
        QTimer::singleShot(0, this, [this, handler] {
            WaitUntilActive();
            handler(*this);
            if (m_open)
                EndDialog(IDCANCEL);
        });
    }
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    if (m_open)
        loop.exec(QEventLoop::DialogExec);
    m_modal = false;
    // A test answering dialogs goes on once the owner has the focus back, as
    // a person would.
    if (QWidget* owner = parentWidget(); owner && owner->isVisible() && CurrentModalDialogHandler())
        WaitUntilWindowActive(owner);
    return m_result;
}

void CDialog::WaitUntilActive()
{
    WaitUntilWindowActive(this);
}

bool CDialog::Create()
{
    m_modal = false;
    Open();
    WaitUntilActive();
    return true;
}

void CDialog::EndDialog(int result)
{
    if (!m_open)
        return;
    m_open = false;
    m_result = result;
    done(result);
    // As on closing any owned window, the owner becomes the active window.
    if (QWidget* owner = parentWidget(); owner && owner->isVisible())
        owner->activateWindow();
}

void CDialog::SetFirstFocus()
{
    for (QWidget* control : m_tabOrder) {
        if (control->isEnabled() && control->isVisible()) {
            FocusAndSelect(control);
            return;
        }
    }
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange& /*dx*/)
{
}

bool CDialog::OnHelpInfo()
{
    return false;
}

void CDialog::OnSysCommand(unsigned id)
{
    switch (id & 0xFFF0) {
    case SC_CLOSE:
        OnCommand(IDCANCEL);
        break;
    case SC_MOVE:
        if (QWindow* window = windowHandle())
            window->startSystemMove();
        break;
    default:
        break;
    }
}

void CDialog::OnCommand(int id)
{
    if (!m_open)
        return;
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
    else
        CallHandler(m_clicked, id);
}

void CDialog::MapClicked(int id, Handler handler)
{
    m_clicked[id] = std::move(handler);
}

void CDialog::MapKillFocus(int id, Handler handler)
{
    m_killFocus[id] = std::move(handler);
}

void CDialog::MapDoubleClicked(int id, Handler handler)
{
    m_doubleClicked[id] = std::move(handler);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    if (saveAndValidate)
        m_refusedControl = dx.Failed() ? dx.LastControl() : 0;
    if (dx.Failed())
        ++m_refusals;
    return !dx.Failed();
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

std::string CDialog::GetDlgItemText(int id) const
{
    QWidget* control = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text().toStdString();
    if (auto* box = qobject_cast<QGroupBox*>(control))
        return box->title().toStdString();
    return {};
}

void CDialog::SetDlgItemText(int id, const std::string& text)
{
    QWidget* control = GetDlgItem(id);
    const QString value = QString::fromStdString(text);
    if (auto* edit = dynamic_cast<CEditControl*>(control)) {
        edit->SetProgramText(value);
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
        FitLabel(label);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(value);
    }
}

void CDialog::EnableDlgItem(int id, bool enable)
{
    QWidget* control = GetDlgItem(id);
    if (control == nullptr)
        return;
    // Disabling the focused control moves Qt's focus on; that move is no
    // focus change of the user's or the program's.
    ++m_enabling;
    control->setEnabled(enable);
    --m_enabling;
}

bool CDialog::IsDlgItemEnabled(int id) const
{
    QWidget* control = GetDlgItem(id);
    return control && control->isEnabled();
}

void CDialog::CheckDlgButton(int id, int check)
{
    if (auto* box = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        box->setChecked(check == BST_CHECKED);
}

int CDialog::IsDlgButtonChecked(int id) const
{
    auto* box = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return (box && box->isChecked()) ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::LimitDlgItemText(int id, int maxChars)
{
    if (auto* edit = dynamic_cast<CEditControl*>(GetDlgItem(id)))
        edit->SetTypingLimit(maxChars);
}

CListBox* CDialog::ListBox(int id) const
{
    return dynamic_cast<CListBox*>(GetDlgItem(id));
}

int CDialog::ListBoxAddString(int id, const std::string& text)
{
    CListBox* list = ListBox(id);
    return list ? list->AddString(text) : LB_ERR;
}

void CDialog::ListBoxSetCurSel(int id, int index)
{
    if (CListBox* list = ListBox(id))
        list->SetCurSel(index);
}

int CDialog::ListBoxGetCurSel(int id) const
{
    const CListBox* list = ListBox(id);
    return list ? list->GetCurSel() : LB_ERR;
}

int CDialog::ListBoxGetCount(int id) const
{
    const CListBox* list = ListBox(id);
    return list ? list->GetCount() : LB_ERR;
}

std::string CDialog::ListBoxGetText(int id, int index) const
{
    const CListBox* list = ListBox(id);
    return list ? list->GetText(index) : std::string();
}

int CDialog::GetFocusId() const
{
    return ControlId(focusWidget());
}

void CDialog::NextDlgCtl(int id)
{
    QWidget* control = GetDlgItem(id);
    if (control && control->isEnabled())
        FocusAndSelect(control);
}

void CDialog::FocusAndSelect(QWidget* control)
{
    if (control == nullptr)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

// The refusal's own focus move belongs to its message, not to the user: it
// runs no kill-focus handler, or a handler that takes the form again (the case
// loader on leaving the case file name) would refuse the same field twice.
void CDialog::FocusRefusedField(QWidget* control)
{
    ++m_enabling;
    FocusAndSelect(control);
    --m_enabling;
}

CMenu* CDialog::GetSystemMenu()
{
    return m_systemMenu;
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    return MessageBoxEx(this, text, caption, type);
}

void CDialog::SetIcon(const QIcon& icon, bool /*big: the icon holds both sizes*/)
{
    setWindowIcon(icon);
}

int CDialog::ControlId(const QWidget* control) const
{
    for (const auto& [id, widget] : m_controls) {
        if (widget == control)
            return id;
    }
    return 0;
}

int CDialog::DefaultCommand() const
{
    for (const ControlTemplate& control : m_template.controls) {
        if (control.kind == ControlKind::DefPushButton)
            return control.id;
    }
    return IDOK;
}

void CDialog::OnFocusChanged(QWidget* previous, QWidget* now)
{
    m_clickTurnedBack = nullptr;
    if (!m_open || m_enabling > 0 || previous == nullptr || now == nullptr)
        return;
    if (previous->window() != this || now->window() != this)
        return;
    const int refusals = m_refusals;
    CallHandler(m_killFocus, ControlId(previous));
    if (m_refusals != refusals && focusWidget() != now)
        m_clickTurnedBack = now;
}

void CDialog::ShowSystemMenu()
{
    if (m_systemMenuPopup)
        m_systemMenuPopup->popup(mapToGlobal(QPoint(0, 0)));
}

bool CDialog::HandleDialogKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        if (modifiers != Qt::NoModifier)
            return false;
        OnCommand(IDCANCEL);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (modifiers != Qt::NoModifier)
            return false;
        QWidget* focused = focusWidget();
        if (IsPushButton(focused) && focused->isEnabled())
            static_cast<QPushButton*>(focused)->click();
        else
            OnCommand(DefaultCommand());
        return true;
    }
    case Qt::Key_F1:
        if (modifiers != Qt::NoModifier)
            return false;
        if (!OnHelpInfo() && AfxGetApp())
            AfxGetApp()->OnHelp();
        return true;
    case Qt::Key_Space:
        if (modifiers != Qt::AltModifier)
            return false;
        ShowSystemMenu();
        return true;
    default:
        return false;
    }
}

bool CDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        m_clickTurnedBack = nullptr;
        if (m_open && HandleDialogKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    // A press gives the focus before it reaches the control; a refusal on
    // leaving the previous control has taken the focus back since.
    if (event->type() == QEvent::MouseButtonPress && watched == m_clickTurnedBack) {
        m_clickTurnedBack = nullptr;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CDialog::keyPressEvent(QKeyEvent* event)
{
    if (m_open && HandleDialogKey(event))
        return;
    QDialog::keyPressEvent(event);
}

void CDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_open)
        OnSysCommand(SC_CLOSE);
}

void CDialog::reject()
{
    OnCommand(IDCANCEL);
}

void CDialog::accept()
{
    OnCommand(IDOK);
}
