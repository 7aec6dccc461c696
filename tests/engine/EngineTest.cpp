#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CaseRecord.h"
#include "Engine.h"
#include "InputDeck.h"
#include "ResultsCsv.h"
#include "RunTable.h"
#include "ShippedData.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// A working directory with setup.kal naming the shipped data files, and a
// case the tests change before writing its deck.
class EngineRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::path(testing::TempDir()) / ("tharsel-" + std::string(info->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_database = DataPath("kalcoded.daf");
        m_thermo = DataPath("jannaf.daf");
        m_record.m_caseFile = "demo";
        m_record.m_caseTitle = "AP HTPB Al";
        m_record.m_componentCount = 3;
        const int ids[] = {41, 42, 1};
        const double weights[] = {68.0, 14.0, 18.0};
        for (int k = 0; k < 3; ++k) {
            m_record.m_ingredientId[k] = ids[k];
            m_record.m_ingredientWeight[k] = weights[k];
        }
        m_record.m_initialTemperature = 298.15;
        CopyCaseToRunTable(m_record, m_table);
        m_table.runCount = 1;
    }

    void TearDown() override { fs::remove_all(m_dir); }

    void WriteFile(const std::string& name, const std::string& text)
    {
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }

    std::string Read(const std::string& name) const
    {
        return fs::exists(m_dir / name) ? ReadTextFile((m_dir / name).string()) : std::string();
    }

    void WriteSetup()
    {
        WriteFile("setup.kal", "HD\n" + m_database + "\n" + (m_dir / "notused").string() + "\n" + m_thermo +
                                   "\n" + (m_dir / "tharsel.out").string() + "\n");
    }

    // Writes setup.kal and the deck unless the test has written its own.
    int Run(bool writeFiles = true)
    {
        if (writeFiles) {
            WriteSetup();
            WriteFile("input.dat", FormatInputDeck(m_record, m_table));
        }
        std::FILE* errors = std::tmpfile();
        const int status = RunEngine(m_dir.string(), errors);
        std::rewind(errors);
        char buffer[4096];
        m_errors.clear();
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, errors)) > 0)
            m_errors.append(buffer, got);
        std::fclose(errors);
        return status;
    }

    std::vector<std::vector<std::string>> Csv() const
    {
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : Lines(Read("tharsel.out")))
            rows.push_back(Split(line));
        return rows;
    }

    void AddRun(double chamber, double exhaust, std::vector<double> masses)
    {
        const int r = m_table.runCount++;
        m_table.chamberPressure[r] = chamber;
        m_table.exhaustPressure[r] = exhaust;
        for (std::size_t k = 0; k < masses.size(); ++k)
            m_table.mass[k][r] = masses[k];
    }

    fs::path m_dir;
    std::string m_database, m_thermo, m_errors;
    CaseRecord m_record;
    RunTable m_table;
};

const char* const kColumns[] = {
    "run", "status", "chamber_pressure_psia", "exhaust_pressure_psia", "chamber_temperature_K",
    "chamber_molecular_weight", "chamber_gamma", "chamber_cp_kJ_kgK", "throat_temperature_K",
    "throat_pressure_psia", "exit_temperature_K", "exit_molecular_weight", "exit_mach", "area_ratio",
    "cstar_m_s", "cf", "isp_m_s", "isp_vacuum_m_s", "density_isp", "frozen_exit_temperature_K",
    "frozen_area_ratio", "frozen_cstar_m_s", "frozen_isp_m_s", "frozen_isp_vacuum_m_s"};

int Column(const char* name)
{
    for (int k = 0; k < static_cast<int>(std::size(kColumns)); ++k) {
        if (std::string(kColumns[k]) == name)
            return k;
    }
    return -1;
}

double Number(const std::vector<std::string>& row, const char* column)
{
    return std::strtod(row.at(Column(column)).c_str(), nullptr);
}

