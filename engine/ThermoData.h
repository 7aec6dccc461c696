#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DataProblem.h"
#include "Formula.h"

// One temperature interval of a species' 9-coefficient fit:
//   Cp/R = a1/T^2 + a2/T + a3 + a4 T + a5 T^2 + a6 T^3 + a7 T^4
// with b1 and b2 the integration constants of H/RT and S/R.
struct ThermoInterval {
    double low = 0.0;   // K
    double high = 0.0;  // K
    double a[7] = {};
    double b[2] = {};
};

struct Species {
    std::string name;
    Formula formula;        // "E" counts the electrons an ion lacks (negative) or carries
    bool condensed = false;
    double molarMass = 0.0; // g/mol
    std::vector<ThermoInterval> intervals;  // in order of temperature

    double LowestTemperature() const { return intervals.front().low; }
    double HighestTemperature() const { return intervals.back().high; }
    bool IsIon() const;
};

struct ThermoReading {
    std::vector<Species> species;
    std::optional<DataProblem> problem;
    bool ok() const { return !problem.has_value(); }
};

// Reads species records in NASA Glenn's 9-coefficient format: comment lines
// starting with "!", an optional "thermo" line followed by its line of default
// temperatures, then the records up to "END PRODUCTS", "END REACTANTS" or the
// end of the text.  Records without intervals (reactants of fixed enthalpy)
// are passed over.  With a list of elements (capitals, "E" for ions), only
// the species made of them are kept, and the fits of the others are not read.
ThermoReading ReadThermoData(std::string_view text, const std::vector<std::string>* elements = nullptr);

// The same from the rest of an open file; the caller opens and closes it.
ThermoReading ReadThermoData(std::FILE* file, const std::vector<std::string>* elements = nullptr);

// Dimensionless properties of a species at T: Cp/R, H/RT and S/R (at 1 bar).
// Outside the fitted range the nearest interval's fit is used.
struct SpeciesProperties {
    double cp = 0.0;
    double h = 0.0;
    double s = 0.0;
};
SpeciesProperties PropertiesAt(const Species& species, double temperature);

// Whether the species' fits cover T.
bool Covers(const Species& species, double temperature);
