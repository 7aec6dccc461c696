#include "ThermoData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Elements.h"
#include "TextFields.h"

bool Species::IsIon() const
{
    return CountOf(formula, "E") != 0.0 || name == "e-";
}

namespace {

// The exponents of T that the format allows; other fits are refused.
constexpr double kExponents[7] = {-2.0, -1.0, 0.0, 1.0, 2.0, 3.0, 4.0};

// Lines of a text or of an open file, one at a time, counted from 1.  A
// line is valid until the next one is taken.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual std::optional<std::string_view> Next() = 0;
    int Number() const { return m_number; }

protected:
    static std::string_view WithoutEnd(std::string_view line)
    {
        if (!line.empty() && line.back() == '\n')
            line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }
    int m_number = 0;
};

class TextLines : public LineSource {
public:
    explicit TextLines(std::string_view text) : m_rest(text) {}

    std::optional<std::string_view> Next() override
    {
        if (m_rest.empty())
            return std::nullopt;
        const std::size_t end = m_rest.find('\n');
        const std::string_view line = m_rest.substr(0, end == std::string_view::npos ? end : end + 1);
        m_rest.remove_prefix(line.size());
        ++m_number;
        return WithoutEnd(line);
    }

private:
    std::string_view m_rest;
};

class FileLines : public LineSource {
public:
    explicit FileLines(std::FILE* file) : m_file(file) {}

    std::optional<std::string_view> Next() override
    {
        m_line.clear();
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, m_file) != nullptr) {
            m_line += buffer;
            if (m_line.back() == '\n')
                break;
        }
        if (m_line.empty())
            return std::nullopt;
        ++m_number;
        return WithoutEnd(m_line);
    }

private:
    std::FILE* m_file;
    std::string m_line;
};

bool IsEndLine(std::string_view line)
{
    return line.starts_with("END PRODUCTS") || line.starts_with("END REACTANTS");
}

bool IsSkipped(std::string_view line)
{
    return line.starts_with("!") || TrimBlanks(line).empty();
}

bool Allowed(const Formula& formula, const std::vector<std::string>* elements)
{
    if (elements == nullptr)
        return true;
    for (const FormulaTerm& term : formula) {
        if (std::find(elements->begin(), elements->end(), term.element) == elements->end())
            return false;
    }
    return true;
}

class RecordReader {
public:
    RecordReader(LineSource& lines, const std::vector<std::string>* elements)
        : m_lines(lines), m_elements(elements) {}

    std::optional<DataProblem> problem;

    // Reads the records up to the end line or the end of the source.
    std::vector<Species> ReadAll()
    {
        std::vector<Species> species;
        std::optional<std::string_view> line = NextUsed();
        if (line && line->starts_with("thermo")) {
            if (!m_lines.Next())
                return species;
            line = NextUsed();
        }
        while (line && !IsEndLine(*line)) {
            Species one;
            bool keep = false;
            if (!Read(std::string(*line), one, keep))
                return {};
            if (keep && !one.intervals.empty())
                species.push_back(std::move(one));
            line = NextUsed();
        }
        return species;
    }

private:
    std::optional<std::string_view> NextUsed()
    {
        std::optional<std::string_view> line;
        do {
            line = m_lines.Next();
        } while (line && IsSkipped(*line));
        return line;
    }

    bool Read(const std::string& nameLine, Species& species, bool& keep)
    {
        const std::vector<std::string_view> words = SplitWords(Columns(nameLine, 0, 24));
        if (words.empty())
            return Fail("expected a species name");
        species.name = std::string(words[0]);
        const std::optional<std::string_view> head = Take();
        if (!head)
            return false;
        const std::optional<double> intervals = ParseWholeReal(Columns(*head, 0, 2));
        if (!intervals || *intervals < 0 || *intervals > 20 || *intervals != std::floor(*intervals))
            return Fail("expected the number of temperature intervals in columns 1-2");
        if (!ReadFormula(*head, species.formula))
            return false;
        const std::string_view phase = TrimBlanks(Columns(*head, 50, 2));
        species.condensed = !phase.empty() && phase != "0";
        const std::optional<double> molarMass = ParseWholeReal(Columns(*head, 52, 13));
        if (!molarMass || !(*molarMass > 0.0))
            return Fail("expected the molecular weight in columns 53-65");
        species.molarMass = *molarMass;
        keep = Allowed(species.formula, m_elements);
        const int count = static_cast<int>(*intervals);
        if (count == 0)
            return Take().has_value();
        for (int k = 0; k < count; ++k) {
            ThermoInterval interval;
            if (!ReadInterval(interval, keep))
                return false;
            species.intervals.push_back(interval);
        }
        return true;
    }

