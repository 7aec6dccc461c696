#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "TextLines.h"  // SplitTextLines, shared with the deck reader

// Small text helpers shared by the engine's file readers.  Numbers are read
// the same way whatever the process's locale.

// The text without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// The blank- or tab-separated words of a text.
std::vector<std::string_view> SplitWords(std::string_view text);

// The whole text as a real in plain or exponent notation ("1.5", "-2e3", and
// Fortran's "1.5D+03"); nothing when anything else is in it.
std::optional<double> ParseWholeReal(std::string_view text);

// Columns first..first+count-1 (0-based first) of a line, clipped to its end.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t count);
