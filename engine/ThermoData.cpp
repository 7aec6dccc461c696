#include "ThermoData.h"

#include <cmath>

#include "Elements.h"
#include "TextFields.h"

bool Species::IsIon() const
{
    return CountOf(formula, "E") != 0.0 || name == "e-";
}

namespace {

// The exponents of T that the format allows; other fits are refused.
constexpr double kExponents[7] = {-2.0, -1.0, 0.0, 1.0, 2.0, 3.0, 4.0};

class RecordReader {
public:
    RecordReader(const std::vector<std::string_view>& lines, std::size_t first)
        : m_lines(lines), m_index(first) {}

    std::size_t Next() const { return m_index; }
    std::optional<DataProblem> problem;

    std::optional<Species> Read()
    {
        Species species;
        const std::string_view nameLine = m_lines[m_index];
        const std::vector<std::string_view> words = SplitWords(Columns(nameLine, 0, 24));
        if (words.empty())
            return Fail(m_index, "expected a species name");
        species.name = std::string(words[0]);
        if (!Require(2))
            return std::nullopt;
        const std::size_t headLine = m_index + 1;
        const std::string_view head = m_lines[headLine];
        const std::optional<double> intervals = ParseWholeReal(Columns(head, 0, 2));
        if (!intervals || *intervals < 0 || *intervals > 20 || *intervals != std::floor(*intervals))
            return Fail(headLine, "expected the number of temperature intervals in columns 1-2");
        if (!ReadFormula(head, headLine, species.formula))
            return std::nullopt;
        const std::string_view phase = TrimBlanks(Columns(head, 50, 2));
        species.condensed = !phase.empty() && phase != "0";
        const std::optional<double> molarMass = ParseWholeReal(Columns(head, 52, 13));
        if (!molarMass || !(*molarMass > 0.0))
            return Fail(headLine, "expected the molecular weight in columns 53-65");
        species.molarMass = *molarMass;
        const int count = static_cast<int>(*intervals);
        m_index += 2;
        if (count == 0) {
            if (!Require(1))
                return std::nullopt;
            m_index += 1;
            return species;
        }
        for (int k = 0; k < count; ++k) {
            if (!Require(3))
                return std::nullopt;
            ThermoInterval interval;
            if (!ReadInterval(interval))
                return std::nullopt;
            species.intervals.push_back(interval);
            m_index += 3;
        }
        return species;
    }

private:
    std::optional<Species> Fail(std::size_t line, std::string message)
    {
        problem = DataProblem{static_cast<int>(line + 1), std::move(message)};
        return std::nullopt;
    }

    bool Require(std::size_t lines)
    {
        if (m_index + lines <= m_lines.size())
            return true;
        problem = DataProblem{static_cast<int>(m_lines.size()), "the file ends inside a species record"};
        return false;
    }

    bool ReadFormula(std::string_view head, std::size_t line, Formula& formula)
    {
        for (std::size_t k = 0; k < 5; ++k) {
            const std::string_view field = Columns(head, 10 + 8 * k, 8);
            const std::string_view symbol = TrimBlanks(Columns(field, 0, 2));
            const std::optional<double> count = ParseWholeReal(Columns(field, 2, 6));
            if (symbol.empty())
                continue;
            if (!count || !AtomicWeight(symbol)) {
                Fail(line, "expected element symbols and counts in columns 11-50");
                return false;
            }
            if (*count != 0.0)
                formula.push_back({NormalizeSymbol(symbol), *count});
        }
        if (formula.empty()) {
            Fail(line, "the species has no elements");
            return false;
        }
        return true;
    }

