#pragma once

#include <string>

#include "DeckReader.h"
#include "RunTable.h"

// A saved case as the main form shows it: the texts of its fields, the
// option digits for its check boxes.  Rows beyond the component count carry
// no text; the form leaves those fields as they are.
struct LoadedCase {
    std::string title;                           // 1001: 16 characters, padding included
    std::string componentCount;                  // 1002
    std::string densityExponent;                 // 1003: the deck's line as it stands
    std::string initialTemperature;              // 1004: the same
    std::string cp[3];                           // 1005 to 1007
    int options[5] = {};                         // 1008 to 1012: option digits 1 to 4, then 8
    std::string ingredientId[kMaxComponents];    // 1013 on, rows 1 to n
    std::string weight[kMaxComponents];          // 1023 on, run 1's masses of rows 1 to n
    std::string chamberPressure;                 // 1033
    std::string exhaustPressure;                 // 1034
    int rows = 0;                                // n: rows 1 to n are enabled
};

struct SavedCase {
    enum class Status {
        Loaded,     // the deck was read whole
        Missing,    // no such file: passed over in silence
        Unopened,   // the file exists but cannot be read (a directory, say)
        Malformed,  // the deck cannot be loaded; message says why
    };
    Status status = Status::Missing;
    std::string message;   // for Malformed: which file and what is wrong with it
    LoadedCase form;       // for Loaded
    DeckValues deck;       // for Loaded: what ApplySavedRuns puts into the table
};

// Reads "<caseFile>.inp" in the working directory, for reading only, so a
// read-only saved case loads too.
SavedCase ReadSavedCase(const std::string& caseFile);

// The loaded deck's runs into the table: the run count, runs 2 to the count
// from the deck (components beyond the deck's count zeroed), and the runs
// beyond the count as copies of the table's own run 1.  Run 1 and the
// ingredient numbers stay as they are.
void ApplySavedRuns(const DeckValues& deck, RunTable& table = g_runTable);
