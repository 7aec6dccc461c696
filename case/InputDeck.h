#pragma once

#include <cstdio>
#include <string>

#include "CaseRecord.h"
#include "RunTable.h"

// The engine's input deck: 8 lines, then one line per run, in fixed columns.
//   1  "%-8s.out"           case file name, the engine's report file
//   2  "%-17s"              title
//   3  "%5i    0%5i"        component count, 0, run count
//   4  "%-12f"              density exponent
//   5  "%-12f"              initial temperature
//   6  "%-12f" x 3          Cp coefficients a, b, c
//   7  "%1d" x 8            options 1 to 4, three zeros, option 8
//   8  "%5d" x n            ingredient numbers of components 1 to n
//   8+r "%-12f" x (2 + n)   chamber and exhaust pressure, masses of run r
// Every line ends in CR LF, whatever the platform, so decks move between
// machines unchanged.  Numbers always use a decimal point, whatever the locale.

// The deck's text for the case and the table.  The component count comes from
// the case, the run count, ingredient numbers, pressures and masses from the
// table.  Nothing is validated; counts beyond ten write no more than ten.
std::string FormatInputDeck(const CaseRecord& record, const RunTable& table = g_runTable);

// Writes the deck to a stream the caller has opened for writing and will close.
void WriteInputDeck(std::FILE* deck, const CaseRecord& record, const RunTable& table = g_runTable);

// "%-12f" and "%5d" as printf writes them in the C locale.
std::string FormatFixed6(double value);
