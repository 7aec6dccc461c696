#pragma once

#include <string>
#include <vector>

#include "Equilibrium.h"
#include "IngredientDatabase.h"
#include "Propellant.h"
#include "Rocket.h"
#include "ThermoData.h"

// The data files the project ships, read once for all tests.
const std::vector<Ingredient>& ShippedIngredients();
const std::vector<Species>& ShippedSpecies();
std::string ReadTextFile(const std::string& path);
std::string DataPath(const std::string& name);

// A propellant of the shipped database by ingredient numbers and masses,
// with its product system.
struct TestPropellant {
    Propellant propellant;
    ChemicalSystem system;
};
TestPropellant MakeTestPropellant(const std::vector<int>& ingredients, const std::vector<double>& masses,
                                  bool ions = false);

// Index of a species in a system by name; -1 when it is not there.
int SpeciesIndex(const ChemicalSystem& system, const std::string& name);
