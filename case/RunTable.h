#pragma once

#include "CaseRecord.h"

// Up to ten runs of one case that differ in pressures and masses.  Run r is
// stored at index r - 1; run 1 is the base case.
struct RunTable {
    int runCount = 1;
    int ingredientId[kMaxComponents] = {};
    double chamberPressure[kMaxRuns] = {};
    double exhaustPressure[kMaxRuns] = {};
    double mass[kMaxComponents][kMaxRuns] = {};  // [component][run]

    bool operator==(const RunTable&) const = default;
};

// The process-wide run table.  It is never reset while the process runs: the
// run count and runs 2 to 10 carry over from one case to the next.
extern RunTable g_runTable;

// The forms and the deck writer know the table's parts by these names.
inline int& g_runCount = g_runTable.runCount;
inline auto& g_ingredientId = g_runTable.ingredientId;
inline auto& g_chamberPressure = g_runTable.chamberPressure;
inline auto& g_exhaustPressure = g_runTable.exhaustPressure;
inline auto& g_mass = g_runTable.mass;

// The run count saved when the parametric form opens, restored by its Cancel.
extern int g_savedRunCount;
// The ingredient number passed into and out of the ingredient picker.
extern int g_pickedIngredient;

// Brings run 1 and the ingredient numbers up to date from the case: all ten
// rows, whatever the component count.  The run count and runs 2 to 10 stay.
void CopyCaseToRunTable(const CaseRecord& record, RunTable& table = g_runTable);