    bool ReadInterval(ThermoInterval& interval)
    {
        const std::string_view range = m_lines[m_index];
        const std::optional<double> low = ParseWholeReal(Columns(range, 0, 11));
        const std::optional<double> high = ParseWholeReal(Columns(range, 11, 11));
        if (!low || !high || !(*low > 0.0) || !(*high > *low)) {
            Fail(m_index, "expected a temperature range in columns 1-22");
            return false;
        }
        for (std::size_t k = 0; k < 7; ++k) {
            const std::optional<double> exponent = ParseWholeReal(Columns(range, 23 + 5 * k, 5));
            if (!exponent || *exponent != kExponents[k]) {
                Fail(m_index, "expected the exponents -2 -1 0 1 2 3 4 in columns 24-58");
                return false;
            }
        }
        interval.low = *low;
        interval.high = *high;
        const std::string_view first = m_lines[m_index + 1];
        const std::string_view second = m_lines[m_index + 2];
        for (std::size_t k = 0; k < 5; ++k) {
            if (!ReadCoefficient(first, k * 16, m_index + 1, interval.a[k]))
                return false;
        }
        return ReadCoefficient(second, 0, m_index + 2, interval.a[5]) &&
               ReadCoefficient(second, 16, m_index + 2, interval.a[6]) &&
               ReadCoefficient(second, 48, m_index + 2, interval.b[0]) &&
               ReadCoefficient(second, 64, m_index + 2, interval.b[1]);
    }

    bool ReadCoefficient(std::string_view line, std::size_t column, std::size_t index, double& value)
    {
        const std::optional<double> number = ParseWholeReal(Columns(line, column, 16));
        if (!number) {
            Fail(index, "expected a coefficient in columns " + std::to_string(column + 1) + "-" +
                            std::to_string(column + 16));
            return false;
        }
        value = *number;
        return true;
    }

    const std::vector<std::string_view>& m_lines;
    std::size_t m_index;
};

bool IsEndLine(std::string_view line)
{
    return line.starts_with("END PRODUCTS") || line.starts_with("END REACTANTS");
}

bool IsSkipped(std::string_view line)
{
    return line.starts_with("!") || TrimBlanks(line).empty();
}

}  // namespace

ThermoReading ReadThermoData(std::string_view text)
{
    ThermoReading reading;
    const std::vector<std::string_view> lines = SplitTextLines(text);
    std::size_t i = 0;
    while (i < lines.size() && IsSkipped(lines[i]))
        ++i;
    if (i < lines.size() && lines[i].starts_with("thermo"))
        i += 2;
    while (i < lines.size()) {
        if (IsSkipped(lines[i])) {
            ++i;
            continue;
        }
        if (IsEndLine(lines[i]))
            break;
        RecordReader reader(lines, i);
        std::optional<Species> species = reader.Read();
        if (!species) {
            reading.problem = reader.problem;
            return reading;
        }
        if (!species->intervals.empty())
            reading.species.push_back(std::move(*species));
        i = reader.Next();
    }
    if (reading.species.empty())
        reading.problem = DataProblem{0, "the file holds no species"};
    return reading;
}

SpeciesProperties PropertiesAt(const Species& species, double t)
{
    const ThermoInterval* fit = &species.intervals.front();
    for (const ThermoInterval& interval : species.intervals) {
        fit = &interval;
        if (t <= interval.high)
            break;
    }
    const double* a = fit->a;
    const double lnT = std::log(t);
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    SpeciesProperties p;
    p.cp = a[0] / t2 + a[1] / t + a[2] + a[3] * t + a[4] * t2 + a[5] * t3 + a[6] * t4;
    p.h = -a[0] / t2 + a[1] * lnT / t + a[2] + a[3] * t / 2 + a[4] * t2 / 3 + a[5] * t3 / 4 +
          a[6] * t4 / 5 + fit->b[0] / t;
    p.s = -a[0] / (2 * t2) - a[1] / t + a[2] * lnT + a[3] * t + a[4] * t2 / 2 + a[5] * t3 / 3 +
          a[6] * t4 / 4 + fit->b[1];
    return p;
}

bool Covers(const Species& species, double t)
{
    return t >= species.LowestTemperature() && t <= species.HighestTemperature();
}
