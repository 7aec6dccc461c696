#pragma once

#include "Dialog.h"

// The ingredient database: line n is ingredient number n.
inline constexpr const char* kIngredientDatabase = "kalcoded.daf";

// The ingredient picker on template 130: the database's lines in file
// order, read afresh at every opening.  g_pickedIngredient holds the number
// to preselect on entry; a double-click on an entry sets it to that entry's
// number and closes with IDOK.  Enter in the list closes with IDOK and takes
// nothing; Cancel, Esc, Close and Enter on Cancel close with IDCANCEL.
//
// A database that cannot be opened is reported ("Error opening data file")
// and the picker closes as if cancelled, without being shown.
class CIngredientDlg : public CDialog {
public:
    explicit CIngredientDlg(QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    void OnDblclkIngredientList();
    bool FillIngredientList();
    void SelectPickedIngredient();
};
