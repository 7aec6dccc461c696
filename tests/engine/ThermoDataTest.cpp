#include <gtest/gtest.h>

#include <cmath>

#include "Equilibrium.h"
#include "ShippedData.h"
#include "ThermoData.h"

namespace {

const Species* Find(const std::vector<Species>& species, const std::string& name)
{
    for (const Species& s : species) {
        if (s.name == name)
            return &s;
    }
    return nullptr;
}

// One record as NASA's file writes it: liquid alumina, one interval.
const char kAluminaLiquid[] =
    "AL2O3(L)          Liquid. Gurvich,1996a pt1 p134 pt2 p103.\n"
    " 1 tpis96 AL  2.00O   3.00    0.00    0.00    0.00 3  101.9612760   -1675700.000\n"
    "   2327.000   6000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0        10016.000\n"
    " 0.000000000D+00 0.000000000D+00 1.959225499D+01 0.000000000D+00 0.000000000D+00\n"
    " 0.000000000D+00 0.000000000D+00                -2.027701571D+05-1.108590952D+02\n";

// The shipped file reads whole and holds gases, ions and condensed phases of
// the database's elements.  Catches a broken extract or reader.
TEST(ThermoData, ShippedFileHoldsGasesIonsAndCondensedPhases)
{
    const std::vector<Species>& species = ShippedSpecies();
    EXPECT_GT(species.size(), 600u);
    const Species* liquid = Find(species, "AL2O3(L)");
    ASSERT_NE(liquid, nullptr);
    EXPECT_TRUE(liquid->condensed);
    EXPECT_DOUBLE_EQ(liquid->LowestTemperature(), 2327.0);
    const Species* ion = Find(species, "NO+");
    ASSERT_NE(ion, nullptr);
    EXPECT_TRUE(ion->IsIon());
    EXPECT_DOUBLE_EQ(CountOf(ion->formula, "E"), -1.0);
    ASSERT_NE(Find(species, "e-"), nullptr);
    const Species* potassium = Find(species, "KOH");
    ASSERT_NE(potassium, nullptr);
    EXPECT_DOUBLE_EQ(CountOf(potassium->formula, "K"), 1.0);
}

struct KnownValue {
    const char* species;
    double formationEnthalpy;   // J/mol at 298.15 K, JANAF
    double entropy;             // J/(mol K) at 298.15 K and 1 bar, JANAF
};

class ThermoKnownValue : public testing::TestWithParam<KnownValue> {};

// The fits give the tabulated heats of formation and entropies at 298.15 K.
// Catches coefficients read from the wrong columns or a wrong formula.
TEST_P(ThermoKnownValue, At298)
{
    const Species* s = Find(ShippedSpecies(), GetParam().species);
    ASSERT_NE(s, nullptr);
    const SpeciesProperties p = PropertiesAt(*s, 298.15);
    EXPECT_NEAR(p.h * kGasConstant * 298.15, GetParam().formationEnthalpy, 30.0);
    EXPECT_NEAR(p.s * kGasConstant, GetParam().entropy, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Species, ThermoKnownValue, testing::Values(
    KnownValue{"N2", 0.0, 191.609},
    KnownValue{"H2O", -241826.0, 188.834},
    KnownValue{"CO2", -393510.0, 213.785},
    KnownValue{"HCL", -92310.0, 186.902}),
    [](const testing::TestParamInfo<KnownValue>& info) {
        std::string name = info.param.species;
        return name;
    });

// Adjacent intervals meet at their common temperature, so the three
// properties agree on both sides of 1000 K.  Catches b1/b2 or a6/a7 mixed up.
TEST(ThermoData, IntervalsMeetAt1000K)
{
    for (const char* name : {"CO", "H2O", "OH", "HCL", "ALCL"}) {
        const Species* s = Find(ShippedSpecies(), name);
        ASSERT_NE(s, nullptr) << name;
        const SpeciesProperties below = PropertiesAt(*s, 999.999);
        const SpeciesProperties above = PropertiesAt(*s, 1000.001);
        EXPECT_NEAR(below.cp, above.cp, 2e-3 * std::fabs(above.cp)) << name;
        EXPECT_NEAR(below.h, above.h, 1e-3 * std::fabs(above.h) + 1e-3) << name;
        EXPECT_NEAR(below.s, above.s, 1e-3 * std::fabs(above.s)) << name;
    }
}

// A record is read column by column; liquid alumina's Cp/R is its constant
// a3 and its molecular weight and range are those written.
TEST(ThermoData, ReadsOneRecord)
{
    const ThermoReading reading = ReadThermoData(kAluminaLiquid);
    ASSERT_TRUE(reading.ok()) << reading.problem->message;
    ASSERT_EQ(reading.species.size(), 1u);
    const Species& s = reading.species[0];
    EXPECT_EQ(s.name, "AL2O3(L)");
    EXPECT_TRUE(s.condensed);
    EXPECT_NEAR(s.molarMass, 101.961276, 1e-9);
    EXPECT_DOUBLE_EQ(s.HighestTemperature(), 6000.0);
    EXPECT_NEAR(PropertiesAt(s, 3000.0).cp, 19.59225499, 1e-9);
}

struct BrokenRecord {
    const char* name;
    std::size_t line;      // 0-based line of the record to change
    std::size_t column;    // where the damage starts
    const char* text;      // what goes there
    int expectedLine;      // the line the problem names
};

class ThermoBrokenRecord : public testing::TestWithParam<BrokenRecord> {};

// Damage in any field is refused with the file's line number.  Catches a
// reader that takes a damaged coefficient as zero.
TEST_P(ThermoBrokenRecord, IsRefusedAtItsLine)
{
    std::string text = std::string("! a comment line\n") + kAluminaLiquid;
    std::size_t start = 0;
    for (std::size_t k = 0; k < GetParam().line + 1; ++k)
        start = text.find('\n', start) + 1;
    text.replace(start + GetParam().column, std::string(GetParam().text).size(), GetParam().text);
    const ThermoReading reading = ReadThermoData(text);
    ASSERT_FALSE(reading.ok());
    EXPECT_EQ(reading.problem->line, GetParam().expectedLine) << reading.problem->message;
}

INSTANTIATE_TEST_SUITE_P(Fields, ThermoBrokenRecord, testing::Values(
    BrokenRecord{"interval_count", 1, 0, " x", 3},
    BrokenRecord{"element_symbol", 1, 10, "QQ", 3},
    BrokenRecord{"molecular_weight", 1, 55, "abc", 3},
    BrokenRecord{"temperature_range", 2, 3, "abcd", 4},
    BrokenRecord{"exponent", 2, 25, "9", 4},
    BrokenRecord{"coefficient", 3, 20, "xyz", 5},
    BrokenRecord{"integration_constant", 4, 70, "q", 6}),
    [](const testing::TestParamInfo<BrokenRecord>& info) { return std::string(info.param.name); });

// A file cut inside a record is refused, not read past its end.
TEST(ThermoData, TruncatedRecordIsRefused)
{
    const std::string text(kAluminaLiquid);
    const ThermoReading reading = ReadThermoData(text.substr(0, text.rfind(" 0.000000000D+00 0.0")));
    ASSERT_FALSE(reading.ok());
    EXPECT_NE(reading.problem->message.find("ends inside"), std::string::npos);
}

}  // namespace

namespace {

// Read from an open file or from text, the data are the same.  Catches a
// line lost or cut at the file reader's buffer size.
TEST(ThermoData, FileAndTextReadAlike)
{
    const std::string text = ReadTextFile(DataPath("jannaf.daf"));
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    const ThermoReading fromFile = ReadThermoData(file);
    std::fclose(file);
    ASSERT_TRUE(fromFile.ok()) << fromFile.problem->message;
    const std::vector<Species>& fromText = ShippedSpecies();
    ASSERT_EQ(fromFile.species.size(), fromText.size());
    for (std::size_t k = 0; k < fromText.size(); ++k) {
        EXPECT_EQ(fromFile.species[k].name, fromText[k].name);
        EXPECT_EQ(fromFile.species[k].intervals.back().b[1], fromText[k].intervals.back().b[1]);
    }
}

// With a list of elements only the species made of them are kept.  Catches
// a filter that drops a needed species or keeps a foreign one.
TEST(ThermoData, ElementListKeepsOnlyItsSpecies)
{
    const std::vector<std::string> elements{"AL", "O"};
    const ThermoReading reading = ReadThermoData(ReadTextFile(DataPath("jannaf.daf")), &elements);
    ASSERT_TRUE(reading.ok());
    std::size_t expected = 0;
    for (const Species& s : ShippedSpecies()) {
        bool inside = true;
        for (const FormulaTerm& term : s.formula)
            inside = inside && (term.element == "AL" || term.element == "O");
        expected += inside ? 1 : 0;
    }
    EXPECT_EQ(reading.species.size(), expected);
    EXPECT_NE(Find(reading.species, "AL2O3(L)"), nullptr);
    EXPECT_NE(Find(reading.species, "O2"), nullptr);
    EXPECT_EQ(Find(reading.species, "CO"), nullptr);
}

}  // namespace
