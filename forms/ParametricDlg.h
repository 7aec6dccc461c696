#pragma once

#include "CaseRecord.h"
#include "Dialog.h"

// The grid edits the masses of the first five components only.
inline constexpr int kParametricComponents = 5;

// The parametric run form on template 131: the run count and a grid of up
// to ten runs of the run table, row k for run k.  Row 1, the base case, is
// read-only; rows 2 to the run count are enabled.  OK writes all ten rows
// into the run table and closes; Cancel restores the run count it opened
// with and closes.  The form never touches components 6 to 10.
class CParametricDlg : public CDialog {
public:
    explicit CParametricDlg(QWidget* parent = nullptr);

    // The control numbers of row K's cells (K = 1 to 10); COMPONENT is 1 to 5.
    static int ChamberCell(int row);
    static int ExhaustCell(int row);
    static int MassCell(int row, int component);

    // Rows 2 to N enabled, all seven cells each, and the rest of rows 2 to 10
    // disabled (none enabled for N of 1 or below, all for N above 10).  Row 1
    // stays as it is.
    void EnableRunRows(int n);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    // Shows the run table; the fields stay as they are until the first taking.
    bool OnInitDialog() override;
    // Takes every field, the count first, and writes the grid into the run
    // table only when all of them have been accepted.
    void OnOK() override;
    void OnCancel() override;

private:
    void OnKillfocusRunCount();
    // Takes every field; an accepted count becomes the run count and sets
    // the rows, whatever happens to the cells after it.
    bool TakeFields();
    double& CellField(int cell);
    void ShowRun(int row, int run);
    void EnableRow(int row, bool enable);
    void CopyGridToRunTable() const;

    int m_runCount = 0;
    double m_chamberPressure[kMaxRuns] = {};
    double m_exhaustPressure[kMaxRuns] = {};
    double m_mass[kParametricComponents][kMaxRuns] = {};  // [component][run]
};
