#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DeckReader.h"
#include "Equilibrium.h"
#include "IngredientDatabase.h"
#include "Propellant.h"
#include "Rocket.h"

// Conversions of the units the deck and the report use.
inline constexpr double kBarPerPsi = 0.0689475729;
inline constexpr double kBarPerAtm = 1.01325;
inline constexpr double kPsiPerAtm = kBarPerAtm / kBarPerPsi;
inline constexpr double kStandardGravity = 9.80665;  // m/s2, N s/kg per lbf s/lbm
inline constexpr double kMetrePerFoot = 0.3048;

// The deck's options, digits 1 to 4 and 8 of line 7.
struct CaseOptions {
    bool deleteExitCalculations = false;
    bool ions = false;
    bool boostAndNozzle = false;
    bool pressureInAtm = false;
    bool listAllSpecies = false;
};
CaseOptions OptionsOf(const DeckValues& deck);

// One run of the deck, computed or failed.
struct RunOutcome {
    int run = 0;                       // 1-based
    double chamberPsia = 0.0;
    double exitPsia = 0.0;
    std::vector<double> masses;        // of components 1 to n
    std::optional<Propellant> propellant;
    std::optional<ChemicalSystem> system;
    RocketResult rocket;
    bool ok = false;
    std::string status;                // ok or a short reason, for the results file
    std::string message;               // the reason in words
};

struct CaseOutcome {
    std::string caseName;              // line 1 of the deck without its padding
    std::string title;
    DeckValues deck;
    CaseOptions options;
    std::vector<RunOutcome> runs;
    bool AllComputed() const;
};

// The case name of a deck's first line: the text before ".out", without blanks.
std::string CaseNameOf(const std::string& reportLine);

// Computes every run of the deck; a run that fails leaves the others alone.
CaseOutcome ComputeCase(const DeckValues& deck, const std::vector<Ingredient>& ingredients,
                        const std::vector<Species>& species);
