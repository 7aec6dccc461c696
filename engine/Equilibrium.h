#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ThermoData.h"

// The gas constant in J/(mol K), as NASA's thermochemical data use it.
inline constexpr double kGasConstant = 8.314510;

// The species and elements of one propellant's products: every species of the
// data whose elements all occur in the propellant.  Amounts are per gram of
// propellant.
struct ChemicalSystem {
    std::vector<std::string> elements;     // capitals; "E" when ions are included
    std::vector<double> elementMoles;      // b0: mol of each element per gram
    std::vector<const Species*> species;   // gases first, then condensed
    std::size_t gasCount = 0;
    std::vector<double> atoms;             // atoms[j * elements + i]
    std::vector<int> phaseGroup;           // condensed: one number per formula; gases -1

    std::size_t ElementCount() const { return elements.size(); }
    std::size_t SpeciesCount() const { return species.size(); }
    double Atoms(std::size_t j, std::size_t i) const { return atoms[j * elements.size() + i]; }
    bool IsCondensed(std::size_t j) const { return j >= gasCount; }
};

// Builds the system of a propellant with the given element amounts.  With
// ions, charged species and the electron are included and charge is balanced
// as an element "E" of amount zero.  Fails, naming them, when an element has
// no species in the data.
std::optional<ChemicalSystem> BuildChemicalSystem(const std::vector<Species>& data,
                                                  const std::vector<std::string>& elements,
                                                  const std::vector<double>& elementMoles,
                                                  bool ions, std::string& message);

// What the equilibrium holds fixed besides the pressure.
enum class Held { Temperature, Enthalpy, Entropy };

struct Conditions {
    Held held = Held::Enthalpy;
    double pressure = 1.0;      // bar
    double temperature = 0.0;   // K, when held (else the first estimate, 0 for the default)
    double enthalpy = 0.0;      // J/g, when held
    double entropy = 0.0;       // J/(g K), when held
};

// An equilibrium composition: mol per gram of every species; condensed
// species outside the current set have 0 and are not active.
struct Composition {
    double temperature = 0.0;
    double pressure = 1.0;           // bar
    double gasMoles = 0.0;           // n, mol/g
    std::vector<double> moles;
    std::vector<char> active;        // condensed species in the set
    std::vector<double> lagrange;    // pi_i of the last iteration, one per element
};

// The mixture's properties at its composition.
struct MixtureProperties {
    double temperature = 0.0;        // K
    double pressure = 0.0;           // bar
    double gasMoles = 0.0;           // mol/g
    double molecularWeight = 0.0;    // g per mole of gas (1/n)
    double enthalpy = 0.0;           // J/g
    double entropy = 0.0;            // J/(g K)
    double density = 0.0;            // kg/m3, gas volume only
    double cpEquilibrium = 0.0;      // J/(g K)
    double cpFrozen = 0.0;           // J/(g K)
    double gammaEquilibrium = 0.0;   // isentropic exponent of the reacting mixture
    double gammaFrozen = 0.0;
    double dLnVdLnT = 1.0;           // at constant pressure
    double dLnVdLnP = -1.0;          // at constant temperature
    double soundSpeed = 0.0;         // m/s, equilibrium
    double frozenSoundSpeed = 0.0;   // m/s
};

struct EquilibriumResult {
    bool converged = false;
    std::string failure;             // why not, in words
    Composition composition;
    MixtureProperties properties;
    int iterations = 0;
};

// Minimises the Gibbs energy at the conditions.  A start composition (of the
// same system) is taken as the first estimate; otherwise every gas starts
// equal and no condensed species is in the set.
EquilibriumResult SolveEquilibrium(const ChemicalSystem& system, const Conditions& conditions,
                                   const Composition* start = nullptr);

// Properties of a composition, the equilibrium derivatives included when
// the composition is an equilibrium; frozen ones otherwise.
MixtureProperties PropertiesOf(const ChemicalSystem& system, const Composition& composition,
                               bool equilibrium);

// Mole fractions of every species relative to all moles, condensed included.
std::vector<double> MoleFractions(const Composition& composition);
