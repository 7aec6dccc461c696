#include "Formula.h"

double CountOf(const Formula& formula, const std::string& element)
{
    double count = 0.0;
    for (const FormulaTerm& term : formula) {
        if (term.element == element)
            count += term.count;
    }
    return count;
}
