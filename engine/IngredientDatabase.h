#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DataProblem.h"
#include "Formula.h"

// One line of the ingredient database "NAME ; FORMULA ; DHF ; DENSITY".
struct Ingredient {
    std::string name;
    Formula formula;               // symbols in capitals, counts as written
    double heatOfFormation = 0.0;  // kJ per mole of the formula, 298.15 K
    double density = 0.0;          // g/cm3
    double molarMass = 0.0;        // g per mole of the formula
};

struct IngredientReading {
    std::vector<Ingredient> ingredients;  // ingredient n at index n - 1
    std::optional<DataProblem> problem;
    bool ok() const { return !problem.has_value(); }
};

// Reads the whole database; stops at the first line that is not an
// ingredient.  Blank lines after the last ingredient are passed over.
IngredientReading ReadIngredientDatabase(std::string_view text);

// Reads one line; the message says what is wrong with it.
std::optional<Ingredient> ReadIngredientLine(std::string_view line, std::string& message);
