#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "InputDeck.h"
#include "TestDecks.h"

namespace {

std::string Line(const std::string& deck, int number)
{
    std::size_t start = 0;
    for (int i = 1; i < number; ++i)
        start = deck.find("\r\n", start) + 2;
    return deck.substr(start, deck.find("\r\n", start) - start);
}

int LineCount(const std::string& deck)
{
    int count = 0;
    for (std::size_t p = deck.find("\r\n"); p != std::string::npos; p = deck.find("\r\n", p + 2))
        ++count;
    return count;
}

}  // namespace

// The engine reads the deck by column: any shifted field, missing blank or
// LF-only line end would feed it wrong values.
TEST(WriteInputDeck, ExampleDeckByteForByte)
{
    CaseRecord record;
    RunTable table;
    FillExampleCase(record, table);

    const std::string path = testing::TempDir() + "example.dat";
    std::FILE* deck = std::fopen(path.c_str(), "w");
    ASSERT_NE(deck, nullptr);
    WriteInputDeck(deck, record, table);
    std::fclose(deck);

    EXPECT_EQ(ReadFile(path), ReadFile(WTHARSEL_TEST_DATA "/example-two-runs.deck"));
}

// A user with a comma-decimal locale must still get decks the engine reads.
TEST(WriteInputDeck, DecimalPointWhateverTheLocale)
{
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the test needs the de_DE.UTF-8 locale";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%f", 0.5);
    ASSERT_STREQ(probe, "0,500000") << "the locale is not in effect";

    CaseRecord record;
    RunTable table;
    FillExampleCase(record, table);
    const std::string text = FormatInputDeck(record, table);
    std::setlocale(LC_ALL, "C");

    EXPECT_EQ(text, ReadFile(WTHARSEL_TEST_DATA "/example-two-runs.deck"));
}

TEST(WriteInputDeck, TenComponentRunLineIs144Columns)
{
    CaseRecord record;
    record.m_componentCount = 10;
    RunTable table;
    for (int c = 0; c < kMaxComponents; ++c) {
        table.ingredientId[c] = c + 1;
        table.mass[c][0] = 10.0;
    }
    table.chamberPressure[0] = 1000.0;
    table.exhaustPressure[0] = 14.696;
    const std::string deck = FormatInputDeck(record, table);
    EXPECT_EQ(LineCount(deck), 9);
    EXPECT_EQ(Line(deck, 8), "    1    2    3    4    5    6    7    8    9   10");
    EXPECT_EQ(Line(deck, 9).size(), 144u);
}

// An empty name still gives a padded first line, the report name the engine uses.
TEST(WriteInputDeck, EmptyCaseNameGivesEightBlanks)
{
    const std::string deck = FormatInputDeck(CaseRecord{}, RunTable{});
    EXPECT_EQ(Line(deck, 1), "        .out");
    EXPECT_EQ(Line(deck, 2), std::string(17, ' '));
    EXPECT_EQ(Line(deck, 3), "    1    0    1");
    EXPECT_EQ(Line(deck, 7), "00000000");
}

// Wide values are written whole, as printf writes them; the reader copes.
TEST(WriteInputDeck, WideValuesFillTheirFieldsWithoutSeparator)
{
    CaseRecord record;
    record.m_cpA = -1000.0;
    record.m_cpB = 123456.5;
    record.m_cpC = -0.25;
    RunTable table;
    table.ingredientId[0] = 12345;
    table.chamberPressure[0] = 10000.0;
    table.exhaustPressure[0] = 14.696;
    table.mass[0][0] = 100.0;
    const std::string deck = FormatInputDeck(record, table);
    EXPECT_EQ(Line(deck, 6), "-1000.000000123456.500000-0.250000   ");
    EXPECT_EQ(Line(deck, 8), "12345");
    EXPECT_EQ(Line(deck, 9), "10000.00000014.696000   100.000000  ");
}

// Counts the writer is not meant to see must not read past the ten rows.
TEST(WriteInputDeck, CountsBeyondTenWriteNoMoreThanTen)
{
    CaseRecord record;
    record.m_componentCount = 11;
    RunTable table;
    table.runCount = 12;
    const std::string deck = FormatInputDeck(record, table);
    EXPECT_EQ(Line(deck, 3), "   11    0   12");
    EXPECT_EQ(LineCount(deck), 18);
    EXPECT_EQ(Line(deck, 8).size(), 50u);
    EXPECT_EQ(Line(deck, 9).size(), 144u);
}
