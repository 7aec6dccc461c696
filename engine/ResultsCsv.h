#pragma once

#include <string>

#include "CaseRun.h"

// The results file: a header line, then one line per run of the case; an
// empty field where a run did not compute a value.  Without a case (the deck
// could not be read) the file holds the header only.
std::string FormatResultsCsv(const CaseOutcome* outcome);

// The header line, without its line end.
std::string ResultsCsvHeader();
