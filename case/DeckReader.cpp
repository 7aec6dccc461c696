#include "DeckReader.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <vector>

#include "TextLines.h"

namespace {

// "%-12f" writes exactly six decimals, so more than six followed by the start
// of another number means two values that touch.
constexpr std::size_t kWrittenDecimals = 6;
// "%5d" writes each ingredient number in five columns.
constexpr std::size_t kIdColumns = 5;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// Scans one value of a line: a cursor over the line and the characters that
// separate fields there (blanks only on lines 8 and the run lines; blanks and
// tabs on lines 3 and 6, which are read with scanf-style white space).
class FieldScanner {
public:
    FieldScanner(std::string_view line, std::string_view separators)
        : m_line(line), m_separators(separators) {}

    bool AtEnd()
    {
        SkipSeparators();
        return m_pos >= m_line.size();
    }

    // A real at the cursor, or nothing when the field holds no number.  The
    // rest of the field after the number is passed over.
    std::optional<double> NextReal()
    {
        SkipSeparators();
        SkipWhite();
        const std::size_t start = m_pos;
        std::size_t p = m_pos;
        if (p < m_line.size() && (m_line[p] == '+' || m_line[p] == '-'))
            ++p;
        const std::size_t intStart = p;
        while (p < m_line.size() && IsDigit(m_line[p]))
            ++p;
        std::size_t digits = p - intStart;
        if (p < m_line.size() && m_line[p] == '.') {
            const std::size_t fracStart = ++p;
            while (p < m_line.size() && IsDigit(m_line[p]))
                ++p;
            const std::size_t fracDigits = p - fracStart;
            digits += fracDigits;
            const bool continues = p < m_line.size() && !IsSeparator(m_line[p]) && !IsExponent(m_line[p]);
            if (fracDigits > kWrittenDecimals && continues)
                p = fracStart + kWrittenDecimals;
        }
        if (digits == 0) {
            PassField();
            return std::nullopt;
        }
        p = ScanExponent(p);
        const double value = ParseReal(m_line.substr(start, p - start));
        m_pos = p;
        PassRestOfField();
        return value;
    }

    // An integer at the cursor (optional sign, digits), or nothing.
    std::optional<long long> NextInteger()
    {
        SkipSeparators();
        SkipWhite();
        std::size_t p = m_pos;
        if (p < m_line.size() && (m_line[p] == '+' || m_line[p] == '-'))
            ++p;
        const std::size_t digitsStart = p;
        while (p < m_line.size() && IsDigit(m_line[p]))
            ++p;
        if (p == digitsStart) {
            PassField();
            return std::nullopt;
        }
        const std::optional<long long> value = ParseInteger(m_line.substr(m_pos, p - m_pos));
        m_pos = p;
        PassRestOfField();
        return value;
    }

private:
    bool IsSeparator(char c) const { return m_separators.find(c) != std::string_view::npos; }
    static bool IsExponent(char c) { return c == 'e' || c == 'E'; }

    void SkipSeparators()
    {
        while (m_pos < m_line.size() && IsSeparator(m_line[m_pos]))
            ++m_pos;
    }
    void SkipWhite()
    {
        while (m_pos < m_line.size() && IsSpace(m_line[m_pos]))
            ++m_pos;
    }
    void PassField()
    {
        while (m_pos < m_line.size() && !IsSeparator(m_line[m_pos]))
            ++m_pos;
    }
    // After a number: a sign or digit right behind it starts the next value
    // (values that touch); anything else is the rest of this field.
    void PassRestOfField()
    {
        if (m_pos < m_line.size()) {
            const char c = m_line[m_pos];
            if (IsDigit(c) || c == '+' || c == '-')
                return;
        }
        PassField();
    }

    std::size_t ScanExponent(std::size_t p) const
    {
        if (p >= m_line.size() || !IsExponent(m_line[p]))
            return p;
        std::size_t q = p + 1;
        if (q < m_line.size() && (m_line[q] == '+' || m_line[q] == '-'))
            ++q;
        const std::size_t digitsStart = q;
        while (q < m_line.size() && IsDigit(m_line[q]))
            ++q;
        return q == digitsStart ? p : q;
    }

