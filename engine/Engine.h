#pragma once

#include <cstdio>
#include <string>

// Exit statuses of the engine.
inline constexpr int kEngineAllRuns = 0;      // every run of the deck computed
inline constexpr int kEngineSomeRunsFailed = 1;
inline constexpr int kEngineNoCase = 2;       // setup, deck or data could not be read

// Runs the engine in a working directory: reads "setup.kal" and "input.dat"
// there and the data files that setup.kal names, writes "<case>.out" and the
// results file.  Failures are told on the errors stream and, once the case
// name is known, in the report.
int RunEngine(const std::string& directory, std::FILE* errors);
