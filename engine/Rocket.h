#pragma once

#include <string>
#include <vector>

#include "Equilibrium.h"

// One point of the flow from the chamber through the nozzle.
struct FlowPoint {
    MixtureProperties properties;
    Composition composition;
    double velocity = 0.0;    // m/s
    double mach = 0.0;
    double areaRatio = 0.0;   // A/At
    double massFlux = 0.0;    // kg/(m2 s)
};

// The expansion to one exit pressure, in shifting or frozen equilibrium.
struct Performance {
    bool computed = false;
    std::string failure;       // why it was not, when it was tried
    std::string note;          // a caveat for the report, e.g. a phase used past its range
    FlowPoint chamber, throat, exit;
    double cstar = 0.0;        // m/s
    double cf = 0.0;           // exit velocity / c*
    double isp = 0.0;          // m/s, at the exit pressure
    double ispVacuum = 0.0;    // m/s
};

// One line of the nozzle design table.
struct NozzleRow {
    FlowPoint point;
    double isp = 0.0;          // m/s at the row's pressure
    double ispVacuum = 0.0;    // m/s
    double cf = 0.0;
};

struct RocketInput {
    double chamberPressure = 0.0;  // bar
    double exitPressure = 0.0;     // bar
    bool exitCalculations = true;
    bool nozzleTable = false;
    const Composition* chamberStart = nullptr;  // a chamber of the same system, as first estimate
};

struct RocketResult {
    bool ok = false;
    std::string status = "ok";     // for the results file: ok, no-convergence, ...
    std::string message;           // the failure in words
    EquilibriumResult chamber;
    Performance shifting, frozen;
    std::vector<NozzleRow> table;  // shifting equilibrium, over area and pressure ratios
};

// The chamber at the propellant's enthalpy and the chamber pressure, then,
// unless exit calculations are off, the expansions to the exit pressure.
RocketResult ComputeRocket(const ChemicalSystem& system, double enthalpy, const RocketInput& input);

// Area ratios and pressure ratios (chamber over local) of the design table.
extern const std::vector<double> kTableAreaRatios;
extern const std::vector<double> kTablePressureRatios;