// A deck from the front end's writer gives the report named on line 1, the
// results file with its header and one line per run in plain numbers, and
// exit status 0.  Catches a wrong report name, column order or number form.
TEST_F(EngineRunTest, RunWritesReportAndResults)
{
    AddRun(500.0, 1.0, {68, 14, 18});
    ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
    const std::string report = Read("demo.out");
    ASSERT_FALSE(report.empty());
    EXPECT_NE(report.find("Ammonium perchlorate (AP)"), std::string::npos);
    const auto rows = Csv();
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(rows[0].size(), std::size(kColumns));
    for (std::size_t k = 0; k < rows[0].size(); ++k)
        EXPECT_EQ(rows[0][k], kColumns[k]);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), std::size(kColumns));
        EXPECT_EQ(rows[r][0], std::to_string(r));
        EXPECT_EQ(rows[r][1], "ok");
        for (std::size_t k = 2; k < rows[r].size(); ++k) {
            char* end = nullptr;
            std::strtod(rows[r][k].c_str(), &end);
            EXPECT_TRUE(*end == '\0' && rows[r][k].find('.') != std::string::npos) << kColumns[k] << "=" << rows[r][k];
        }
    }
    EXPECT_NEAR(Number(rows[1], "chamber_temperature_K"), 3419.03, 3.4);
    EXPECT_NEAR(Number(rows[1], "cstar_m_s"), 1588.6, 1.6);
    EXPECT_NEAR(Number(rows[2], "exhaust_pressure_psia"), 1.0, 1e-9);
    EXPECT_NEAR(Number(rows[2], "area_ratio"), 48.335, 0.25);
    EXPECT_NEAR(Number(rows[1], "density_isp"), 2595.0 / 9.80665 * 1.767, 1.0);
}

// Every page of the report starts with the case title and holds at most 60
// lines.  Catches pages without the title or overlong pages.
TEST_F(EngineRunTest, EveryPageCarriesTheTitle)
{
    m_record.m_listAllSpecies = 1;
    CopyCaseToRunTable(m_record, m_table);
    AddRun(1500.0, 14.696, {70, 12, 18});
    ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
    const std::vector<std::string> lines = Lines(Read("demo.out"));
    int pages = 0, lineInPage = 0;
    for (const std::string& line : lines) {
        if (line.starts_with("THARSEL")) {
            ++pages;
            lineInPage = 0;
            EXPECT_NE(line.find("AP HTPB Al"), std::string::npos) << line;
        }
        ++lineInPage;
        EXPECT_LE(lineInPage, 61) << "page " << pages;
    }
    EXPECT_GE(pages, 4);
    EXPECT_TRUE(lines.front().starts_with("THARSEL"));
}

// Option 1 computes the chamber only: the results file leaves the exit
// columns empty and the report has no performance.  Catches option 1 ignored.
TEST_F(EngineRunTest, DeleteExitCalculationsLeavesExitColumnsEmpty)
{
    m_record.m_deleteExitCalcs = 1;
    ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
    const auto rows = Csv();
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(rows[1].size(), std::size(kColumns));
    EXPECT_NEAR(Number(rows[1], "chamber_temperature_K"), 3419.03, 3.4);
    for (int k = Column("throat_temperature_K"); k < static_cast<int>(std::size(kColumns)); ++k)
        EXPECT_EQ(rows[1][k], "") << kColumns[k];
    EXPECT_EQ(Read("demo.out").find("PERFORMANCE"), std::string::npos);
}

// Option 4 reads the deck's pressures in atmospheres.  Catches atm taken as
// psia (a chamber at 68 psia would be far cooler).
TEST_F(EngineRunTest, PressuresInAtmospheres)
{
    m_record.m_pressureInAtm = 1;
    m_record.m_chamberPressure = 68.0460;
    m_record.m_exhaustPressure = 1.0;
    CopyCaseToRunTable(m_record, m_table);
    ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
    const auto rows = Csv();
    EXPECT_NEAR(Number(rows[1], "chamber_pressure_psia"), 1000.0, 0.01);
    EXPECT_NEAR(Number(rows[1], "exhaust_pressure_psia"), 14.696, 0.001);
    EXPECT_NEAR(Number(rows[1], "chamber_temperature_K"), 3419.03, 3.4);
}

// Option 8 lists every species considered, absent ones too; without it only
// those above 5e-6 appear.  Catches the option ignored or the cut-off lost.
TEST_F(EngineRunTest, ListAllSpeciesShowsAbsentOnes)
{
    m_record.m_deleteExitCalcs = 1;
    ASSERT_EQ(Run(), kEngineAllRuns);
    const std::string brief = Read("demo.out");
    EXPECT_EQ(brief.find("C(gr)"), std::string::npos);
    EXPECT_EQ(brief.find("C12H10,biphenyl"), std::string::npos);
    m_record.m_listAllSpecies = 1;
    ASSERT_EQ(Run(), kEngineAllRuns);
    const std::string all = Read("demo.out");
    EXPECT_NE(all.find("C(gr)"), std::string::npos);
    EXPECT_NE(all.find("C12H10,biphenyl"), std::string::npos);
}

