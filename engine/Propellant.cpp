#include "Propellant.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kStandardTemperature = 298.15;
constexpr double kJoulePerCalorie = 4.184;

double Integral(double a, double b, double c, double t)
{
    return a * t + b * t * t / 2.0 + c * t * t * t / 3.0;
}

}  // namespace

double SolidHeatFrom298(double a, double b, double c, double temperature)
{
    return kJoulePerCalorie *
           (Integral(a, b, c, temperature) - Integral(a, b, c, kStandardTemperature));
}

std::optional<Propellant> MakePropellant(const PropellantInput& input,
                                         const std::vector<Ingredient>& database,
                                         std::string& message)
{
    Propellant propellant;
    const std::size_t count = std::min(input.ingredientNumbers.size(), input.masses.size());
    for (std::size_t k = 0; k < count; ++k) {
        const int number = input.ingredientNumbers[k];
        if (number < 1 || static_cast<std::size_t>(number) > database.size()) {
            message = "component " + std::to_string(k + 1) + " has ingredient number " +
                      std::to_string(number) + ", but the ingredient database has lines 1 to " +
                      std::to_string(database.size());
            return std::nullopt;
        }
        const double mass = input.masses[k];
        if (!(mass >= 0.0) || !std::isfinite(mass)) {
            message = "component " + std::to_string(k + 1) + " has a negative weight";
            return std::nullopt;
        }
        propellant.components.push_back({number, &database[number - 1], mass, 0.0});
        propellant.totalMass += mass;
    }
    if (!(propellant.totalMass > 0.0)) {
        message = "the total weight of the components is zero";
        return std::nullopt;
    }
    double volume = 0.0;
    propellant.enthalpy = SolidHeatFrom298(input.cp[0], input.cp[1], input.cp[2],
                                           input.initialTemperature);
    for (PropellantComponent& component : propellant.components) {
        const Ingredient& ingredient = *component.ingredient;
        component.fraction = component.mass / propellant.totalMass;
        volume += component.fraction / ingredient.density;
        const double formulaMoles = component.fraction / ingredient.molarMass;  // per gram
        propellant.enthalpy += formulaMoles * ingredient.heatOfFormation * 1000.0;
        if (component.fraction == 0.0)
            continue;
        for (const FormulaTerm& term : ingredient.formula) {
            if (term.count == 0.0)
                continue;
            auto at = std::find(propellant.elements.begin(), propellant.elements.end(), term.element);
            if (at == propellant.elements.end()) {
                propellant.elements.push_back(term.element);
                propellant.elementMoles.push_back(0.0);
                at = propellant.elements.end() - 1;
            }
            propellant.elementMoles[at - propellant.elements.begin()] += formulaMoles * term.count;
        }
    }
    propellant.density = 1.0 / volume;
    return propellant;
}
