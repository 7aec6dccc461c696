#pragma once

#include <optional>
#include <string>
#include <vector>

#include "IngredientDatabase.h"

// The propellant of one run: its components as masses, and what the
// equilibrium needs of it per gram.
struct PropellantComponent {
    int number = 0;                     // line in the ingredient database
    const Ingredient* ingredient = nullptr;
    double mass = 0.0;                  // as the deck gives it
    double fraction = 0.0;              // of the total mass
};

struct Propellant {
    std::vector<PropellantComponent> components;
    double totalMass = 0.0;
    double density = 0.0;               // g/cm3, from the components' densities
    double enthalpy = 0.0;              // J/g at the initial temperature
    std::vector<std::string> elements;  // capitals, in order of first appearance
    std::vector<double> elementMoles;   // mol of each element per gram
};

// The solid's sensible heat from 298.15 K to T, J/g, for Cp = a + b T + c T^2
// in cal/(g K).
double SolidHeatFrom298(double a, double b, double c, double temperature);

struct PropellantInput {
    std::vector<int> ingredientNumbers;
    std::vector<double> masses;
    double initialTemperature = 298.15;  // K
    double cp[3] = {};                   // cal/(g K), cal/(g K^2), cal/(g K^3)
};

// Mixes the components; fails, saying why, for an ingredient number that is
// not a line of the database, a negative mass, or a total mass of zero.
std::optional<Propellant> MakePropellant(const PropellantInput& input,
                                         const std::vector<Ingredient>& database,
                                         std::string& message);
