#pragma once

#include <string>

// The case and the run table hold at most this many components and runs; every
// loop over components or runs is bounded by these.
inline constexpr int kMaxComponents = 10;
inline constexpr int kMaxRuns = 10;

// One propellant case as the main form edits it, with the form's defaults.
struct CaseRecord {
    std::string m_caseFile;                 // at most 8 characters, no extension
    std::string m_caseTitle;                // at most 16 characters
    int m_componentCount = 1;               // 1 to 10
    double m_densityExponent = 1.0;
    double m_initialTemperature = 298.0;    // K
    double m_cpA = 0.3;                     // solid Cp = a + b*T + c*T^2
    double m_cpB = 0.0;
    double m_cpC = 0.0;
    int m_ingredientId[kMaxComponents] = {};        // line numbers in kalcoded.daf
    double m_ingredientWeight[kMaxComponents] = {};
    double m_chamberPressure = 1000.0;      // psia
    double m_exhaustPressure = 14.696;      // psia
    int m_deleteExitCalcs = 0;              // the five options: 1 ticked, 0 clear
    int m_ionicSpecies = 0;
    int m_boostAndNozzle = 0;
    int m_pressureInAtm = 0;
    int m_listAllSpecies = 0;
};