// Option 3 adds the nozzle design table and the boost velocities for mass
// fractions 0.1 to 0.9.  Catches the option ignored.
TEST_F(EngineRunTest, NozzleDesignDataAndBoostVelocities)
{
    m_record.m_boostAndNozzle = 1;
    ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
    const std::string report = Read("demo.out");
    EXPECT_NE(report.find("NOZZLE DESIGN DATA"), std::string::npos);
    EXPECT_NE(report.find("IDEAL BOOST VELOCITIES"), std::string::npos);
    EXPECT_NE(report.find("       0.9 "), std::string::npos);
    EXPECT_NE(report.find("  100.000 "), std::string::npos);
}

// A series of runs ends with a summary line per run.  Catches the summary
// missing or a run left out of it.
TEST_F(EngineRunTest, ParametricSummaryHasALinePerRun)
{
    AddRun(1500.0, 14.696, {70, 12, 18});
    AddRun(2000.0, 14.696, {72, 10, 18});
    ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
    const std::string report = Read("demo.out");
    const std::size_t summary = report.find("SUMMARY OF RUNS");
    ASSERT_NE(summary, std::string::npos);
    const std::string tail = report.substr(summary);
    EXPECT_NE(tail.find("\n   1  1000.0"), std::string::npos);
    EXPECT_NE(tail.find("\n   2  1500.0"), std::string::npos);
    EXPECT_NE(tail.find("\n   3  2000.0"), std::string::npos);
}

// A run of a series gives what the same run gives alone: each run starts
// from the one before, and must not keep anything of it but the estimate.
// Catches a warm start that carries the last run's state into the result.
TEST_F(EngineRunTest, SeriesRunsMatchSingleRuns)
{
    AddRun(300.0, 14.696, {60, 20, 20});
    AddRun(2500.0, 5.0, {80, 20, 0});
    ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
    const auto series = Csv();
    ASSERT_EQ(series.size(), 4u);
    for (int r = 1; r <= 3; ++r) {
        RunTable single = m_table;
        single.runCount = 1;
        single.chamberPressure[0] = m_table.chamberPressure[r - 1];
        single.exhaustPressure[0] = m_table.exhaustPressure[r - 1];
        for (int k = 0; k < 3; ++k)
            single.mass[k][0] = m_table.mass[k][r - 1];
        const RunTable saved = m_table;
        m_table = single;
        ASSERT_EQ(Run(), kEngineAllRuns) << m_errors;
        m_table = saved;
        const auto alone = Csv();
        for (const char* column : {"chamber_temperature_K", "cstar_m_s", "isp_m_s", "area_ratio",
                                   "frozen_isp_m_s", "exit_temperature_K"})
            EXPECT_NEAR(Number(series[r], column), Number(alone[1], column), 1e-5 * Number(alone[1], column))
                << "run " << r << " " << column;
    }
}

// A run that fails is reported with its reason; the other runs are still
// computed and the exit status says not all were.  Catches one bad run
// stopping the series or passing as success.
TEST_F(EngineRunTest, FailedRunLeavesTheOthers)
{
    AddRun(1000.0, 14.696, {0, 0, 0});
    AddRun(1000.0, 2000.0, {68, 14, 18});
    AddRun(500.0, 14.696, {68, 14, 18});
    EXPECT_EQ(Run(), kEngineSomeRunsFailed);
    const auto rows = Csv();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1][1], "ok");
    EXPECT_EQ(rows[2][1], "bad-propellant");
    EXPECT_EQ(rows[2][Column("chamber_temperature_K")], "");
    EXPECT_EQ(rows[3][1], "bad-exit-pressure");
    EXPECT_EQ(rows[4][1], "ok");
    const std::string report = Read("demo.out");
    EXPECT_NE(report.find("RUN FAILED: the total weight of the components is zero"), std::string::npos);
    EXPECT_NE(m_errors.find("run 2 failed"), std::string::npos);
    EXPECT_NE(m_errors.find("run 3 failed"), std::string::npos);
}

