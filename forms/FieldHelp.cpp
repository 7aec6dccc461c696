// F1 on the main case form: help on the focused field, or the ingredient
// picker on an ingredient-ID field.

#include <climits>
#include <cstdlib>
#include <string>

#include "CaseDlg.h"
#include "IngredientDlg.h"
#include "PrintfNumbers.h"
#include "RunTable.h"

namespace {

constexpr int kFirstIdField = 1013;  // row r: 1012 + r

struct FieldHelp {
    int id;
    const char* text;
};

// The texts keep two blanks after a full stop where they have them.
constexpr FieldHelp kFieldHelp[] = {
    {1000, "The name of the file to which the input and output will be saved.  Limited to 8 characters. "
           "Input file extension is .inp, output file extension is .out"},
    {1001, "The title that will be printed on each page of output.  Limited to 17 characters."},
    {1002, "The number of ingredients in the propellant mixture.  Limited to 10."},
    {1003, "The density exponent used when calculating the density ISP, D-ISP.  "},
    {1004, "Temperature of ingredients, in K.  Used for temperature conditioning effects."},
    {1005, "Quadratic coefficients for solid specific heat.  Used with temperature difference to adjust the "
           "system enthalpy for heating or cooling."},
    {1033, "The pressure in the chamber, psia.  If making a parametric run, this is the base case chamber "
           "pressure."},
    {1034, "The pressure at the exhaust plane, psia.  If making a parametric run, this is the base case "
           "exhaust pressure."},
};

// Every other control: the sentence about F1, and below it the note on
// weights.
std::string GeneralHelp()
{
    return std::string("Press F1 in any field to get either help ")
           + "specific to that field or this generic help message."
           + "\nNote: Small weights may cause problems with Tharsel.  Zero weights are not allowed.";
}

std::string HelpText(int focusId)
{
    // The three solid-Cp coefficients share one text.
    const int id = (focusId == 1006 || focusId == 1007) ? 1005 : focusId;
    for (const FieldHelp& help : kFieldHelp) {
        if (help.id == id)
            return help.text;
    }
    return GeneralHelp();
}

bool IsIngredientIdField(int id)
{
    return id >= kFirstIdField && id < kFirstIdField + kMaxComponents;
}

// The text's leading integer: white space, an optional sign, then the
// digits up to the first other character; 0 without digits.  A number too
// large for an int is held at the int's limit.
int LeadingInteger(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

bool CCaseDlg::OnHelpInfo()
{
    const int focusId = GetFocusId();
    if (!IsIngredientIdField(focusId)) {
        MessageBox(HelpText(focusId), "Help", MB_ICONINFORMATION | MB_OK);
        return true;
    }
    g_pickedIngredient = LeadingInteger(GetDlgItemText(focusId));
    CIngredientDlg picker;
    if (picker.DoModal() != IDCANCEL)
        SetDlgItemText(focusId, FormatD(g_pickedIngredient));
    return true;
}
