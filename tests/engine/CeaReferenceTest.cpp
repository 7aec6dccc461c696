// The engine against NASA CEA (the Glenn program of Gordon and McBride, NASA
// RP-1311), as Debian's rocketcea package runs it.  CEA was given the same
// formulas and heats of formation as data/kalcoded.daf, initial temperature
// 298.15 K, infinite-area combustor; bench/print-references printed these
// figures from CEA's output (CEA of 18 October 2002, thermo.inp of 9/09/04,
// Debian rocketcea 1.1.18+dfsg-3).
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "Rocket.h"
#include "ShippedData.h"

namespace {

constexpr double kBarPerPsi = 0.0689475729;

struct ChamberReference {
    double temperature;          // K
    double molecularWeight;      // M, (1/n)
    double gamma;                // GAMMAs
    double cp;                   // kJ/(kg K), equilibrium
    std::map<std::string, double> mainSpecies;  // mole fractions of 1 % and more
};

struct ExpansionReference {
    double throatTemperature;    // K
    double exitTemperature;      // K
    double areaRatio;            // Ae/At
    double cstar;                // m/s
    double cf;
    double isp;                  // m/s at the exhaust pressure
    double ispVacuum;            // m/s
};

struct CeaCase {
    const char* name;
    std::vector<int> ingredients;
    std::vector<double> masses;
    double chamberPsia;
    double exhaustPsia;
    ChamberReference chamber;
    ExpansionReference shifting;
    // CEA stops a frozen expansion whose exit lies more than 50 K below the
    // range of a condensed product; then only the throat's c* is compared.
    bool frozenExit;
    ExpansionReference frozen;
    bool ions = false;     // option 2; CEA then had "ions" on its problem line
};

std::ostream& operator<<(std::ostream& out, const CeaCase& c) { return out << c.name; }

const std::vector<CeaCase> kCeaCases = {
    {"AP/HTPB/Al 68/14/18", {41, 42, 1}, {68, 14, 18}, 1000, 14.696,
     {3419.03, 27.883, 1.1332, 3.7437, {{"AL2O3(L)", 0.07715}, {"CO", 0.24523}, {"H", 0.03153}, {"H2", 0.30917}, {"H2O", 0.09440}, {"HCL", 0.12689}, {"N2", 0.07543}}},
     {3226.71, 2163.79, 10.336, 1588.6, 1.6335, 2595.0, 2836.3},
     false, {3128.53, 0, 0, 1563.7, 0, 0, 0}},
    {"AP/HTPB 80/20", {41, 42}, {80, 20}, 1000, 14.696,
     {2387.10, 22.084, 1.2368, 1.9966, {{"CO", 0.26032}, {"CO2", 0.05166}, {"H2", 0.21255}, {"H2O", 0.24748}, {"HCL", 0.14995}, {"N2", 0.07656}}},
     {2130.89, 1028.03, 8.037, 1444.2, 1.5685, 2265.3, 2435.9},
     true, {2121.56, 962.04, 7.612, 1440.6, 1.5601, 2247.5, 2408.6}},
    {"AN/HTPB 80/20", {18, 42}, {80, 20}, 1000, 14.696,
     {1371.62, 18.367, 1.2417, 2.7403, {{"CO", 0.18896}, {"CO2", 0.06744}, {"H2", 0.32051}, {"H2O", 0.23504}, {"N2", 0.18447}}},
     {1242.19, 823.48, 9.638, 1205.0, 1.6182, 1950.0, 2120.7},
     true, {1200.21, 496.64, 7.059, 1185.7, 1.5416, 1827.9, 1950.9}},
    {"KNO3/sucrose 65/35", {20, 11}, {65, 35}, 1000, 14.696,
     {1716.83, 42.011, 1.1235, 2.2810, {{"CO", 0.19808}, {"CO2", 0.14436}, {"H2", 0.11674}, {"H2O", 0.29652}, {"K2CO3(L)", 0.11417}, {"N2", 0.11961}}},
     {1622.97, 1141.05, 10.868, 920.6, 1.6485, 1517.7, 1664.7},
     false, {1608.84, 0, 0, 917.3, 0, 0, 0}},
    {"NC/NG 55/45", {48, 50}, {55, 45}, 1000, 14.696,
     {3179.67, 27.184, 1.1496, 3.2821, {{"CO", 0.26881}, {"CO2", 0.22212}, {"H2", 0.04452}, {"H2O", 0.28511}, {"N2", 0.14635}, {"OH", 0.01768}}},
     {2975.36, 1658.34, 8.891, 1542.4, 1.6006, 2468.8, 2670.3},
     true, {2879.43, 1487.56, 8.483, 1516.8, 1.5864, 2406.2, 2595.3}},
    {"HMX/GAP 70/30", {25, 46}, {70, 30}, 1000, 14.696,
     {2328.24, 20.175, 1.2782, 1.9085, {{"CO", 0.36144}, {"CO2", 0.01245}, {"H2", 0.28672}, {"H2O", 0.05619}, {"N2", 0.28229}}},
     {2039.65, 997.18, 8.005, 1474.8, 1.5541, 2291.9, 2465.4},
     true, {2034.46, 850.09, 7.119, 1472.6, 1.5441, 2273.9, 2428.0}},
    {"AP/HTPB/Al 68/14/18 500 psia", {41, 42, 1}, {68, 14, 18}, 500, 1,
     {3360.39, 27.695, 1.1299, 4.1267, {{"AL2O3(L)", 0.07639}, {"CL", 0.01045}, {"CO", 0.24362}, {"H", 0.03842}, {"H2", 0.30435}, {"H2O", 0.09369}, {"HCL", 0.12487}, {"N2", 0.07497}}},
     {3179.97, 1575.16, 48.335, 1582.1, 1.8805, 2975.1, 3128.0},
     false, {3072.23, 0, 0, 1554.6, 0, 0, 0}},
};

// The same propellants with ions (bench/print-references --ions).
const std::vector<CeaCase> kCeaIonCases = {
    {"AP/HTPB/Al 68/14/18", {41, 42, 1}, {68, 14, 18}, 1000, 14.696,
     {3418.99, 27.883, 1.1332, 3.7443, {{"AL2O3(L)", 0.07715}, {"CO", 0.24523}, {"H", 0.03153}, {"H2", 0.30917}, {"H2O", 0.09440}, {"HCL", 0.12689}, {"N2", 0.07543}}},
     {3226.69, 2163.79, 10.336, 1588.6, 1.6335, 2594.9, 2836.3},
     false, {3128.49, 0, 0, 1563.7, 0, 0, 0}, true},
    {"NC/NG 55/45", {48, 50}, {55, 45}, 1000, 14.696,
     {3179.67, 27.184, 1.1496, 3.2821, {{"CO", 0.26881}, {"CO2", 0.22212}, {"H2", 0.04452}, {"H2O", 0.28511}, {"N2", 0.14635}, {"OH", 0.01768}}},
     {2975.37, 1658.35, 8.891, 1542.4, 1.6006, 2468.8, 2670.3},
     true, {2879.43, 1487.56, 8.483, 1516.8, 1.5864, 2406.2, 2595.3}, true},
};

class CeaReference : public testing::TestWithParam<CeaCase> {
protected:
    void SetUp() override
    {
        const CeaCase& c = GetParam();
        m_propellant = std::make_unique<TestPropellant>(MakeTestPropellant(c.ingredients, c.masses, c.ions));
        RocketInput input;
        input.chamberPressure = c.chamberPsia * kBarPerPsi;
        input.exitPressure = c.exhaustPsia * kBarPerPsi;
        m_result = ComputeRocket(m_propellant->system, m_propellant->propellant.enthalpy, input);
        ASSERT_TRUE(m_result.ok) << m_result.message;
    }

