#include "CaseRun.h"

#include "TextFields.h"

CaseOptions OptionsOf(const DeckValues& deck)
{
    CaseOptions options;
    options.deleteExitCalculations = deck.options[0] == 1;
    options.ions = deck.options[1] == 1;
    options.boostAndNozzle = deck.options[2] == 1;
    options.pressureInAtm = deck.options[3] == 1;
    options.listAllSpecies = deck.options[7] == 1;
    return options;
}

bool CaseOutcome::AllComputed() const
{
    for (const RunOutcome& run : runs) {
        if (!run.ok)
            return false;
    }
    return !runs.empty();
}

std::string CaseNameOf(const std::string& reportLine)
{
    std::string_view line = reportLine;
    const std::size_t dot = line.rfind(".out");
    if (dot != std::string_view::npos)
        line = line.substr(0, dot);
    return std::string(TrimBlanks(line));
}

namespace {

// "component 2 (Silica): " for the components that hold an element the
// message names.
std::string ComponentsWithout(const Propellant& propellant, const std::string& message)
{
    std::string text;
    for (std::size_t k = 0; k < propellant.components.size(); ++k) {
        const Ingredient& ingredient = *propellant.components[k].ingredient;
        for (const FormulaTerm& term : ingredient.formula) {
            if ((message + " ").find(" " + term.element + " ") != std::string::npos) {
                text += "component " + std::to_string(k + 1) + " (" + ingredient.name + "): ";
                break;
            }
        }
    }
    return text;
}

// The previous run's chamber, when it is of the same system: runs of a
// series differ a little, so it is a far better first estimate.
const Composition* SimilarChamber(const RunOutcome* previous, const ChemicalSystem& system)
{
    if (previous == nullptr || !previous->system || !previous->rocket.chamber.converged)
        return nullptr;
    const ChemicalSystem& other = *previous->system;
    if (other.elements != system.elements || other.species != system.species)
        return nullptr;
    return &previous->rocket.chamber.composition;
}

RunOutcome ComputeRun(const DeckValues& deck, const CaseOptions& options, int index,
                      const std::vector<Ingredient>& ingredients, const std::vector<Species>& species,
                      const RunOutcome* previous)
{
    RunOutcome outcome;
    outcome.run = index + 1;
    const RunTable& runs = deck.runs;
    const double toPsia = options.pressureInAtm ? kPsiPerAtm : 1.0;
    outcome.chamberPsia = runs.chamberPressure[index] * toPsia;
    outcome.exitPsia = runs.exhaustPressure[index] * toPsia;
    PropellantInput input;
    for (int k = 0; k < deck.componentCount && k < kMaxComponents; ++k) {
        input.ingredientNumbers.push_back(runs.ingredientId[k]);
        input.masses.push_back(runs.mass[k][index]);
    }
    outcome.masses = input.masses;
    input.initialTemperature = deck.initialTemperature;
    for (int k = 0; k < 3; ++k)
        input.cp[k] = deck.cp[k];
    if (!(outcome.chamberPsia > 0.0)) {
        outcome.status = "bad-chamber-pressure";
        outcome.message = "the chamber pressure must be above 0";
        return outcome;
    }
    if (!(deck.initialTemperature > 0.0)) {
        outcome.status = "bad-temperature";
        outcome.message = "the initial temperature must be above 0 K";
        return outcome;
    }
    outcome.propellant = MakePropellant(input, ingredients, outcome.message);
    if (!outcome.propellant) {
        outcome.status = "bad-propellant";
        return outcome;
    }
    outcome.system = BuildChemicalSystem(species, outcome.propellant->elements,
                                         outcome.propellant->elementMoles, options.ions, outcome.message);
    if (!outcome.system) {
        outcome.status = "no-species";
        outcome.message = ComponentsWithout(*outcome.propellant, outcome.message) + outcome.message;
        return outcome;
    }
    RocketInput rocket;
    rocket.chamberPressure = outcome.chamberPsia * kBarPerPsi;
    rocket.exitPressure = outcome.exitPsia * kBarPerPsi;
    rocket.exitCalculations = !options.deleteExitCalculations;
    rocket.nozzleTable = options.boostAndNozzle;
    rocket.chamberStart = SimilarChamber(previous, *outcome.system);
    outcome.rocket = ComputeRocket(*outcome.system, outcome.propellant->enthalpy, rocket);
    outcome.ok = outcome.rocket.ok;
    outcome.status = outcome.rocket.status;
    outcome.message = outcome.rocket.message;
    return outcome;
}

}  // namespace

CaseOutcome ComputeCase(const DeckValues& deck, const std::vector<Ingredient>& ingredients,
                        const std::vector<Species>& species)
{
    CaseOutcome outcome;
    outcome.caseName = CaseNameOf(deck.reportLine);
    outcome.title = std::string(TrimBlanks(deck.title));
    outcome.deck = deck;
    outcome.options = OptionsOf(deck);
    outcome.runs.reserve(kMaxRuns);
    for (int r = 0; r < deck.runs.runCount && r < kMaxRuns; ++r) {
        const RunOutcome* previous = outcome.runs.empty() ? nullptr : &outcome.runs.back();
        outcome.runs.push_back(ComputeRun(deck, outcome.options, r, ingredients, species, previous));
    }
    return outcome;
}
