#include "ParametricDlg.h"

#include "DataExchange.h"
#include "PrintfNumbers.h"
#include "Resources.h"
#include "RunTable.h"

namespace {

constexpr int kRunCountField = 1000;
constexpr int kFirstHeader = 1071;  // the ingredient number over mass column j: 1070 + j

struct GridRow {
    int chamber;
    int exhaust;
    int mass[kParametricComponents];
};

// The cells of row k (run k) at index k - 1.  Rows 3 to 10 are numbered
// seven to a row; row 1's masses and row 2's pressures are not.
constexpr GridRow kGrid[kMaxRuns] = {
    {1001, 1002, {1005, 1006, 1007, 1008, 1009}},
    {1003, 1004, {1010, 1011, 1012, 1013, 1014}},
    {1015, 1016, {1017, 1018, 1019, 1020, 1021}},
    {1022, 1023, {1024, 1025, 1026, 1027, 1028}},
    {1029, 1030, {1031, 1032, 1033, 1034, 1035}},
    {1036, 1037, {1038, 1039, 1040, 1041, 1042}},
    {1043, 1044, {1045, 1046, 1047, 1048, 1049}},
    {1050, 1051, {1052, 1053, 1054, 1055, 1056}},
    {1057, 1058, {1059, 1060, 1061, 1062, 1063}},
    {1064, 1065, {1066, 1067, 1068, 1069, 1070}},
};

// The order in which the cells are exchanged, and so the order in which
// their refusals come: the pressures row by row, then the masses in the
// form's own long-standing order.
constexpr int kPressureExchangeOrder[] = {
    1001, 1002, 1003, 1004, 1015, 1016, 1022, 1023, 1029, 1030,
    1036, 1037, 1043, 1044, 1050, 1051, 1057, 1058, 1064, 1065,
};
constexpr int kMassExchangeOrder[] = {
    1017, 1018, 1019, 1024, 1025, 1026, 1008, 1009, 1010, 1011, 1012, 1013, 1014,
    1020, 1021, 1027, 1028, 1031, 1032, 1033, 1034, 1035, 1038, 1039, 1040, 1041,
    1042, 1045, 1046, 1047, 1048, 1005, 1049, 1052, 1053, 1054, 1055, 1056, 1006,
    1059, 1060, 1061, 1062, 1063, 1067, 1068, 1007, 1069, 1070, 1066,
};

}  // namespace

CParametricDlg::CParametricDlg(QWidget* parent) : CDialog(kParametricDialogTemplate, parent)
{
    MapKillFocus(kRunCountField, [this] { OnKillfocusRunCount(); });
}

int CParametricDlg::ChamberCell(int row)
{
    return kGrid[row - 1].chamber;
}

int CParametricDlg::ExhaustCell(int row)
{
    return kGrid[row - 1].exhaust;
}

int CParametricDlg::MassCell(int row, int component)
{
    return kGrid[row - 1].mass[component - 1];
}

double& CParametricDlg::CellField(int cell)
{
    for (int run = 0; run < kMaxRuns; ++run) {
        const GridRow& row = kGrid[run];
        if (row.chamber == cell)
            return m_chamberPressure[run];
        if (row.exhaust == cell)
            return m_exhaustPressure[run];
        for (int j = 0; j < kParametricComponents; ++j) {
            if (row.mass[j] == cell)
                return m_mass[j][run];
        }
    }
    // Only the grid's own cells are exchanged.
    return m_chamberPressure[0];
}

void CParametricDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, kRunCountField, m_runCount);
    DDV_MinMaxInt(dx, m_runCount, 1, kMaxRuns);
    for (int cell : kPressureExchangeOrder)
        DDX_Text(dx, cell, CellField(cell));
    for (int cell : kMassExchangeOrder)
        DDX_Text(dx, cell, CellField(cell));
}

bool CParametricDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int n = g_runCount;
    g_savedRunCount = n;
    SetDlgItemText(kRunCountField, FormatD(n));
    for (int j = 1; j <= kParametricComponents; ++j)
        SetDlgItemText(kFirstHeader + j - 1, FormatD(g_ingredientId[j - 1]));
    // Rows beyond the run count start as copies of the base case.
    for (int row = 1; row <= kMaxRuns; ++row)
        ShowRun(row, 1);
    for (int row = 2; row <= n && row <= kMaxRuns; ++row)
        ShowRun(row, row);
    EnableRunRows(n);
    return true;
}

void CParametricDlg::ShowRun(int row, int run)
{
    SetDlgItemText(ChamberCell(row), FormatG(g_chamberPressure[run - 1]));
    SetDlgItemText(ExhaustCell(row), FormatG(g_exhaustPressure[run - 1]));
    for (int j = 1; j <= kParametricComponents; ++j)
        SetDlgItemText(MassCell(row, j), FormatG(g_mass[j - 1][run - 1]));
}

void CParametricDlg::EnableRunRows(int n)
{
    // Each row is set once to its state: a cell that has the focus and stays
    // enabled keeps it (Tab from field 1000 into row 2 stays there).
    for (int row = 2; row <= kMaxRuns; ++row)
        EnableRow(row, row <= n);
}

void CParametricDlg::EnableRow(int row, bool enable)
{
    EnableDlgItem(ChamberCell(row), enable);
    EnableDlgItem(ExhaustCell(row), enable);
    for (int j = 1; j <= kParametricComponents; ++j)
        EnableDlgItem(MassCell(row, j), enable);
}

bool CParametricDlg::TakeFields()
{
    const bool taken = UpdateData(true);
    if (taken || RefusedControl() != kRunCountField) {
        g_runCount = m_runCount;
        EnableRunRows(g_runCount);
    }
    return taken;
}

void CParametricDlg::OnKillfocusRunCount()
{
    TakeFields();
}

void CParametricDlg::OnOK()
{
    // Enter in field 1000 comes here while the field still has the focus, so
    // the count is taken here too.  A refused field leaves the table as it
    // was: its message has been shown once, and the form stays open.
    if (!TakeFields())
        return;
    CopyGridToRunTable();
    EndDialog(IDOK);
}

void CParametricDlg::CopyGridToRunTable() const
{
    for (int run = 0; run < kMaxRuns; ++run) {
        g_chamberPressure[run] = m_chamberPressure[run];
        g_exhaustPressure[run] = m_exhaustPressure[run];
        for (int j = 0; j < kParametricComponents; ++j)
            g_mass[j][run] = m_mass[j][run];
    }
}

void CParametricDlg::OnCancel()
{
    g_runCount = g_savedRunCount;
    CDialog::OnCancel();
}
