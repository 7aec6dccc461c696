#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CommandFixture.h"
#include "CommandInterpreter.h"
#include "InputDeck.h"
#include "RunCase.h"
#include "RunTable.h"

namespace {

using Lines = std::vector<std::string>;
using Names = std::set<std::string>;

// The form as a Run sees it: takes the form (succeeding or refusing as the
// test says), records every message and every command, and runs each command
// through the real interpreter.
class TestHost : public RunCaseHost {
public:
    bool TakeFormIntoRecord() override
    {
        ++takes;
        return take();
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    CommandOutcome System(const std::string& commandLine) override
    {
        commands.push_back(commandLine);
        if (commandLine.rfind("copy ", 0) == 0 && copyDiskSpace > 0) {
            const FileSizeLimit full(copyDiskSpace);
            return RunCommand(commandLine);
        }
        return RunCommand(commandLine);
    }

    std::function<bool()> take = [] { return true; };
    rlim_t copyDiskSpace = 0;  // when set, the disk is full beyond this during the copy
    int takes = 0;
    std::vector<std::string> errors;
    std::vector<std::string> commands;
};

Lines SplitLines(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

Lines CommandsFor(const std::string& name)
{
    return {"copy input.dat " + name + ".inp", "tharsel", "notepad " + name + ".out"};
}

class RunCaseTest : public CommandFixture {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        g_runTable = RunTable{};
        WriteFakeEngine();
        WriteFakeViewer(m_work / "notepad");
    }

    // The starts of one good Run of NAME: the engine saw the deck's copy, the
    // viewer was asked for the report and found it.
    static Lines StartsOfOneRun(const std::string& name)
    {
        return {"tharsel", "tharsel saw " + name + ".inp", "notepad [" + name + ".out]", "notepad saw " + name + ".out"};
    }

    Names FilesOfOneRun(const std::string& name) const
    {
        return {"tharsel", "notepad", "input.dat", name + ".inp", name + ".out"};
    }

    CaseRecord m_record;
    TestHost m_host;
};

// The whole sequence on a new form named demo.  Catches a wrong deck, a copy
// that differs from it, commands in another order or started more than once,
// a report the viewer could not find, and any stray file.
TEST_F(RunCaseTest, NewFormNamedDemoRunsTheWholeSequence)
{
    m_record.m_caseFile = "demo";
    RunCase(m_record, m_host);

    const std::string deck = ReadWholeFile("input.dat");
    EXPECT_EQ(deck, "demo    .out\r\n"
                    "                 \r\n"
                    "    1    0    1\r\n"
                    "1.000000    \r\n"
                    "298.000000  \r\n"
                    "0.300000    0.000000    0.000000    \r\n"
                    "00000000\r\n"
                    "    0\r\n"
                    "1000.000000 14.696000   0.000000    \r\n");
    EXPECT_EQ(SplitLines(deck).size(), 9u);
    EXPECT_EQ(ReadWholeFile("demo.inp"), deck);
    EXPECT_EQ(ReadWholeFile("demo.out"), "report of demo\n" + deck);
    EXPECT_EQ(m_host.takes, 1);
    EXPECT_EQ(m_host.commands, CommandsFor("demo"));
    EXPECT_EQ(Starts(), StartsOfOneRun("demo"));
    EXPECT_EQ(m_host.errors, Lines{});
    EXPECT_EQ(Files(), FilesOfOneRun("demo"));
}

// Catches state kept between Runs that changes the second deck, and a second
// Run that skips a command.
TEST_F(RunCaseTest, RunTwiceWritesTheSameDeckAndRunsTheEngineTwice)
{
    m_record.m_caseFile = "demo";
    RunCase(m_record, m_host);
    const std::string first = ReadWholeFile("input.dat");
    RunCase(m_record, m_host);

    EXPECT_EQ(ReadWholeFile("input.dat"), first);
    EXPECT_EQ(ReadWholeFile("demo.inp"), first);
    Lines twice = StartsOfOneRun("demo");
    const Lines once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(Starts(), twice);
    EXPECT_EQ(m_host.commands.size(), 6u);
    EXPECT_EQ(m_host.errors, Lines{});
}

// Catches a deck that writes stale rows beyond the component count, and a
// copy into the run table that stops at the component count.
TEST_F(RunCaseTest, ThreeComponentsWithEarlierValuesInRowsFourToTen)
{
    m_record.m_caseFile = "three";
    m_record.m_componentCount = 3;
    for (int i = 0; i < kMaxComponents; ++i) {
        m_record.m_ingredientId[i] = 100 + i;
        m_record.m_ingredientWeight[i] = 10.0 + i;
    }
    RunCase(m_record, m_host);

    const Lines deck = SplitLines(ReadWholeFile("input.dat"));
    ASSERT_EQ(deck.size(), 9u);
    EXPECT_EQ(deck[7], "  100  101  102");
    EXPECT_EQ(deck[8], "1000.000000 14.696000   10.000000   11.000000   12.000000   ");
    for (int i = 0; i < kMaxComponents; ++i) {
        EXPECT_EQ(g_ingredientId[i], 100 + i) << "row " << i + 1;
        EXPECT_EQ(g_mass[i][0], 10.0 + i) << "row " << i + 1;
    }
    EXPECT_EQ(Starts(), StartsOfOneRun("three"));
}

// Catches a Run that drops the runs a parametric form left, or that keeps the
// parametric form's run 1 instead of the main form's values.
TEST_F(RunCaseTest, FourRunsLeftByTheParametricForm)
{
    m_record.m_caseFile = "para";
    m_record.m_componentCount = 2;
    m_record.m_ingredientWeight[0] = 80.0;
    m_record.m_ingredientWeight[1] = 20.0;
    m_record.m_chamberPressure = 500.0;
    m_record.m_exhaustPressure = 10.0;
    g_runCount = 4;
    for (int run = 0; run < 4; ++run) {
        g_chamberPressure[run] = 1000.0 + 100 * run;
        g_exhaustPressure[run] = 14.0 + run;
        g_mass[0][run] = 70.0 + run;
        g_mass[1][run] = 30.0 - run;
    }
    RunCase(m_record, m_host);

    EXPECT_EQ(SplitLines(ReadWholeFile("input.dat")),
              (Lines{"para    .out", std::string(17, ' '), "    2    0    4", "1.000000    ", "298.000000  ",
                     "0.300000    0.000000    0.000000    ", "00000000", "    0    0",
                     "500.000000  10.000000   80.000000   20.000000   ",
                     "1100.000000 15.000000   71.000000   29.000000   ",
                     "1200.000000 16.000000   72.000000   28.000000   ",
                     "1300.000000 17.000000   73.000000   27.000000   "}));
    EXPECT_EQ(ReadWholeFile("para.inp"), ReadWholeFile("input.dat"));
}

// Catches a Run that resets the run table for a new case: the run count and
// runs 2 and later carry over until a parametric form or a loaded deck
// changes them.
TEST_F(RunCaseTest, LaterCaseStillWritesTheRunsLeftInTheTable)
{
    m_record.m_caseFile = "first";
    g_runCount = 3;
    g_chamberPressure[1] = 1500.0;
    g_chamberPressure[2] = 2000.0;
    RunCase(m_record, m_host);

    CaseRecord later;
    later.m_caseFile = "later";
    later.m_chamberPressure = 700.0;
    RunCase(later, m_host);

    EXPECT_EQ(SplitLines(ReadWholeFile("input.dat")),
              (Lines{"later   .out", std::string(17, ' '), "    1    0    3", "1.000000    ", "298.000000  ",
                     "0.300000    0.000000    0.000000    ", "00000000", "    0",
                     "700.000000  14.696000   0.000000    ", "1500.000000 0.000000    0.000000    ",
                     "2000.000000 0.000000    0.000000    "}));
    EXPECT_EQ(ReadWholeFile("first.inp").substr(0, 14), "first   .out\r\n");
    EXPECT_EQ(ReadWholeFile("later.inp"), ReadWholeFile("input.dat"));
}

// Catches a Run that skips or mangles an empty case name.
TEST_F(RunCaseTest, EmptyCaseName)
{
    RunCase(m_record, m_host);

    EXPECT_EQ(SplitLines(ReadWholeFile("input.dat"))[0], "        .out");
    EXPECT_EQ(m_host.commands, (Lines{"copy input.dat .inp", "tharsel", "notepad .out"}));
    EXPECT_EQ(ReadWholeFile(".inp"), ReadWholeFile("input.dat"));
    EXPECT_EQ(Starts(), StartsOfOneRun(""));
    EXPECT_EQ(Files(), FilesOfOneRun(""));
    EXPECT_EQ(m_host.errors, Lines{});
}

// Catches a Run that goes on after input.dat failed to open: a deck written
// elsewhere, a form taken, or the engine run on an old deck.
TEST_F(RunCaseTest, InputDatThatCannotBeOpenedStopsTheRun)
{
    fs::create_directory("input.dat");
    m_record.m_caseFile = "demo";
    RunCase(m_record, m_host);

    EXPECT_EQ(m_host.errors, Lines{"Error opening input.dat"});
    EXPECT_EQ(m_host.takes, 0);
    EXPECT_EQ(m_host.commands, Lines{});
    EXPECT_EQ(Starts(), Lines{});
    EXPECT_TRUE(fs::is_empty("input.dat"));
    EXPECT_EQ(Files(), (Names{"tharsel", "notepad", "input.dat"}));
}

// Catches a refused form whose out-of-range component count still reaches the
// run table or the deck, a command run anyway, and a refused Run that empties
// the last deck.
TEST_F(RunCaseTest, RefusedFormRunsNothingAndKeepsTheLastDeck)
{
    WriteWholeFile("input.dat", "the last deck\r\n");
    m_record.m_caseFile = "demo";
    m_record.m_ingredientId[0] = 5;
    m_host.take = [this] {
        m_record.m_componentCount = 11;
        m_record.m_ingredientId[0] = 42;
        return false;
    };
    RunCase(m_record, m_host);

    EXPECT_EQ(m_host.takes, 1);
    EXPECT_EQ(m_host.commands, Lines{});
    EXPECT_EQ(m_host.errors, Lines{});
    EXPECT_EQ(Starts(), Lines{});
    EXPECT_EQ(ReadWholeFile("input.dat"), "the last deck\r\n");
    EXPECT_EQ(g_ingredientId[0], 0);
    EXPECT_EQ(Files(), (Names{"tharsel", "notepad", "input.dat"}));
}

// Catches a deck cut short by a full disk that is copied over the case's .inp
// and given to the engine.
TEST_F(RunCaseTest, DeckThatCannotBeWrittenWholeStopsTheRun)
{
    WriteWholeFile("demo.inp", "the good copy\r\n");
    m_record.m_caseFile = "demo";
    {
        const FileSizeLimit full(64);
        RunCase(m_record, m_host);
    }
    EXPECT_EQ(m_host.errors, Lines{"Error writing input.dat"});
    EXPECT_EQ(m_host.commands, Lines{});
    EXPECT_EQ(Starts(), Lines{});
    EXPECT_EQ(ReadWholeFile("demo.inp"), "the good copy\r\n");
}

// Catches a Run that appends to the case's old copy or keeps its tail.
TEST_F(RunCaseTest, CopyReplacesAnExistingInp)
{
    WriteWholeFile("demo.inp", std::string(4000, 'x'));
    m_record.m_caseFile = "demo";
    RunCase(m_record, m_host);
    EXPECT_EQ(ReadWholeFile("demo.inp"), ReadWholeFile("input.dat"));
    EXPECT_EQ(m_host.errors, Lines{});
}

// Catches a copy that fails half-way and leaves the old .inp cut short, a
// failure not shown, and a sequence that stops at it.
TEST_F(RunCaseTest, CopyThatFailsLeavesTheOldInpAndTheRunGoesOn)
{
    const std::string old = "demo    .out\r\nthe old deck, longer than the new one will be......\r\n";
    WriteWholeFile("demo.inp", old);
    m_record.m_caseFile = "demo";
    m_host.copyDiskSpace = 16;
    RunCase(m_record, m_host);

    EXPECT_EQ(ReadWholeFile("demo.inp"), old);
    EXPECT_EQ(m_host.errors, Lines{"Command \"copy input.dat demo.inp\": the copy failed: cannot write demo.inp: "
                                   "File too large; demo.inp is unchanged."});
    EXPECT_EQ(m_host.commands, CommandsFor("demo"));
    EXPECT_EQ(Starts(), StartsOfOneRun("demo"));
    EXPECT_EQ(Files(), FilesOfOneRun("demo"));
}

// Catches a missing engine passed over in silence, reported more than once,
// or stopping the sequence.
TEST_F(RunCaseTest, MissingEngineGivesOneMessageAndTheViewerStillRuns)
{
    fs::remove("tharsel");
    m_record.m_caseFile = "demo";
    RunCase(m_record, m_host);

    EXPECT_EQ(m_host.errors,
              Lines{"Command \"tharsel\": \"tharsel\" was not found in the working directory or on PATH."});
    EXPECT_EQ(Starts(), Lines{"notepad [demo.out]"});
    EXPECT_EQ(Files(), (Names{"notepad", "input.dat", "demo.inp"}));
}

// Catches a failing engine reported as success (the viewer would show an
// older report), a report without the engine's own words, or a sequence that
// stops at it.
TEST_F(RunCaseTest, FailingEngineGivesOneMessageWithItsOutputAndTheViewerStillRuns)
{
    WriteScript(m_work / "tharsel", LogStart("tharsel") + "echo 'tharsel: ingredient 0 is not in kalcoded.daf' >&2\nexit 2\n");
    WriteWholeFile("demo.out", "the report of an earlier run\n");
    m_record.m_caseFile = "demo";
    RunCase(m_record, m_host);

    EXPECT_EQ(m_host.errors, Lines{"Command \"tharsel\": ./tharsel ended with exit status 2.\n\nIt printed:\n"
                                   "tharsel: ingredient 0 is not in kalcoded.daf"});
    EXPECT_EQ(Starts(), (Lines{"tharsel", "notepad [demo.out]", "notepad saw demo.out"}));
}

// With no notepad anywhere, the report opens in our own viewer.  Catches a
// fallback that is not reached through a Run.
TEST_F(RunCaseTest, WithoutNotepadTheReportOpensInOurViewer)
{
    fs::remove("notepad");
    const fs::path viewer = m_root / "viewer-bin" / "wtharsel-viewer";
    fs::create_directories(viewer.parent_path());
    WriteFakeViewer(viewer, "viewer");
    SetTextViewerProgram(viewer.string());
    m_record.m_caseFile = "demo";
    RunCase(m_record, m_host);

    EXPECT_EQ(m_host.errors, Lines{});
    EXPECT_EQ(Starts(), (Lines{"tharsel", "tharsel saw demo.inp", "viewer [demo.out]", "viewer saw demo.out"}));
}

struct ShellName {
    const char* name;
    std::string caseFile;
    Names files;        // beside input.dat, the fakes and what a good Run makes
    Lines starts;
    Lines errors;
};

void PrintTo(const ShellName& row, std::ostream* os)
{
    *os << row.name;
}

class ShellCharactersInTheCaseName : public RunCaseTest, public testing::WithParamInterface<ShellName> {};

// Catches a command line that reaches a shell: it would run touch or id (fakes
// on PATH that log their start), pipe into b.inp, or make files of other
// names.  Only the engine and the viewer may start, and only the case's files
// may appear.
TEST_P(ShellCharactersInTheCaseName, StartNothingButTheThreeCommands)
{
    const ShellName& row = GetParam();
    m_record.m_caseFile = row.caseFile;
    RunCase(m_record, m_host);

    EXPECT_EQ(m_host.commands, CommandsFor(row.caseFile));
    EXPECT_EQ(Starts(), row.starts);
    EXPECT_EQ(m_host.errors, row.errors);
    Names files = row.files;
    files.insert({"tharsel", "notepad", "input.dat"});
    EXPECT_EQ(Files(), files);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShellCharactersInTheCaseName,
    testing::Values(
        ShellName{"semicolon", "a;touch x", {"a;touch x.out"},
                  {"tharsel", "notepad [a;touch] [x.out]", "notepad saw a;touch x.out"},
                  {"Command \"copy input.dat a;touch x.inp\": copy needs one source and one destination, and names "
                   "without blanks."}},
        ShellName{"command_substitution", "$(id)", {"$(id).inp", "$(id).out"},
                  {"tharsel", "tharsel saw $(id).inp", "notepad [$(id).out]", "notepad saw $(id).out"}, {}},
        ShellName{"pipe", "a|b", {"a|b.inp", "a|b.out"},
                  {"tharsel", "tharsel saw a|b.inp", "notepad [a|b.out]", "notepad saw a|b.out"}, {}},
        ShellName{"backquotes", "`id`", {"`id`.inp", "`id`.out"},
                  {"tharsel", "tharsel saw `id`.inp", "notepad [`id`.out]", "notepad saw `id`.out"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
