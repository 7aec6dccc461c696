#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "CaseLoader.h"
#include "InputDeck.h"
#include "PrintfNumbers.h"
#include "TestDecks.h"

namespace fs = std::filesystem;

namespace {

// Each test runs in an empty working directory of its own.
class SavedCaseTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        m_dir = fs::temp_directory_path() / ("wtharsel-load-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::current_path(m_dir);
    }
    void TearDown() override
    {
        fs::current_path(m_previous);
        fs::remove_all(m_dir);
    }
    static void Write(const std::string& name, const std::string& text)
    {
        std::ofstream(name, std::ios::binary) << text;
    }

    fs::path m_previous;
    fs::path m_dir;
};

RunTable TableWithRunOne()
{
    RunTable table;
    table.chamberPressure[0] = 800.0;
    table.exhaustPressure[0] = 10.0;
    for (int c = 0; c < kMaxComponents; ++c)
        table.mass[c][0] = c + 1.0;
    table.ingredientId[0] = 99;
    return table;
}

}  // namespace

// Field texts must be those the form shows: the title with its padding, the
// density-exponent and temperature lines as they stand, the rest with %d and %g.
TEST_F(SavedCaseTest, ExampleDeckGivesTheFormTexts)
{
    Write("demo.inp", ReadFile(WTHARSEL_TEST_DATA "/example-two-runs.deck"));
    const SavedCase saved = ReadSavedCase("demo");
    ASSERT_EQ(saved.status, SavedCase::Status::Loaded) << saved.message;
    const LoadedCase& f = saved.form;
    EXPECT_EQ(f.title, "sample case     ");
    EXPECT_EQ(f.componentCount, "3");
    EXPECT_EQ(f.densityExponent, "1.000000    ");
    EXPECT_EQ(f.initialTemperature, "298.000000  ");
    EXPECT_EQ(f.cp[0], "0.3");
    EXPECT_EQ(f.cp[1], "0");
    EXPECT_EQ(f.cp[2], "0");
    const int options[5] = {0, 1, 0, 0, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.options[i], options[i]) << "check box " << 1008 + i;
    EXPECT_EQ(f.ingredientId[0], "12");
    EXPECT_EQ(f.ingredientId[1], "345");
    EXPECT_EQ(f.ingredientId[2], "7");
    EXPECT_EQ(f.ingredientId[3], "");
    EXPECT_EQ(f.weight[0], "70");
    EXPECT_EQ(f.weight[2], "12");
    EXPECT_EQ(f.chamberPressure, "1000");
    EXPECT_EQ(f.exhaustPressure, "14.696");
    EXPECT_EQ(f.rows, 3);
}

// A missing case passes in silence; a name that cannot be read (here a
// directory) must not be taken for a case either.
TEST_F(SavedCaseTest, MissingAndUnreadableCasesAreNotLoaded)
{
    EXPECT_EQ(ReadSavedCase("nothing").status, SavedCase::Status::Missing);
    fs::create_directory("folder.inp");
    EXPECT_EQ(ReadSavedCase("folder").status, SavedCase::Status::Unopened);
}

// An empty case name looks for the file ".inp".
TEST_F(SavedCaseTest, EmptyNameLooksForDotInp)
{
    Write(".inp", ReadFile(WTHARSEL_TEST_DATA "/example-two-runs.deck"));
    EXPECT_EQ(ReadSavedCase("").status, SavedCase::Status::Loaded);
}

// The user must be told which file is wrong and where.
TEST_F(SavedCaseTest, MalformedDeckSaysWhichFileAndWhatIsWrong)
{
    Write("bad.inp", "bad     .out\r\ntitle\r\n   11    0    1\r\n");
    const SavedCase saved = ReadSavedCase("bad");
    EXPECT_EQ(saved.status, SavedCase::Status::Malformed);
    EXPECT_EQ(saved.message, "The case bad.inp cannot be loaded: line 3: component count 11 is outside 1 to 10.");
}

// Runs beyond the deck's count come from the table's run 1, not the run 1 of
// the deck; components beyond the deck's count in its runs are zero.
TEST(ApplySavedRuns, ThreeComponentsTwoRuns)
{
    DeckReading reading = ReadInputDeck(ReadFile(WTHARSEL_TEST_DATA "/example-two-runs.deck"));
    ASSERT_TRUE(reading.ok());
    RunTable table = TableWithRunOne();
    table.mass[5][1] = 42.0;
    ApplySavedRuns(reading.deck, table);

    EXPECT_EQ(table.runCount, 2);
    EXPECT_EQ(table.chamberPressure[1], 1500.0);
    EXPECT_EQ(table.exhaustPressure[1], 14.696);
    EXPECT_EQ(table.mass[0][1], 68.5);
    EXPECT_EQ(table.mass[1][1], 19.5);
    EXPECT_EQ(table.mass[2][1], 12.0);
    for (int c = 3; c < kMaxComponents; ++c)
        EXPECT_EQ(table.mass[c][1], 0.0) << "component " << c + 1;
    for (int r = 2; r < kMaxRuns; ++r) {
        EXPECT_EQ(table.chamberPressure[r], 800.0) << "run " << r + 1;
        EXPECT_EQ(table.exhaustPressure[r], 10.0) << "run " << r + 1;
        for (int c = 0; c < kMaxComponents; ++c)
            EXPECT_EQ(table.mass[c][r], c + 1.0) << "run " << r + 1 << " component " << c + 1;
    }
    // Run 1 and the ingredient numbers stay the table's own.
    EXPECT_EQ(table.chamberPressure[0], 800.0);
    EXPECT_EQ(table.mass[0][0], 1.0);
    EXPECT_EQ(table.ingredientId[0], 99);
}

TEST(ApplySavedRuns, OneRunFillsRunsTwoToTenFromRunOne)
{
    CaseRecord record;
    RunTable written;
    FillExampleCase(record, written);
    written.runCount = 1;
    DeckReading reading = ReadInputDeck(FormatInputDeck(record, written));
    ASSERT_TRUE(reading.ok());
    RunTable table = TableWithRunOne();
    table.runCount = 5;
    table.chamberPressure[3] = 2000.0;
    ApplySavedRuns(reading.deck, table);
    EXPECT_EQ(table.runCount, 1);
    for (int r = 1; r < kMaxRuns; ++r) {
        EXPECT_EQ(table.chamberPressure[r], 800.0) << "run " << r + 1;
        EXPECT_EQ(table.mass[9][r], 10.0) << "run " << r + 1;
    }
}

struct GCase {
    const char* name;
    double value;
    const char* text;
};

class FormatGTest : public testing::TestWithParam<GCase> {};

// The forms show reals as printf's %g: a different rounding or exponent
// threshold would change what the user sees and what goes back into decks.
TEST_P(FormatGTest, AsPrintfGeneral)
{
    EXPECT_EQ(FormatG(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, FormatGTest,
    testing::Values(GCase{"pressure_14_696", 14.696, "14.696"}, GCase{"whole_1000", 1000.0, "1000"},
                    GCase{"six_digits_rounded", 123.4567, "123.457"}, GCase{"deck_decimals_rounded", 1234.567891, "1234.57"},
                    GCase{"small_uses_exponent", 0.00001, "1e-05"}, GCase{"large_uses_exponent", 1234567.0, "1.23457e+06"},
                    GCase{"fraction_kept", 68.5, "68.5"}, GCase{"negative", -0.25, "-0.25"}),
    [](const testing::TestParamInfo<GCase>& info) { return std::string(info.param.name); });
