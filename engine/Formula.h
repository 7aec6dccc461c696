#pragma once

#include <string>
#include <vector>

// A chemical formula: element symbols in capitals with their counts.
struct FormulaTerm {
    std::string element;
    double count = 0.0;
};
using Formula = std::vector<FormulaTerm>;

// The formula's count of an element (0 when it has none).
double CountOf(const Formula& formula, const std::string& element);
