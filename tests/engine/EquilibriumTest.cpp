#include <gtest/gtest.h>

#include <cmath>

#include "Equilibrium.h"
#include "ShippedData.h"

namespace {

constexpr double kBarPerPsi = 0.0689475729;

struct PhysicsCase {
    const char* name;
    std::vector<int> ingredients;
    std::vector<double> masses;
    double pressureBar;
    bool ions;
};

std::ostream& operator<<(std::ostream& out, const PhysicsCase& c) { return out << c.name; }

const std::vector<PhysicsCase> kPhysicsCases = {
    {"ap_htpb_al", {41, 42, 1}, {68, 14, 18}, 1000 * kBarPerPsi, false},
    {"ap_htpb_al_ions", {41, 42, 1}, {68, 14, 18}, 1000 * kBarPerPsi, true},
    {"kno3_sucrose", {20, 11}, {65, 35}, 1000 * kBarPerPsi, false},
    {"an_htpb_low_pressure", {18, 42}, {80, 20}, 1.0, false},
    {"nc_ng_ions", {48, 50}, {55, 45}, 500 * kBarPerPsi, true},
    {"mg_kclo4_sulfur", {2, 19, 10}, {40, 50, 10}, 2000 * kBarPerPsi, false},
    {"boron_ap_htpb", {3, 41, 42}, {10, 70, 20}, 1000 * kBarPerPsi, false},
};

class EquilibriumPhysics : public testing::TestWithParam<PhysicsCase> {
protected:
    void SetUp() override
    {
        m_propellant = std::make_unique<TestPropellant>(
            MakeTestPropellant(GetParam().ingredients, GetParam().masses, GetParam().ions));
        Conditions conditions;
        conditions.held = Held::Enthalpy;
        conditions.pressure = GetParam().pressureBar;
        conditions.enthalpy = m_propellant->propellant.enthalpy;
        m_result = SolveEquilibrium(m_propellant->system, conditions);
        ASSERT_TRUE(m_result.converged) << m_result.failure;
    }