// Aluminium alone forms almost no gas; its equilibrium is out of the
// method's reach (CEA stops on it as well).  The run is reported as not
// converged, with the reason, and the other runs are still computed.
// Catches a non-converged result written out as if it were one.
TEST_F(EngineRunTest, RunThatDoesNotConvergeSaysWhy)
{
    m_record.m_componentCount = 1;
    m_record.m_ingredientId[0] = 1;
    m_record.m_ingredientWeight[0] = 100.0;
    CopyCaseToRunTable(m_record, m_table);
    EXPECT_EQ(Run(), kEngineSomeRunsFailed);
    const auto rows = Csv();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][1], "no-convergence");
    EXPECT_EQ(rows[1][Column("chamber_temperature_K")], "");
    EXPECT_NE(m_errors.find("run 1 failed: chamber: the equilibrium did not converge"), std::string::npos) << m_errors;
    EXPECT_NE(Read("demo.out").find("almost no gas forms"), std::string::npos);
}

struct Breakage {
    const char* name;
    const char* file;          // the file to break: setup.kal, input.dat, database, thermo, or an id
    const char* text;          // what it holds then
    int expectedStatus;
    const char* expectedMessage;
    bool reportExpected;
};

std::ostream& operator<<(std::ostream& out, const Breakage& b) { return out << b.name; }

class EngineBreakage : public EngineRunTest, public testing::WithParamInterface<Breakage> {};

// Every input that cannot be used is told in plain words, naming the file
// and line, on the errors stream and in the report when the case is known;
// the results file is left with its header only.  Catches a crash, a silent
// exit or stale results.
TEST_P(EngineBreakage, IsToldInPlainWords)
{
    const Breakage& b = GetParam();
    const std::string which = b.file;
    if (which == "database" || which == "thermo") {
        const fs::path path = m_dir / (which + ".daf");
        std::ofstream(path, std::ios::binary) << b.text;
        (which == "database" ? m_database : m_thermo) = path.string();
        for (int k = 0; k < 3; ++k)
            m_table.ingredientId[k] = k + 1;
    } else if (which == "id") {
        m_table.ingredientId[1] = std::atoi(b.text);
    }
    WriteFile("tharsel.out", "stale\n");
    WriteSetup();
    WriteFile("input.dat", FormatInputDeck(m_record, m_table));
    if (which == "setup.kal" || which == "input.dat") {
        if (std::string(b.text) == "missing")
            fs::remove(m_dir / which);
        else
            WriteFile(which, b.text);
    }
    EXPECT_EQ(Run(false), b.expectedStatus);
    EXPECT_NE(m_errors.find(b.expectedMessage), std::string::npos) << m_errors;
    const std::string report = Read("demo.out");
    if (b.reportExpected) {
        EXPECT_NE(report.find(b.expectedMessage), std::string::npos) << report;
    } else {
        EXPECT_EQ(report, "");
    }
    if (which != "setup.kal" && b.expectedStatus == kEngineNoCase) {
        EXPECT_EQ(Read("tharsel.out"), ResultsCsvHeader() + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, EngineBreakage, testing::Values(
    Breakage{"setup_missing", "setup.kal", "missing", kEngineNoCase, "setup.kal", true},
    Breakage{"setup_without_hd", "setup.kal", "XX\na\nb\nc\nd\n", kEngineNoCase, "setup.kal line 1", true},
    Breakage{"deck_missing", "input.dat", "missing", kEngineNoCase, "input.dat", false},
    Breakage{"deck_bad_count", "input.dat", "demo    .out\nt\n   11    0    1\n", kEngineNoCase, "input.dat line 3", true},
    Breakage{"database_bad_line", "database", "A ; C 1 ; 0 ; 1\nB ; H 1 ; x ; 1\n", kEngineNoCase, "line 2: the heat of formation", true},
    Breakage{"database_missing_element", "database",
             "Silica ; SI 1 O 2 ; -910 ; 2.6\nB ; C 1 ; 0 ; 2\nC ; AL 1 ; 0 ; 2.7\n", kEngineSomeRunsFailed,
             "component 1 (Silica): no gaseous species of the thermochemical data contains SI", true},
    Breakage{"thermo_empty", "thermo", "! nothing here\n", kEngineNoCase, "holds no species", true},
    Breakage{"ingredient_zero", "id", "0", kEngineSomeRunsFailed, "ingredient number 0", true},
    Breakage{"ingredient_past_end", "id", "62", kEngineSomeRunsFailed, "has lines 1 to 61", true}),
    [](const testing::TestParamInfo<Breakage>& info) { return std::string(info.param.name); });

}  // namespace
