#pragma once

#include <string>

#include "CaseRun.h"

// The report of a case: fixed-column text in pages, the case title at the top
// of every page; the ingredients, then a section per run and, for a series of
// runs, a summary with a line per run.
std::string FormatReport(const CaseOutcome& outcome);

// The report of a case that could not be computed at all.
std::string FormatFailureReport(const std::string& title, const std::string& message);

// Lines per page, page heading included.
inline constexpr int kReportPageLines = 60;
