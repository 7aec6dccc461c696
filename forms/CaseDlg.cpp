#include "CaseDlg.h"

#include "AboutDlg.h"
#include "CaseLoader.h"
#include "CommandInterpreter.h"
#include "DataExchange.h"
#include "EngineSetupFile.h"
#include "ParametricDlg.h"
#include "Resources.h"
#include "RunTable.h"

namespace {

constexpr int kCaseFileField = 1000;
constexpr int kCaseTitleField = 1001;
constexpr int kComponentCountField = 1002;
constexpr int kFirstIdField = 1013;      // row r: 1012 + r
constexpr int kFirstWeightField = 1023;  // row r: 1022 + r
constexpr int kAboutButton = 100;
constexpr int kParametricRunButton = 1037;

}  // namespace

CCaseDlg::CCaseDlg(QWidget* parent)
    : CDialog(kCaseDialogTemplate, parent), m_hIcon(LoadIcon(kIcon128))
{
    MapKillFocus(kComponentCountField, [this] { OnKillfocusComponentCount(); });
    MapKillFocus(kCaseFileField, [this] { LoadCaseFile(); });
    MapClicked(kAboutButton, [this] { OnAboutButton(); });
    MapClicked(kParametricRunButton, [this] { OnParametricRun(); });
}

void CCaseDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, kCaseFileField, m_record.m_caseFile);
    DDV_MaxChars(dx, m_record.m_caseFile, 8);
    DDX_Text(dx, kCaseTitleField, m_record.m_caseTitle);
    DDV_MaxChars(dx, m_record.m_caseTitle, 16);
    DDX_Text(dx, kComponentCountField, m_record.m_componentCount);
    DDV_MinMaxInt(dx, m_record.m_componentCount, 1, kMaxComponents);
    DDX_Text(dx, 1003, m_record.m_densityExponent);
    DDX_Text(dx, 1004, m_record.m_initialTemperature);
    DDX_Text(dx, 1005, m_record.m_cpA);
    DDX_Text(dx, 1006, m_record.m_cpB);
    DDX_Text(dx, 1007, m_record.m_cpC);
    for (int i = 0; i < kMaxComponents; ++i)
        DDX_Text(dx, kFirstIdField + i, m_record.m_ingredientId[i]);
    for (int i = 0; i < kMaxComponents; ++i)
        DDX_Text(dx, kFirstWeightField + i, m_record.m_ingredientWeight[i]);
    DDX_Text(dx, 1033, m_record.m_chamberPressure);
    DDX_Text(dx, 1034, m_record.m_exhaustPressure);
    DDX_Check(dx, 1008, m_record.m_deleteExitCalcs);
    DDX_Check(dx, 1009, m_record.m_ionicSpecies);
    DDX_Check(dx, 1010, m_record.m_boostAndNozzle);
    DDX_Check(dx, 1011, m_record.m_pressureInAtm);
    DDX_Check(dx, 1012, m_record.m_listAllSpecies);
}

bool CCaseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (CMenu* systemMenu = GetSystemMenu()) {
        const std::string about = LoadResourceString(IDS_ABOUTBOX);
        if (!about.empty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    for (int row = 2; row <= kMaxComponents; ++row) {
        EnableDlgItem(kFirstIdField + row - 1, false);
        EnableDlgItem(kFirstWeightField + row - 1, false);
    }
    WriteEngineSetupFile();
    return true;
}

void CCaseDlg::EnableIngredientRows(int n)
{
    for (int row = 1; row <= kMaxComponents; ++row) {
        EnableDlgItem(kFirstIdField + row - 1, false);
        EnableDlgItem(kFirstWeightField + row - 1, false);
    }
    for (int row = 1; row <= n && row <= kMaxComponents; ++row) {
        EnableDlgItem(kFirstIdField + row - 1, true);
        EnableDlgItem(kFirstWeightField + row - 1, true);
    }
}

void CCaseDlg::OnKillfocusComponentCount()
{
    const bool taken = UpdateData(true);
    EnableIngredientRows(m_record.m_componentCount);
    // A refused count is the field to correct: moving on would leave it and
    // refuse it again, without end.
    if (!taken && RefusedControl() == kComponentCountField)
        return;
    NextDlgCtl(kFirstIdField);
}

void CCaseDlg::LoadCaseFile()
{
    // Only the case file name is used from the taking; it is first in the
    // exchange, so a refusal further on is shown and the loading goes on.
    UpdateData(true);
    const SavedCase saved = ReadSavedCase(m_record.m_caseFile);
    if (saved.status == SavedCase::Status::Malformed)
        ShowError(saved.message);
    if (saved.status == SavedCase::Status::Loaded)
        ShowSavedCase(saved);
}

void CCaseDlg::ShowSavedCase(const SavedCase& saved)
{
    const LoadedCase& form = saved.form;
    SetDlgItemText(kCaseTitleField, form.title);
    SetDlgItemText(kComponentCountField, form.componentCount);
    EnableIngredientRows(form.rows);
    SetDlgItemText(1003, form.densityExponent);
    SetDlgItemText(1004, form.initialTemperature);
    for (int i = 0; i < 3; ++i)
        SetDlgItemText(1005 + i, form.cp[i]);

    int* options[5] = {&m_record.m_deleteExitCalcs, &m_record.m_ionicSpecies, &m_record.m_boostAndNozzle,
                       &m_record.m_pressureInAtm, &m_record.m_listAllSpecies};
    for (int i = 0; i < 5; ++i) {
        *options[i] = form.options[i];
        CheckDlgButton(1008 + i, form.options[i] == 1 ? BST_CHECKED : BST_UNCHECKED);
    }
    for (int row = 1; row <= form.rows; ++row) {
        SetDlgItemText(kFirstIdField + row - 1, form.ingredientId[row - 1]);
        SetDlgItemText(kFirstWeightField + row - 1, form.weight[row - 1]);
    }
    SetDlgItemText(1033, form.chamberPressure);
    SetDlgItemText(1034, form.exhaustPressure);
    ApplySavedRuns(saved.deck);
}

void CCaseDlg::OnAboutButton()
{
    CAboutDlg about;
    about.DoModal();
}

void CCaseDlg::OnParametricRun()
{
    // A refused field has shown its message; the record goes on as far as
    // it was taken.
    UpdateData(true);
    CopyCaseToRunTable(m_record);
    CParametricDlg parametric;
    if (parametric.DoModal() == IDOK)
        OnOK();
}

void CCaseDlg::OnSysCommand(unsigned id)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id);
}

void CCaseDlg::OnOK()
{
    RunCase(m_record, *this);
}

bool CCaseDlg::TakeFormIntoRecord()
{
    return UpdateData(true);
}

void CCaseDlg::ShowError(const std::string& text)
{
    MessageBox(text, "Error", MB_OK);
}

CommandOutcome CCaseDlg::System(const std::string& commandLine)
{
    return RunCommand(commandLine);
}
