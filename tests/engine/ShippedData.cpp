#include "ShippedData.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

std::string ReadTextFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string DataPath(const std::string& name)
{
    return std::string(WTHARSEL_DATA_DIR) + "/" + name;
}

const std::vector<Ingredient>& ShippedIngredients()
{
    static const IngredientReading reading = ReadIngredientDatabase(ReadTextFile(DataPath("kalcoded.daf")));
    if (!reading.ok())
        throw std::runtime_error("kalcoded.daf: " + reading.problem->message);
    return reading.ingredients;
}

const std::vector<Species>& ShippedSpecies()
{
    static const ThermoReading reading = ReadThermoData(ReadTextFile(DataPath("jannaf.daf")));
    if (!reading.ok())
        throw std::runtime_error("jannaf.daf: " + reading.problem->message);
    return reading.species;
}

TestPropellant MakeTestPropellant(const std::vector<int>& ingredients, const std::vector<double>& masses,
                                  bool ions)
{
    PropellantInput input;
    input.ingredientNumbers = ingredients;
    input.masses = masses;
    input.initialTemperature = 298.15;
    input.cp[0] = 0.3;
    std::string message;
    std::optional<Propellant> propellant = MakePropellant(input, ShippedIngredients(), message);
    if (!propellant)
        throw std::runtime_error(message);
    std::optional<ChemicalSystem> system = BuildChemicalSystem(
        ShippedSpecies(), propellant->elements, propellant->elementMoles, ions, message);
    if (!system)
        throw std::runtime_error(message);
    return {*propellant, *system};
}

int SpeciesIndex(const ChemicalSystem& system, const std::string& name)
{
    for (std::size_t j = 0; j < system.SpeciesCount(); ++j) {
        if (system.species[j]->name == name)
            return static_cast<int>(j);
    }
    return -1;
}
