#include "SetupFile.h"

#include <vector>

#include "TextFields.h"

SetupReading ReadSetupFile(std::string_view text)
{
    SetupReading reading;
    const std::vector<std::string_view> lines = SplitTextLines(text);
    if (lines.empty() || TrimBlanks(lines[0]) != "HD") {
        reading.problem = DataProblem{1, "expected the line \"HD\""};
        return reading;
    }
    static const char* const kWhat[4] = {"the path of the ingredient database",
                                         "a path (not used)",
                                         "the path of the thermochemical data file",
                                         "the path of the results file"};
    std::string* const targets[4] = {&reading.paths.ingredientDatabase, &reading.paths.notUsed,
                                     &reading.paths.thermoData, &reading.paths.resultsFile};
    for (std::size_t k = 0; k < 4; ++k) {
        if (lines.size() <= k + 1 || lines[k + 1].empty()) {
            reading.problem = DataProblem{static_cast<int>(k + 2), std::string("expected ") + kWhat[k]};
            return reading;
        }
        *targets[k] = std::string(lines[k + 1]);
    }
    return reading;
}