    static double ParseReal(std::string_view text)
    {
        bool negative = false;
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            negative = text.front() == '-';
            text.remove_prefix(1);
        }
        double value = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc::result_out_of_range)
            value = std::numeric_limits<double>::infinity();
        return negative ? -value : value;
    }

    static std::optional<long long> ParseInteger(std::string_view text)
    {
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        long long value = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc())
            return std::nullopt;
        return value;
    }

    std::string_view m_line;
    std::string_view m_separators;
    std::size_t m_pos = 0;
};

constexpr std::string_view kBlanks = " ";
constexpr std::string_view kWhite = " \t";

class Reader {
public:
    explicit Reader(std::string_view text) : m_lines(SplitTextLines(text)) {}

    DeckReading Read()
    {
        if (m_lines.empty())
            return Fail(1, "the file is empty");
        DeckValues& d = m_result.deck;
        d.reportLine = std::string(m_lines[0]);
        if (!HasLine(2, "the title"))
            return m_result;
        d.title = std::string(m_lines[1].substr(0, 16));
        if (!ReadCounts() || !ReadTextNumber(4, "the density exponent", d.densityExponentText, d.densityExponent)
            || !ReadTextNumber(5, "the initial temperature", d.temperatureText, d.initialTemperature)
            || !ReadCp() || !ReadOptions() || !ReadIngredients())
            return m_result;
        for (int r = 0; r < d.runs.runCount; ++r) {
            if (!ReadRun(r))
                return m_result;
        }
        return m_result;
    }

private:
    DeckReading Fail(int line, std::string message)
    {
        m_result.problem = DeckProblem{line, std::move(message)};
        return m_result;
    }

    bool HasLine(int line, const std::string& what)
    {
        if (static_cast<std::size_t>(line) <= m_lines.size())
            return true;
        Fail(line, "missing; expected " + what);
        return false;
    }

    std::string_view Line(int line) const { return m_lines[static_cast<std::size_t>(line - 1)]; }

    bool ReadCounts()
    {
        const std::string expected = "three integers: component count, 0, run count";
        if (!HasLine(3, expected))
            return false;
        FieldScanner scan(Line(3), kWhite);
        long long values[3] = {};
        for (long long& value : values) {
            const auto read = scan.NextInteger();
            if (!read) {
                Fail(3, "expected " + expected);
                return false;
            }
            value = *read;
        }
        if (!CountInRange(values[0], kMaxComponents, "component count"))
            return false;
        if (!CountInRange(values[2], kMaxRuns, "run count"))
            return false;
        m_result.deck.componentCount = static_cast<int>(values[0]);
        m_result.deck.runs.runCount = static_cast<int>(values[2]);
        return true;
    }

    bool CountInRange(long long value, int limit, const std::string& what)
    {
        if (value >= 1 && value <= limit)
            return true;
        Fail(3, what + " " + std::to_string(value) + " is outside 1 to " + std::to_string(limit));
        return false;
    }

    bool ReadTextNumber(int line, const std::string& what, std::string& text, double& value)
    {
        if (!HasLine(line, what))
            return false;
        text = std::string(Line(line));
        FieldScanner scan(Line(line), kWhite);
        const auto read = scan.NextReal();
        if (!read) {
            Fail(line, "expected a number: " + what);
            return false;
        }
        value = *read;
        return true;
    }

    bool ReadCp()
    {
        const std::string expected = "three numbers: the solid Cp coefficients a, b and c";
        if (!HasLine(6, expected))
            return false;
        FieldScanner scan(Line(6), kWhite);
        for (double& cp : m_result.deck.cp) {
            const auto read = scan.NextReal();
            if (!read) {
                Fail(6, "expected " + expected);
                return false;
            }
            cp = *read;
        }
        return true;
    }

