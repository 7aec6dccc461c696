#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "DeckReader.h"
#include "InputDeck.h"
#include "TestDecks.h"

namespace {

std::string Deck(const std::vector<std::string>& lines, const char* lineEnd = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + lineEnd;
    return text;
}

// The example deck's lines, to be varied by the tests below.
std::vector<std::string> ExampleLines()
{
    return {"demo    .out",
            "sample case      ",
            "    3    0    2",
            "1.000000    ",
            "298.000000  ",
            "0.300000    0.000000    0.000000    ",
            "01000001",
            "   12  345    7",
            "1000.000000 14.696000   70.000000   18.000000   12.000000   ",
            "1500.000000 14.696000   68.500000   19.500000   12.000000   "};
}

void ExpectExampleValues(const DeckReading& reading)
{
    ASSERT_TRUE(reading.ok()) << reading.Account();
    const DeckValues& d = reading.deck;
    EXPECT_EQ(d.reportLine, "demo    .out");
    EXPECT_EQ(d.title, "sample case     ");
    EXPECT_EQ(d.componentCount, 3);
    EXPECT_EQ(d.runs.runCount, 2);
    EXPECT_EQ(d.densityExponentText, "1.000000    ");
    EXPECT_EQ(d.temperatureText, "298.000000  ");
    EXPECT_EQ(d.densityExponent, 1.0);
    EXPECT_EQ(d.initialTemperature, 298.0);
    EXPECT_EQ(d.cp[0], 0.3);
    EXPECT_EQ(d.cp[1], 0.0);
    EXPECT_EQ(d.cp[2], 0.0);
    const int options[8] = {0, 1, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(d.options[i], options[i]) << "digit " << i + 1;
    EXPECT_EQ(d.runs.ingredientId[0], 12);
    EXPECT_EQ(d.runs.ingredientId[1], 345);
    EXPECT_EQ(d.runs.ingredientId[2], 7);
    EXPECT_EQ(d.runs.chamberPressure[0], 1000.0);
    EXPECT_EQ(d.runs.exhaustPressure[0], 14.696);
    EXPECT_EQ(d.runs.mass[0][0], 70.0);
    EXPECT_EQ(d.runs.mass[2][0], 12.0);
    EXPECT_EQ(d.runs.chamberPressure[1], 1500.0);
    EXPECT_EQ(d.runs.mass[0][1], 68.5);
    EXPECT_EQ(d.runs.mass[1][1], 19.5);
}

}  // namespace

TEST(ReadInputDeck, ReadsTheExampleDeck)
{
    ExpectExampleValues(ReadInputDeck(ReadFile(WTHARSEL_TEST_DATA "/example-two-runs.deck")));
}

// Decks edited on a POSIX machine have LF line ends; they must read the same.
TEST(ReadInputDeck, LineFeedOnlyDeckReadsTheSame)
{
    ExpectExampleValues(ReadInputDeck(Deck(ExampleLines(), "\n")));
}

// A deck edited by hand with values apart must still read.
TEST(ReadInputDeck, HandEditedDeckWithBlankSeparatedValues)
{
    std::vector<std::string> lines = ExampleLines();
    lines[2] = "3 0\t2";
    lines[5] = "0.3\t0 0";
    lines[7] = "12 345 7";
    lines[8] = "1000 14.696 70 18 12";
    lines[9] = "  1500.0   14.696  68.5 19.5 12";
    ExpectExampleValues(ReadInputDeck(Deck(lines)));
}

// Writing and reading back loses only what the format drops: the title's
// padding comes back to 16 characters and rewrites the same line 2.
TEST(ReadInputDeck, WriteThenReadGivesTheCaseBack)
{
    CaseRecord record;
    RunTable table;
    FillExampleCase(record, table);
    record.m_caseTitle = "abcd";
    record.m_boostAndNozzle = 1;
    record.m_initialTemperature = 233.15;
    record.m_cpB = 1234.567891;

    const std::string deck = FormatInputDeck(record, table);
    const DeckReading reading = ReadInputDeck(deck);
    ASSERT_TRUE(reading.ok()) << reading.Account();
    const DeckValues& d = reading.deck;
    EXPECT_EQ(d.title, "abcd" + std::string(12, ' '));
    EXPECT_EQ(d.temperatureText, "233.150000  ");
    EXPECT_EQ(d.cp[1], 1234.567891);
    EXPECT_EQ(d.options[2], 1);
    EXPECT_EQ(d.runs.mass[0][1], 68.5);

    CaseRecord again = record;
    again.m_caseTitle = d.title;
    EXPECT_EQ(FormatInputDeck(again, table), deck);
}

struct TouchingCase {
    const char* name;
    double chamber;
    double exhaust;
    double mass1;
    int id2;
    double cp[3];
};

void PrintTo(const TouchingCase& c, std::ostream* os) { *os << c.name; }

class TouchingValues : public testing::TestWithParam<TouchingCase> {};

// Values of 12 characters or more touch the next field; each must still be
// read as the field it was written as, not joined with its neighbour.
TEST_P(TouchingValues, ReadBackAsWritten)
{
    const TouchingCase& c = GetParam();
    CaseRecord record;
    record.m_componentCount = 3;
    record.m_cpA = c.cp[0];
    record.m_cpB = c.cp[1];
    record.m_cpC = c.cp[2];
    RunTable table;
    table.ingredientId[0] = 1;
    table.ingredientId[1] = c.id2;
    table.ingredientId[2] = 3;
    table.chamberPressure[0] = c.chamber;
    table.exhaustPressure[0] = c.exhaust;
    table.mass[0][0] = c.mass1;
    table.mass[1][0] = 2.0;
    table.mass[2][0] = 3.0;

    const DeckReading reading = ReadInputDeck(FormatInputDeck(record, table));
    ASSERT_TRUE(reading.ok()) << reading.Account();
    const DeckValues& d = reading.deck;
    EXPECT_EQ(d.runs.ingredientId[0], 1);
    EXPECT_EQ(d.runs.ingredientId[1], c.id2);
    EXPECT_EQ(d.runs.ingredientId[2], 3);
    EXPECT_DOUBLE_EQ(d.runs.chamberPressure[0], c.chamber);
    EXPECT_DOUBLE_EQ(d.runs.exhaustPressure[0], c.exhaust);
    EXPECT_DOUBLE_EQ(d.runs.mass[0][0], c.mass1);
    EXPECT_DOUBLE_EQ(d.runs.mass[1][0], 2.0);
    EXPECT_DOUBLE_EQ(d.runs.mass[2][0], 3.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(d.cp[i], c.cp[i]) << "Cp coefficient " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Deck, TouchingValues,
    testing::Values(
        TouchingCase{"chamber_10000_psia", 10000.0, 14.696, 70.0, 345, {0.3, 0.0, 0.0}},
        TouchingCase{"chamber_123456_5_psia", 123456.5, 14.696, 70.0, 345, {0.3, 0.0, 0.0}},
        TouchingCase{"every_run_value_wide", 12000.0, 10000.25, 99999.0, 345, {0.3, 0.0, 0.0}},
        TouchingCase{"negative_mass_after_wide_exhaust", 1000.0, 10000.0, -5.0, 345, {0.3, 0.0, 0.0}},
        TouchingCase{"five_digit_ingredient_number", 1000.0, 14.696, 70.0, 12345, {0.3, 0.0, 0.0}},
        TouchingCase{"cp_of_12_characters", 1000.0, 14.696, 70.0, 345, {12345.5, 10000.0, 1.0}},
        TouchingCase{"negative_cp_of_12_characters", 1000.0, 14.696, 70.0, 345, {-1000.0, -2500.125, -0.5}},
        TouchingCase{"cp_wider_than_12", 1000.0, 14.696, 70.0, 345, {1234567.25, 0.001, 98765.4321}}),
    [](const testing::TestParamInfo<TouchingCase>& info) { return std::string(info.param.name); });

// An over-long line must stay one line, or every later line would shift.
TEST(ReadInputDeck, LongLineIsReadAsOneLine)
{
    std::vector<std::string> lines = ExampleLines();
    lines[1] = "sample case" + std::string(289, 'x');
    lines[8] += std::string(200, ' ') + "ignored";
    const DeckReading reading = ReadInputDeck(Deck(lines));
    ASSERT_TRUE(reading.ok()) << reading.Account();
    EXPECT_EQ(reading.deck.title, "sample casexxxxx");
    EXPECT_EQ(reading.deck.componentCount, 3);
    EXPECT_EQ(reading.deck.runs.mass[2][0], 12.0);
    EXPECT_EQ(reading.deck.runs.chamberPressure[1], 1500.0);
}

// Text after a number in its field is passed over, as the format allows.
TEST(ReadInputDeck, RestOfFieldAfterANumberIsIgnored)
{
    std::vector<std::string> lines = ExampleLines();
    lines[8] = "1000psia 14.696 70.0x 18 12";
    const DeckReading reading = ReadInputDeck(Deck(lines));
    ASSERT_TRUE(reading.ok()) << reading.Account();
    EXPECT_EQ(reading.deck.runs.chamberPressure[0], 1000.0);
    EXPECT_EQ(reading.deck.runs.exhaustPressure[0], 14.696);
    EXPECT_EQ(reading.deck.runs.mass[0][0], 70.0);
    EXPECT_EQ(reading.deck.runs.mass[1][0], 18.0);
}

struct MalformedCase {
    const char* name;
    std::string text;
    int line;
    const char* message;
};

std::string ExampleWith(int line, const std::string& text)
{
    std::vector<std::string> lines = ExampleLines();
    lines[static_cast<std::size_t>(line - 1)] = text;
    return Deck(lines);
}

std::string ExampleCutAfter(int lines)
{
    std::vector<std::string> all = ExampleLines();
    all.resize(static_cast<std::size_t>(lines));
    return Deck(all);
}

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class MalformedDeck : public testing::TestWithParam<MalformedCase> {};

// A deck the writer cannot produce must be refused with the line and what was
// expected there, never read past ten components or runs.
TEST_P(MalformedDeck, RefusedWithLineAndReason)
{
    const MalformedCase& c = GetParam();
    const DeckReading reading = ReadInputDeck(c.text);
    ASSERT_FALSE(reading.ok());
    EXPECT_EQ(reading.problem->line, c.line);
    EXPECT_EQ(reading.problem->message, c.message);
    EXPECT_EQ(reading.Account(), "line " + std::to_string(c.line) + ": " + c.message);
    EXPECT_LE(reading.deck.componentCount, kMaxComponents);
    EXPECT_LE(reading.deck.runs.runCount, kMaxRuns);
}

INSTANTIATE_TEST_SUITE_P(
    Deck, MalformedDeck,
    testing::Values(
        MalformedCase{"empty_file", "", 1, "the file is empty"},
        MalformedCase{"component_count_0", ExampleWith(3, "    0    0    2"), 3, "component count 0 is outside 1 to 10"},
        MalformedCase{"component_count_11", ExampleWith(3, "   11    0    2"), 3,
                      "component count 11 is outside 1 to 10"},
        MalformedCase{"run_count_0", ExampleWith(3, "    3    0    0"), 3, "run count 0 is outside 1 to 10"},
        MalformedCase{"run_count_11", ExampleWith(3, "    3    0   11"), 3, "run count 11 is outside 1 to 10"},
        MalformedCase{"huge_run_count", ExampleWith(3, "    3    0 99999999999999999999"), 3,
                      "expected three integers: component count, 0, run count"},
        MalformedCase{"letters_in_counts", ExampleWith(3, "    3    x    2"), 3,
                      "expected three integers: component count, 0, run count"},
        MalformedCase{"only_two_lines", ExampleCutAfter(2), 3,
                      "missing; expected three integers: component count, 0, run count"},
        MalformedCase{"letters_for_density_exponent", ExampleWith(4, "one"), 4,
                      "expected a number: the density exponent"},
        MalformedCase{"missing_cp", ExampleWith(6, "0.300000    0.000000"), 6,
                      "expected three numbers: the solid Cp coefficients a, b and c"},
        MalformedCase{"short_option_line", ExampleWith(7, "0100"), 7, "expected eight option digits"},
        MalformedCase{"letters_in_ingredients", ExampleWith(8, "   12  abc    7"), 8,
                      "expected 3 ingredient numbers; ingredient 2 is not an integer"},
        MalformedCase{"too_few_ingredients", ExampleWith(8, "   12  345"), 8, "expected 3 ingredient numbers, found 2"},
        MalformedCase{"missing_run_line", ExampleCutAfter(9), 10,
                      "missing; expected the line of run 2 of 2: 5 numbers (chamber pressure, exhaust pressure, 3 "
                      "masses)"},
        MalformedCase{"letters_for_a_mass", ExampleWith(9, "1000.000000 14.696000   seventy     18.0 12.0"), 9,
                      "expected the line of run 1 of 2: 5 numbers (chamber pressure, exhaust pressure, 3 "
                      "masses); value 3 is not a number"},
        MalformedCase{"too_few_values_in_a_run", ExampleWith(10, "1500.000000 14.696000   68.500000"), 10,
                      "expected the line of run 2 of 2: 5 numbers (chamber pressure, exhaust pressure, 3 "
                      "masses); found 3"}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });
