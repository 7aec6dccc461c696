#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DataProblem.h"

// The engine's setup file: "HD", then the paths of the ingredient database,
// a path the engine does not use, the thermochemical data and the results file.
struct SetupPaths {
    std::string ingredientDatabase;
    std::string notUsed;
    std::string thermoData;
    std::string resultsFile;
};

struct SetupReading {
    SetupPaths paths;
    std::optional<DataProblem> problem;
    bool ok() const { return !problem.has_value(); }
};

// Reads the five lines; each path is the whole line, blanks included, in the
// form the platform writes it.
SetupReading ReadSetupFile(std::string_view text);