    static void ExpectWithin(double ours, double cea, double fraction, const char* what)
    {
        EXPECT_NEAR(ours, cea, fraction * std::fabs(cea)) << what;
    }

    std::unique_ptr<TestPropellant> m_propellant;
    RocketResult m_result;
};

// Chamber temperature and molecular weight within 0.1 % of CEA's, the main
// species' mole fractions within 1 % of theirs.  Catches wrong thermodynamic
// data, a wrong propellant enthalpy or a missing product.
TEST_P(CeaReference, ChamberAgrees)
{
    const ChamberReference& cea = GetParam().chamber;
    const MixtureProperties& ours = m_result.chamber.properties;
    ExpectWithin(ours.temperature, cea.temperature, 0.001, "chamber temperature");
    ExpectWithin(ours.molecularWeight, cea.molecularWeight, 0.001, "molecular weight");
    ExpectWithin(ours.gammaEquilibrium, cea.gamma, 0.002, "gamma");
    ExpectWithin(ours.cpEquilibrium, cea.cp, 0.005, "equilibrium cp");
    const std::vector<double> fractions = MoleFractions(m_result.chamber.composition);
    for (const auto& [name, fraction] : cea.mainSpecies) {
        const int j = SpeciesIndex(m_propellant->system, name);
        ASSERT_GE(j, 0) << name;
        ExpectWithin(fractions[j], fraction, 0.01, name.c_str());
    }
}

// Shifting equilibrium: c* and Isp within 0.1 %, exit temperature within
// 0.3 %, Ae/At within 0.5 %.  Catches a wrong throat, a wrong isentrope or a
// wrong condensed phase in the nozzle.
TEST_P(CeaReference, ShiftingExpansionAgrees)
{
    const ExpansionReference& cea = GetParam().shifting;
    const Performance& ours = m_result.shifting;
    ASSERT_TRUE(ours.computed) << ours.failure;
    ExpectWithin(ours.throat.properties.temperature, cea.throatTemperature, 0.001, "throat temperature");
    ExpectWithin(ours.exit.properties.temperature, cea.exitTemperature, 0.003, "exit temperature");
    ExpectWithin(ours.exit.areaRatio, cea.areaRatio, 0.005, "area ratio");
    ExpectWithin(ours.cstar, cea.cstar, 0.001, "c*");
    ExpectWithin(ours.cf, cea.cf, 0.001, "CF");
    ExpectWithin(ours.isp, cea.isp, 0.001, "Isp");
    ExpectWithin(ours.ispVacuum, cea.ispVacuum, 0.001, "vacuum Isp");
}

// Frozen composition: every value within 0.3 %.  Catches a frozen sound
// speed or entropy with equilibrium terms in it.
TEST_P(CeaReference, FrozenExpansionAgrees)
{
    const ExpansionReference& cea = GetParam().frozen;
    const Performance& ours = m_result.frozen;
    ASSERT_TRUE(ours.computed) << ours.failure;
    ExpectWithin(ours.throat.properties.temperature, cea.throatTemperature, 0.003, "throat temperature");
    ExpectWithin(ours.cstar, cea.cstar, 0.003, "c*");
    if (!GetParam().frozenExit)
        return;
    ExpectWithin(ours.exit.properties.temperature, cea.exitTemperature, 0.003, "exit temperature");
    ExpectWithin(ours.exit.areaRatio, cea.areaRatio, 0.003, "area ratio");
    ExpectWithin(ours.cf, cea.cf, 0.003, "CF");
    ExpectWithin(ours.isp, cea.isp, 0.003, "Isp");
    ExpectWithin(ours.ispVacuum, cea.ispVacuum, 0.003, "vacuum Isp");
}

std::string CaseName(const testing::TestParamInfo<CeaCase>& info)
{
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Propellants, CeaReference, testing::ValuesIn(kCeaCases), CaseName);
INSTANTIATE_TEST_SUITE_P(PropellantsWithIons, CeaReference, testing::ValuesIn(kCeaIonCases), CaseName);

}  // namespace

