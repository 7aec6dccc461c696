#pragma once

#include <string>

class CDialog;

// One exchange between a dialog's controls and its fields, field by field
// in the order DoDataExchange names them.  When taking (m_bSaveAndValidate),
// the first refused field ends the exchange: its message is shown (the
// exclamation icon, the application's name as caption), the field takes the
// focus with its whole text selected, and every later DDX and DDV call does
// nothing.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate);

    const bool m_bSaveAndValidate;
    CDialog* const m_pDlgWnd;

    // The control that the next DDV call checks.
    void PrepareCtrl(int id);
    int LastControl() const { return m_lastControl; }
    // Refuses the last control with MESSAGE.
    void Fail(const std::string& message);
    bool Failed() const { return m_failed; }

private:
    int m_lastControl = 0;
    bool m_failed = false;
};

// The toolkit's refusal messages.
inline constexpr const char* kParseIntMessage = "Please enter an integer.";
inline constexpr const char* kParseRealMessage = "Please enter a number.";
inline constexpr const char* kIntRangeMessage = "Please enter an integer between %1 and %2.";
inline constexpr const char* kStringSizeMessage = "Please enter no more than %1 characters.";

// Integers as "%d", reals with up to 15 significant digits, text unchanged.
void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Text(CDataExchange& dx, int id, double& value);
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// 1 ticked, 0 clear.
void DDX_Check(CDataExchange& dx, int id, int& value);
// Taking: refuses a longer text.  Showing: limits typing to NCHARS.
void DDV_MaxChars(CDataExchange& dx, const std::string& value, int nChars);
// Taking: refuses a value outside MINVAL to MAXVAL (already stored).
void DDV_MinMaxInt(CDataExchange& dx, int value, int minVal, int maxVal);
