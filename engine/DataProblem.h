#pragma once

#include <string>

// Where and why a data file could not be read: the 1-based line and what was
// expected there.  Line 0 means the file as a whole.
struct DataProblem {
    int line = 0;
    std::string message;
};
