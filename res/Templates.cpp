#include "Resources.h"

#include "MessageBox.h"

// Positions are x, y, width and height in dialog units.  The order of the
// controls is the tab order of those with WS_TABSTOP.

namespace {

constexpr unsigned kEdit = WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr unsigned kReadOnlyCell = WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;
constexpr unsigned kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// The About box.
constexpr ControlTemplate kAboutControls[] = {
    {IDC_STATIC, ControlKind::StaticIcon, "", 11, 17, 20, 20, WS_GROUP, &kIcon128},
    {IDC_STATIC, ControlKind::StaticText, "wTharsel Version 1.1", 43, 7, 70, 8, SS_NOPREFIX | WS_GROUP},
    {IDC_STATIC, ControlKind::StaticText, "Solid propellant cases", 37, 35, 85, 8, WS_GROUP},
    {IDOK, ControlKind::DefPushButton, "OK", 114, 7, 32, 14, WS_TABSTOP | WS_GROUP},
    {IDC_STATIC, ControlKind::StaticText, "Front end to tharsel", 40, 26, 74, 8, WS_GROUP},
    {IDC_STATIC, ControlKind::StaticText, "Build 1.0.0.1", 7, 50, 57, 8, WS_GROUP},
    {IDC_STATIC, ControlKind::StaticText, "wtharsel team", 75, 50, 71, 8, WS_GROUP},
};

// The main case form.
constexpr ControlTemplate kCaseControls[] = {
    {1000, ControlKind::Edit, "", 113, 17, 40, 12, kEdit},
    {1001, ControlKind::Edit, "", 113, 35, 40, 12, kEdit},
    {1002, ControlKind::Edit, "", 113, 53, 40, 12, kEdit},
    {1013, ControlKind::Edit, "", 222, 93, 24, 12, kEdit},
    {1023, ControlKind::Edit, "", 282, 93, 24, 12, kEdit},
    {1014, ControlKind::Edit, "", 222, 106, 24, 12, kEdit},
    {1024, ControlKind::Edit, "", 282, 106, 24, 12, kEdit},
    {1015, ControlKind::Edit, "", 222, 119, 24, 12, kEdit},
    {1025, ControlKind::Edit, "", 282, 119, 24, 12, kEdit},
    {1016, ControlKind::Edit, "", 222, 132, 24, 12, kEdit},
    {1026, ControlKind::Edit, "", 282, 132, 24, 12, kEdit},
    {1017, ControlKind::Edit, "", 222, 145, 24, 12, kEdit},
    {1027, ControlKind::Edit, "", 282, 145, 24, 12, kEdit},
    {1018, ControlKind::Edit, "", 222, 158, 24, 12, kEdit},
    {1028, ControlKind::Edit, "", 282, 158, 24, 12, kEdit},
    {1019, ControlKind::Edit, "", 222, 171, 24, 12, kEdit},
    {1029, ControlKind::Edit, "", 282, 171, 24, 12, kEdit},
    {1020, ControlKind::Edit, "", 222, 184, 24, 12, kEdit},
    {1030, ControlKind::Edit, "", 282, 184, 24, 12, kEdit},
    {1021, ControlKind::Edit, "", 222, 197, 24, 12, kEdit},
    {1031, ControlKind::Edit, "", 282, 197, 24, 12, kEdit},
    {1022, ControlKind::Edit, "", 222, 210, 24, 12, kEdit},
    {1032, ControlKind::Edit, "", 282, 210, 24, 12, kEdit},
    {1003, ControlKind::Edit, "", 113, 71, 40, 12, kEdit},
    {1004, ControlKind::Edit, "", 113, 89, 40, 12, kEdit},
    {1033, ControlKind::Edit, "", 113, 107, 40, 12, kEdit},
    {1034, ControlKind::Edit, "", 113, 125, 40, 12, kEdit},
    {IDOK, ControlKind::DefPushButton, "&Run", 177, 233, 60, 14, WS_TABSTOP},
    {IDCANCEL, ControlKind::PushButton, "&Exit", 101, 233, 60, 14, WS_TABSTOP},
    {1005, ControlKind::Edit, "", 181, 44, 40, 12, kEdit},
    {1006, ControlKind::Edit, "", 225, 44, 40, 12, kEdit},
    {1007, ControlKind::Edit, "", 272, 44, 40, 12, kEdit},
    {1008, ControlKind::CheckBox, "Delete Exit Calculations", 7, 145, 90, 10, WS_TABSTOP},
    {1009, ControlKind::CheckBox, "Include Ionic Species", 7, 159, 84, 10, WS_TABSTOP},
    {1010, ControlKind::CheckBox, "Include Boost Velocities and Nozzle Design Data", 7, 173, 170, 10, WS_TABSTOP},
    {1011, ControlKind::CheckBox, "Input Pressure in Atmospheres", 7, 187, 111, 10, WS_TABSTOP},
    {1012, ControlKind::CheckBox, "List All Combustion Species Considered", 7, 201, 139, 10, WS_TABSTOP},
    {IDC_STATIC, ControlKind::StaticText, "Case Filename", 7, 17, 47, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Case Title", 7, 35, 32, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Number of Components", 7, 53, 75, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Density Exponent", 7, 71, 56, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Initial Propellant Temperature", 7, 89, 92, 8, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Quadratic Coefficients for Solid Cp", 175, 14, 146, 53, 0},
    {IDC_STATIC, ControlKind::StaticText, "Cpa", 189, 30, 14, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Cpb", 231, 30, 14, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Cpc", 284, 28, 14, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Ingredient ID", 211, 76, 42, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Ingredient Weight", 268, 76, 57, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Chamber Pressure", 7, 109, 58, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Exhaust Pressure", 7, 125, 56, 8, 0},
    {100, ControlKind::PushButton, "&About wTharsel", 25, 233, 60, 14, WS_TABSTOP},
    {1037, ControlKind::PushButton, "&Parametric Run", 253, 233, 60, 14, WS_TABSTOP},
};

// The ingredient picker.
constexpr ControlTemplate kIngredientControls[] = {
    {IDCANCEL, ControlKind::PushButton, "Cancel", 67, 112, 50, 14, WS_TABSTOP},
    {1035, ControlKind::ListBox, "", 7, 7, 173, 100, WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY},
};

// The parametric run form: row k of the grid is run k; row 1, the base
// case, is read-only.
constexpr ControlTemplate kParametricControls[] = {
    {1000, ControlKind::Edit, "", 74, 22, 27, 12, kEdit},
    {1003, ControlKind::Edit, "", 13, 85, 29, 12, kEdit},
    {1015, ControlKind::Edit, "", 13, 98, 29, 12, kEdit},
    {1022, ControlKind::Edit, "", 13, 111, 29, 12, kEdit},
    {1029, ControlKind::Edit, "", 13, 124, 29, 12, kEdit},
    {1036, ControlKind::Edit, "", 13, 137, 29, 12, kEdit},
    {1043, ControlKind::Edit, "", 13, 149, 29, 12, kEdit},
    {1050, ControlKind::Edit, "", 13, 162, 29, 12, kEdit},
    {1057, ControlKind::Edit, "", 13, 175, 29, 12, kEdit},
    {1064, ControlKind::Edit, "", 13, 188, 29, 12, kEdit},
    {1004, ControlKind::Edit, "", 73, 85, 29, 12, kEdit},
    {1016, ControlKind::Edit, "", 73, 98, 29, 12, kEdit},
    {1023, ControlKind::Edit, "", 73, 111, 29, 12, kEdit},
    {1030, ControlKind::Edit, "", 73, 124, 29, 12, kEdit},
    {1037, ControlKind::Edit, "", 73, 137, 29, 12, kEdit},
    {1044, ControlKind::Edit, "", 73, 149, 29, 12, kEdit},
    {1051, ControlKind::Edit, "", 73, 162, 29, 12, kEdit},
    {1058, ControlKind::Edit, "", 73, 175, 29, 12, kEdit},
    {1065, ControlKind::Edit, "", 73, 188, 29, 12, kEdit},
    {1010, ControlKind::Edit, "", 121, 85, 24, 12, kEdit},
    {1011, ControlKind::Edit, "", 148, 85, 24, 12, kEdit},
    {1012, ControlKind::Edit, "", 175, 85, 24, 12, kEdit},
    {1013, ControlKind::Edit, "", 202, 85, 24, 12, kEdit},
    {1014, ControlKind::Edit, "", 229, 85, 24, 12, kEdit},
    {1017, ControlKind::Edit, "", 121, 98, 24, 12, kEdit},
    {1018, ControlKind::Edit, "", 148, 98, 24, 12, kEdit},
    {1019, ControlKind::Edit, "", 175, 98, 24, 12, kEdit},
    {1020, ControlKind::Edit, "", 202, 98, 24, 12, kEdit},
    {1021, ControlKind::Edit, "", 229, 98, 24, 12, kEdit},
    {1024, ControlKind::Edit, "", 121, 111, 24, 12, kEdit},
    {1025, ControlKind::Edit, "", 148, 111, 24, 12, kEdit},
    {1026, ControlKind::Edit, "", 175, 111, 24, 12, kEdit},
    {1027, ControlKind::Edit, "", 202, 111, 24, 12, kEdit},
    {1028, ControlKind::Edit, "", 229, 111, 24, 12, kEdit},
    {1031, ControlKind::Edit, "", 121, 124, 24, 12, kEdit},
    {1032, ControlKind::Edit, "", 148, 124, 24, 12, kEdit},
    {1033, ControlKind::Edit, "", 175, 124, 24, 12, kEdit},
    {1034, ControlKind::Edit, "", 202, 124, 24, 12, kEdit},
    {1035, ControlKind::Edit, "", 229, 124, 24, 12, kEdit},
    {1038, ControlKind::Edit, "", 121, 137, 24, 12, kEdit},
    {1039, ControlKind::Edit, "", 148, 137, 24, 12, kEdit},
    {1040, ControlKind::Edit, "", 175, 137, 24, 12, kEdit},
    {1041, ControlKind::Edit, "", 202, 137, 24, 12, kEdit},
    {1042, ControlKind::Edit, "", 229, 137, 24, 12, kEdit},
    {1045, ControlKind::Edit, "", 121, 149, 24, 12, kEdit},
    {1046, ControlKind::Edit, "", 148, 149, 24, 12, kEdit},
    {1047, ControlKind::Edit, "", 175, 149, 24, 12, kEdit},
    {1048, ControlKind::Edit, "", 202, 149, 24, 12, kEdit},
    {1049, ControlKind::Edit, "", 229, 149, 24, 12, kEdit},
    {1052, ControlKind::Edit, "", 121, 162, 24, 12, kEdit},
    {1053, ControlKind::Edit, "", 148, 162, 24, 12, kEdit},
    {1054, ControlKind::Edit, "", 175, 162, 24, 12, kEdit},
    {1055, ControlKind::Edit, "", 202, 162, 24, 12, kEdit},
    {1056, ControlKind::Edit, "", 229, 162, 24, 12, kEdit},
    {1059, ControlKind::Edit, "", 121, 175, 24, 12, kEdit},
    {1060, ControlKind::Edit, "", 148, 175, 24, 12, kEdit},
    {1061, ControlKind::Edit, "", 175, 175, 24, 12, kEdit},
    {1062, ControlKind::Edit, "", 202, 175, 24, 12, kEdit},
    {1063, ControlKind::Edit, "", 229, 175, 24, 12, kEdit},
    {1066, ControlKind::Edit, "", 121, 188, 24, 12, kEdit},
    {1067, ControlKind::Edit, "", 148, 188, 24, 12, kEdit},
    {1068, ControlKind::Edit, "", 175, 188, 24, 12, kEdit},
    {1069, ControlKind::Edit, "", 202, 188, 24, 12, kEdit},
    {1070, ControlKind::Edit, "", 229, 188, 24, 12, kEdit},
    {IDOK, ControlKind::DefPushButton, "&OK", 147, 214, 50, 14, WS_TABSTOP},
    {IDCANCEL, ControlKind::PushButton, "&Cancel", 81, 214, 50, 14, WS_TABSTOP},
    {IDC_STATIC, ControlKind::StaticText, "Number of Runs", 14, 23, 57, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Chamber ", 13, 53, 30, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Exhaust", 75, 53, 25, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Mass of Each Component", 158, 13, 78, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Pressures", 41, 42, 32, 8, 0},
    {1001, ControlKind::Edit, "", 13, 65, 29, 12, kReadOnlyCell},
    {1002, ControlKind::Edit, "", 73, 65, 29, 12, kReadOnlyCell},
    {1005, ControlKind::Edit, "", 121, 65, 24, 12, kReadOnlyCell},
    {1006, ControlKind::Edit, "", 148, 65, 24, 12, kReadOnlyCell},
    {1007, ControlKind::Edit, "", 175, 65, 24, 12, kReadOnlyCell},
    {1008, ControlKind::Edit, "", 202, 65, 24, 12, kReadOnlyCell},
    {1009, ControlKind::Edit, "", 229, 65, 24, 12, kReadOnlyCell},
    {IDC_STATIC, ControlKind::StaticText, "(note: you may only change the mass", 143, 23, 111, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "of the first 5 ingredients)", 163, 33, 70, 8, 0},
    {1071, ControlKind::StaticText, "Static", 125, 51, 18, 8, 0},
    {1072, ControlKind::StaticText, "Static", 151, 51, 18, 8, 0},
    {1073, ControlKind::StaticText, "Static", 179, 50, 18, 8, 0},
    {1074, ControlKind::StaticText, "Static", 205, 50, 18, 8, 0},
    {1075, ControlKind::StaticText, "Static", 233, 51, 18, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Base", 50, 62, 17, 8, 0},
    {IDC_STATIC, ControlKind::StaticText, "Case", 50, 70, 17, 8, 0},
};

}  // namespace

const DialogTemplate kAboutDialogTemplate = {
    IDD_ABOUTBOX, "About wtharsel", 0, 0, 153, 66, "MS Sans Serif", 8, kDialogStyle, 0, kAboutControls,
};

const DialogTemplate kCaseDialogTemplate = {
    IDD_CASE_DIALOG, "wTharsel", 0, 0, 338, 254, "MS Sans Serif", 8, kDialogStyle | WS_VISIBLE, WS_EX_APPWINDOW,
    kCaseControls,
};

const DialogTemplate kIngredientDialogTemplate = {
    IDD_INGREDIENT_DIALOG, "Ingredients", 0, 0, 187, 133, "MS Sans Serif", 8, kDialogStyle, 0,
    kIngredientControls,
};

const DialogTemplate kParametricDialogTemplate = {
    IDD_PARAMETRIC_DIALOG, "Parametric Parameters", 0, 0, 278, 235, "MS Sans Serif", 8, kDialogStyle, 0,
    kParametricControls,
};