    std::unique_ptr<TestPropellant> m_propellant;
    EquilibriumResult m_result;
};

// Every element's amount in the products is the propellant's, and the
// products carry no net charge.  Catches a lost or created atom.
TEST_P(EquilibriumPhysics, ElementsAreConserved)
{
    const ChemicalSystem& s = m_propellant->system;
    for (std::size_t i = 0; i < s.ElementCount(); ++i) {
        double amount = 0.0;
        for (std::size_t j = 0; j < s.SpeciesCount(); ++j)
            amount += s.Atoms(j, i) * m_result.composition.moles[j];
        EXPECT_NEAR(amount, s.elementMoles[i], 1e-6 * 0.04 + 1e-7 * s.elementMoles[i]) << s.elements[i];
    }
}

// At the minimum of the Gibbs energy, the chemical potential of every species
// present is the sum of its atoms' element potentials, and no absent
// condensed species has a lower one.  Catches a solver that stops early or a
// condensed phase left out.
TEST_P(EquilibriumPhysics, ChemicalPotentialsMatchElementPotentials)
{
    const ChemicalSystem& s = m_propellant->system;
    const Composition& x = m_result.composition;
    const double t = x.temperature;
    double gas = 0.0;
    for (std::size_t j = 0; j < s.gasCount; ++j)
        gas += x.moles[j];
    for (std::size_t j = 0; j < s.SpeciesCount(); ++j) {
        const SpeciesProperties p = PropertiesAt(*s.species[j], t);
        double potential = p.h - p.s;
        double elementSum = 0.0;
        for (std::size_t i = 0; i < s.ElementCount(); ++i)
            elementSum += s.Atoms(j, i) * x.lagrange[i];
        if (!s.IsCondensed(j)) {
            if (x.moles[j] / gas < 1e-8)
                continue;
            potential += std::log(x.moles[j] / gas) + std::log(x.pressure);
            EXPECT_NEAR(potential, elementSum, 1e-3) << s.species[j]->name;
        } else if (x.active[j]) {
            EXPECT_NEAR(potential, elementSum, 1e-3) << s.species[j]->name;
        } else if (Covers(*s.species[j], t)) {
            EXPECT_GT(potential - elementSum, -1e-3) << s.species[j]->name << " should be present";
        }
    }
}

// The chamber keeps the propellant's enthalpy, and an expansion at constant
// entropy keeps the chamber's entropy.  Catches an energy equation with a
// wrong sign or term.
TEST_P(EquilibriumPhysics, HeldPropertyIsKept)
{
    EXPECT_NEAR(m_result.properties.enthalpy, m_propellant->propellant.enthalpy,
                1e-5 * std::fabs(m_propellant->propellant.enthalpy));
    Conditions expansion;
    expansion.held = Held::Entropy;
    expansion.pressure = GetParam().pressureBar / 20.0;
    expansion.entropy = m_result.properties.entropy;
    const EquilibriumResult expanded = SolveEquilibrium(m_propellant->system, expansion, &m_result.composition);
    ASSERT_TRUE(expanded.converged) << expanded.failure;
    EXPECT_NEAR(expanded.properties.entropy, m_result.properties.entropy, 1e-6);
    EXPECT_LT(expanded.properties.temperature, m_result.properties.temperature);
    EXPECT_LT(expanded.properties.enthalpy, m_result.properties.enthalpy);
}

// Fixing the temperature at the chamber's gives back the chamber's
// composition: the three held-property forms agree.  Catches a difference
// between the temperature and enthalpy forms of the equations.
TEST_P(EquilibriumPhysics, TemperatureFormAgrees)
{
    Conditions fixed;
    fixed.held = Held::Temperature;
    fixed.temperature = m_result.properties.temperature;
    fixed.pressure = GetParam().pressureBar;
    const EquilibriumResult again = SolveEquilibrium(m_propellant->system, fixed);
    ASSERT_TRUE(again.converged) << again.failure;
    EXPECT_NEAR(again.properties.enthalpy, m_result.properties.enthalpy, 0.05);
    EXPECT_NEAR(again.properties.molecularWeight, m_result.properties.molecularWeight, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Propellants, EquilibriumPhysics, testing::ValuesIn(kPhysicsCases),
                         [](const testing::TestParamInfo<PhysicsCase>& info) { return std::string(info.param.name); });

// With ions, the electron and charged species appear and balance; without,
// none is considered.  Catches option 2 being ignored either way.
TEST(Equilibrium, IonsOnlyWhenAsked)
{
    const TestPropellant with = MakeTestPropellant({41, 42, 1}, {68, 14, 18}, true);
    const TestPropellant without = MakeTestPropellant({41, 42, 1}, {68, 14, 18}, false);
    EXPECT_GE(SpeciesIndex(with.system, "e-"), 0);
    EXPECT_EQ(SpeciesIndex(without.system, "e-"), -1);
    for (const Species* s : without.system.species)
        EXPECT_FALSE(s->IsIon()) << s->name;
    Conditions conditions;
    conditions.pressure = 1000 * kBarPerPsi;
    conditions.enthalpy = with.propellant.enthalpy;
    const EquilibriumResult result = SolveEquilibrium(with.system, conditions);
    ASSERT_TRUE(result.converged);
    const double electrons = result.composition.moles[SpeciesIndex(with.system, "e-")];
    EXPECT_GT(electrons, 1e-9);
}

// An element that no gas of the data contains is refused by name before any
// iteration.  Catches a singular system reported as non-convergence.
TEST(Equilibrium, ElementWithoutSpeciesIsNamed)
{
    std::string message;
    const std::optional<ChemicalSystem> system =
        BuildChemicalSystem(ShippedSpecies(), {"C", "SI"}, {0.01, 0.01}, false, message);
    EXPECT_FALSE(system);
    EXPECT_NE(message.find("SI"), std::string::npos) << message;
}

// Expanding an aluminised propellant through alumina's melting point swaps
// the liquid for the solid, and at the melting point both stand together at
// 2327 K.  Catches a phase kept past its range or an endless swap.
TEST(Equilibrium, AluminaFreezesThroughItsMeltingPoint)
{
    const TestPropellant p = MakeTestPropellant({41, 42, 1}, {68, 14, 18});
    Conditions chamber;
    chamber.pressure = 1000 * kBarPerPsi;
    chamber.enthalpy = p.propellant.enthalpy;
    const EquilibriumResult c = SolveEquilibrium(p.system, chamber);
    ASSERT_TRUE(c.converged);
    const int liquid = SpeciesIndex(p.system, "AL2O3(L)");
    int solid = -1;
    for (std::size_t j = 0; j < p.system.SpeciesCount(); ++j) {
        if (p.system.species[j]->name == "AL2O3(a)" && Covers(*p.system.species[j], 2000.0))
            solid = static_cast<int>(j);
    }
    ASSERT_GE(liquid, 0);
    ASSERT_GE(solid, 0);
    EXPECT_GT(c.composition.moles[liquid], 0.0);
    Conditions melt;
    melt.held = Held::Entropy;
    melt.entropy = c.properties.entropy;
    melt.pressure = 2.0;  // bar: inside the two-phase plateau for this propellant
    const EquilibriumResult m = SolveEquilibrium(p.system, melt, &c.composition);
    ASSERT_TRUE(m.converged) << m.failure;
    EXPECT_NEAR(m.properties.temperature, 2327.0, 0.6);
    EXPECT_GT(m.composition.moles[liquid], 0.0);
    Conditions cold = melt;
    cold.pressure = 0.5;
    const EquilibriumResult f = SolveEquilibrium(p.system, cold, &m.composition);
    ASSERT_TRUE(f.converged) << f.failure;
    EXPECT_LT(f.properties.temperature, 2300.0);
    EXPECT_EQ(f.composition.moles[liquid], 0.0);
}

}  // namespace
