#pragma once

#include <optional>
#include <string>
#include <string_view>

// Element symbols are kept in capitals ("CL", "AL", "E" for the electron), as
// the thermochemical data write most of them; symbols are compared that way.
std::string NormalizeSymbol(std::string_view symbol);

// Atomic weight in g/mol of a symbol in any letter case, or nothing for a
// symbol that is not an element.
std::optional<double> AtomicWeight(std::string_view symbol);
