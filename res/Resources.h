#pragma once

#include <string>

#include "DialogTemplate.h"

// The application's resources: its dialogs as templates, its icon and its
// strings.

// Dialog templates by number.
inline constexpr int IDD_ABOUTBOX = 100;         // About box
inline constexpr int IDD_CASE_DIALOG = 102;      // main case form
inline constexpr int IDD_INGREDIENT_DIALOG = 130; // ingredient picker
inline constexpr int IDD_PARAMETRIC_DIALOG = 131; // parametric run form

extern const DialogTemplate kAboutDialogTemplate;
extern const DialogTemplate kCaseDialogTemplate;
extern const DialogTemplate kIngredientDialogTemplate;
extern const DialogTemplate kParametricDialogTemplate;

// Icon 128: a yellow flame with a red core rising from a grey block.
inline constexpr int IDR_MAINFRAME = 128;
extern const IconResource kIcon128;

// String 101, the About entry of the main form's system menu.
inline constexpr int IDS_ABOUTBOX = 101;
// A string resource by number; empty when there is none.
std::string LoadResourceString(int id);