    std::optional<std::string_view> Take()
    {
        std::optional<std::string_view> line = m_lines.Next();
        if (!line)
            problem = DataProblem{m_lines.Number(), "the file ends inside a species record"};
        return line;
    }

    bool Fail(std::string message)
    {
        problem = DataProblem{m_lines.Number(), std::move(message)};
        return false;
    }

    bool ReadFormula(std::string_view head, Formula& formula)
    {
        for (std::size_t k = 0; k < 5; ++k) {
            const std::string_view field = Columns(head, 10 + 8 * k, 8);
            const std::string_view symbol = TrimBlanks(Columns(field, 0, 2));
            const std::optional<double> count = ParseWholeReal(Columns(field, 2, 6));
            if (symbol.empty())
                continue;
            if (!count || !AtomicWeight(symbol))
                return Fail("expected element symbols and counts in columns 11-50");
            if (*count != 0.0)
                formula.push_back({NormalizeSymbol(symbol), *count});
        }
        if (formula.empty())
            return Fail("the species has no elements");
        return true;
    }

    // An interval's three lines; those of a species that is not kept are
    // only counted.
    bool ReadInterval(ThermoInterval& interval, bool parse)
    {
        const std::optional<std::string_view> range = Take();
        if (!range)
            return false;
        if (parse && !ReadRange(*range, interval))
            return false;
        const std::optional<std::string_view> first = Take();
        if (!first)
            return false;
        for (std::size_t k = 0; parse && k < 5; ++k) {
            if (!ReadCoefficient(*first, k * 16, interval.a[k]))
                return false;
        }
        const std::optional<std::string_view> second = Take();
        if (!second)
            return false;
        return !parse || (ReadCoefficient(*second, 0, interval.a[5]) && ReadCoefficient(*second, 16, interval.a[6]) &&
                          ReadCoefficient(*second, 48, interval.b[0]) && ReadCoefficient(*second, 64, interval.b[1]));
    }

    bool ReadRange(std::string_view range, ThermoInterval& interval)
    {
        const std::optional<double> low = ParseWholeReal(Columns(range, 0, 11));
        const std::optional<double> high = ParseWholeReal(Columns(range, 11, 11));
        if (!low || !high || !(*low > 0.0) || !(*high > *low))
            return Fail("expected a temperature range in columns 1-22");
        for (std::size_t k = 0; k < 7; ++k) {
            const std::optional<double> exponent = ParseWholeReal(Columns(range, 23 + 5 * k, 5));
            if (!exponent || *exponent != kExponents[k])
                return Fail("expected the exponents -2 -1 0 1 2 3 4 in columns 24-58");
        }
        interval.low = *low;
        interval.high = *high;
        return true;
    }

    bool ReadCoefficient(std::string_view line, std::size_t column, double& value)
    {
        const std::optional<double> number = ParseWholeReal(Columns(line, column, 16));
        if (!number)
            return Fail("expected a coefficient in columns " + std::to_string(column + 1) + "-" +
                        std::to_string(column + 16));
        value = *number;
        return true;
    }

    LineSource& m_lines;
    const std::vector<std::string>* m_elements;
};

ThermoReading ReadFrom(LineSource& lines, const std::vector<std::string>* elements)
{
    ThermoReading reading;
    RecordReader reader(lines, elements);
    reading.species = reader.ReadAll();
    reading.problem = reader.problem;
    if (reading.ok() && reading.species.empty())
        reading.problem = DataProblem{0, "the file holds no species"};
    return reading;
}

}  // namespace

ThermoReading ReadThermoData(std::string_view text, const std::vector<std::string>* elements)
{
    TextLines lines(text);
    return ReadFrom(lines, elements);
}

ThermoReading ReadThermoData(std::FILE* file, const std::vector<std::string>* elements)
{
    FileLines lines(file);
    return ReadFrom(lines, elements);
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