namespace {

// The design table's row at Ae/At = 40 against CEA's supersonic area-ratio
// point of AP/HTPB/Al 68/14/18 at 1000 psia (T 1630.85 K, Isp 2942.8 m/s,
// Ivac 3102.9 m/s, Pc/P 396.94).  Catches a table point found on the wrong
// side of the throat or at the wrong area.
TEST(CeaReferenceTable, AreaRatio40)
{
    const TestPropellant p = MakeTestPropellant({41, 42, 1}, {68, 14, 18});
    RocketInput input;
    input.chamberPressure = 1000 * kBarPerPsi;
    input.exitPressure = 14.696 * kBarPerPsi;
    input.nozzleTable = true;
    const RocketResult r = ComputeRocket(p.system, p.propellant.enthalpy, input);
    ASSERT_TRUE(r.ok) << r.message;
    const NozzleRow* row = nullptr;
    for (const NozzleRow& candidate : r.table) {
        if (std::fabs(candidate.point.areaRatio - 40.0) < 1e-4)
            row = &candidate;
    }
    ASSERT_NE(row, nullptr);
    EXPECT_NEAR(row->point.properties.temperature, 1630.85, 0.003 * 1630.85);
    EXPECT_NEAR(row->isp, 2942.8, 0.001 * 2942.8);
    EXPECT_NEAR(row->ispVacuum, 3102.9, 0.001 * 3102.9);
    EXPECT_NEAR(r.chamber.properties.pressure / row->point.properties.pressure, 396.94, 0.005 * 396.94);
}

}  // namespace