    bool ReadOptions()
    {
        const std::string expected = "eight option digits";
        if (!HasLine(7, expected))
            return false;
        const std::string_view line = Line(7);
        std::size_t p = 0;
        for (int& option : m_result.deck.options) {
            while (p < line.size() && IsSpace(line[p]))
                ++p;
            if (p >= line.size() || !IsDigit(line[p])) {
                Fail(7, "expected " + expected);
                return false;
            }
            option = line[p++] - '0';
        }
        return true;
    }

    bool ReadIngredients()
    {
        const int n = m_result.deck.componentCount;
        const std::string expected = std::to_string(n) + " ingredient numbers";
        if (!HasLine(8, expected))
            return false;
        const std::string_view line = Line(8);
        int* ids = m_result.deck.runs.ingredientId;
        if (ReadIdColumns(line, n, ids))
            return true;
        FieldScanner scan(line, kBlanks);
        for (int c = 0; c < n; ++c) {
            const bool present = !scan.AtEnd();
            const auto read = scan.NextInteger();
            if (!read || *read < std::numeric_limits<int>::min() || *read > std::numeric_limits<int>::max()) {
                Fail(8, "expected " + expected + (present ? "; ingredient " + std::to_string(c + 1)
                                                               + " is not an integer"
                                                         : ", found " + std::to_string(c)));
                return false;
            }
            ids[c] = static_cast<int>(*read);
        }
        return true;
    }

    // The line as the writer lays it out: n fields of five columns, each an
    // optionally signed integer right-justified in its field.
    static bool ReadIdColumns(std::string_view line, int n, int* ids)
    {
        if (line.size() < kIdColumns * static_cast<std::size_t>(n))
            return false;
        int values[kMaxComponents] = {};
        for (int c = 0; c < n; ++c) {
            std::string_view field = line.substr(kIdColumns * static_cast<std::size_t>(c), kIdColumns);
            while (!field.empty() && field.front() == ' ')
                field.remove_prefix(1);
            if (!field.empty() && (field.front() == '-' || field.front() == '+'))
                field.remove_prefix(1);
            if (field.empty())
                return false;
            for (char ch : field) {
                if (!IsDigit(ch))
                    return false;
            }
            FieldScanner scan(line.substr(kIdColumns * static_cast<std::size_t>(c), kIdColumns), kBlanks);
            values[c] = static_cast<int>(*scan.NextInteger());
        }
        for (int c = 0; c < n; ++c)
            ids[c] = values[c];
        return true;
    }

    bool ReadRun(int r)
    {
        const int line = 9 + r;
        const int n = m_result.deck.componentCount;
        const int expected = 2 + n;
        const std::string what = "the line of run " + std::to_string(r + 1) + " of "
                                 + std::to_string(m_result.deck.runs.runCount) + ": " + std::to_string(expected)
                                 + " numbers (chamber pressure, exhaust pressure, " + std::to_string(n)
                                 + (n == 1 ? " mass)" : " masses)");
        if (!HasLine(line, what))
            return false;
        FieldScanner scan(Line(line), kBlanks);
        double values[2 + kMaxComponents] = {};
        for (int i = 0; i < expected; ++i) {
            const bool present = !scan.AtEnd();
            const auto read = scan.NextReal();
            if (!read) {
                Fail(line, "expected " + what + (present ? "; value " + std::to_string(i + 1) + " is not a number"
                                                         : "; found " + std::to_string(i)));
                return false;
            }
            values[i] = *read;
        }
        RunTable& runs = m_result.deck.runs;
        runs.chamberPressure[r] = values[0];
        runs.exhaustPressure[r] = values[1];
        for (int c = 0; c < n; ++c)
            runs.mass[c][r] = values[2 + c];
        return true;
    }

    std::vector<std::string_view> m_lines;
    DeckReading m_result;
};

}  // namespace

std::string DeckReading::Account() const
{
    if (!problem)
        return {};
    return "line " + std::to_string(problem->line) + ": " + problem->message;
}

DeckReading ReadInputDeck(std::string_view text)
{
    return Reader(text).Read();
}

DeckReading ReadInputDeck(std::FILE* stream)
{
    std::string text;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        text.append(buffer, got);
    return ReadInputDeck(text);
}
