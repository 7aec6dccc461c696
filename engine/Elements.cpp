#include "Elements.h"

#include <array>
#include <cctype>

namespace {

struct ElementWeight {
    const char* symbol;
    double weight;
};

// IUPAC standard atomic weights (2001), the values NASA's thermochemical data
// are computed with, and the electron.
constexpr std::array<ElementWeight, 56> kElements{{
    {"E", 0.000548579903}, {"H", 1.00794}, {"HE", 4.002602}, {"LI", 6.941},
    {"BE", 9.012182}, {"B", 10.811}, {"C", 12.0107}, {"N", 14.0067},
    {"O", 15.9994}, {"F", 18.9984032}, {"NE", 20.1797}, {"NA", 22.98977},
    {"MG", 24.305}, {"AL", 26.981538}, {"SI", 28.0855}, {"P", 30.973761},
    {"S", 32.065}, {"CL", 35.453}, {"AR", 39.948}, {"K", 39.0983},
    {"CA", 40.078}, {"SC", 44.95591}, {"TI", 47.867}, {"V", 50.9415},
    {"CR", 51.9961}, {"MN", 54.938049}, {"FE", 55.845}, {"CO", 58.9332},
    {"NI", 58.6934}, {"CU", 63.546}, {"ZN", 65.409}, {"GA", 69.723},
    {"GE", 72.64}, {"AS", 74.9216}, {"SE", 78.96}, {"BR", 79.904},
    {"KR", 83.798}, {"RB", 85.4678}, {"SR", 87.62}, {"Y", 88.90585},
    {"ZR", 91.224}, {"NB", 92.90638}, {"MO", 95.94}, {"AG", 107.8682},
    {"CD", 112.411}, {"SN", 118.71}, {"SB", 121.76}, {"I", 126.90447},
    {"XE", 131.293}, {"CS", 132.90545}, {"BA", 137.327}, {"TA", 180.9479},
    {"W", 183.84}, {"PT", 195.078}, {"PB", 207.2}, {"BI", 208.98038},
}};

}  // namespace

std::string NormalizeSymbol(std::string_view symbol)
{
    std::string upper;
    for (char c : symbol)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::optional<double> AtomicWeight(std::string_view symbol)
{
    const std::string upper = NormalizeSymbol(symbol);
    for (const ElementWeight& element : kElements) {
        if (upper == element.symbol)
            return element.weight;
    }
    return std::nullopt;
}
