#pragma once

#include <string_view>
#include <vector>

// The lines of a text file's contents.  A line ends at a line feed; a
// carriage return before it is dropped, as a text-mode stream drops it.  A
// line is never cut, whatever its length.
std::vector<std::string_view> SplitTextLines(std::string_view text);
