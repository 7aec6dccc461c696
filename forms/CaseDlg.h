#pragma once

#include <QIcon>

#include <string>

#include "CaseRecord.h"
#include "Dialog.h"
#include "RunCase.h"

// The system-menu command of the About entry.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

// The main case form: one case record in the controls of template 102.
// Run (the default button, so also Enter) runs the case and the form stays
// open; Exit, Esc and Close close it without taking its values.
struct SavedCase;

class CCaseDlg : public CDialog, public RunCaseHost {
public:
    explicit CCaseDlg(QWidget* parent = nullptr);

    CaseRecord& Record() { return m_record; }
    const CaseRecord& Record() const { return m_record; }

    // Disables both fields of all ten ingredient rows, then enables rows 1
    // to N (none for N below 1, all ten for N above 10).
    void EnableIngredientRows(int n);

    // What a Run needs of the form.
    bool TakeFormIntoRecord() override;
    void ShowError(const std::string& text) override;
    CommandOutcome System(const std::string& commandLine) override;

    // Icon 128, at both sizes, for as long as the form lives.
    const QIcon m_hIcon;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    // Run.
    void OnOK() override;
    void OnSysCommand(unsigned id) override;
    // F1: help on the focused field, or the ingredient picker on an
    // ingredient-ID field (FieldHelp.cpp).
    bool OnHelpInfo() override;

private:
    void OnKillfocusComponentCount();
    // Leaving the case file name: a saved "<name>.inp" fills the form and
    // runs 2 and later of the run table.  No such file passes in silence; a
    // deck that cannot be loaded is reported and changes nothing.
    void LoadCaseFile();
    void ShowSavedCase(const SavedCase& saved);
    void OnAboutButton();
    // The Parametric Run button: the form into the record and run 1, the
    // parametric form, and on its OK the Run.
    void OnParametricRun();

    CaseRecord m_record;
};
