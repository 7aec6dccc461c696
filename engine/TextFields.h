#pragma once

#include <optional>
#include <string_view>
#include <vector>

// Small text helpers shared by the engine's file readers.  Numbers are read
// the same way whatever the process's locale.

// The lines of a text, without their line ends (LF or CR LF).  A last line
// without a line end counts; the empty rest after a final line end does not.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// The text without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// The blank- or tab-separated words of a text.
std::vector<std::string_view> SplitWords(std::string_view text);

// The whole text as a real in plain or exponent notation ("1.5", "-2e3", and
// Fortran's "1.5D+03"); nothing when anything else is in it.
std::optional<double> ParseWholeReal(std::string_view text);

// Columns first..first+count-1 (0-based first) of a line, clipped to its end.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t count);
