#include "IngredientDatabase.h"

#include <cmath>

#include "Elements.h"
#include "TextFields.h"

namespace {

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(';', start);
        fields.push_back(TrimBlanks(line.substr(start, end - start)));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

std::optional<Formula> ReadFormula(std::string_view text, double& molarMass, std::string& message)
{
    const std::vector<std::string_view> words = SplitWords(text);
    if (words.empty() || words.size() % 2 != 0) {
        message = "the formula must be element symbols each followed by its count";
        return std::nullopt;
    }
    Formula formula;
    molarMass = 0.0;
    for (std::size_t i = 0; i < words.size(); i += 2) {
        const std::optional<double> weight = AtomicWeight(words[i]);
        if (!weight || NormalizeSymbol(words[i]) == "E") {
            message = "\"" + std::string(words[i]) + "\" is not an element symbol";
            return std::nullopt;
        }
        const std::optional<double> count = ParseWholeReal(words[i + 1]);
        if (!count || *count < 0.0) {
            message = "the count of " + std::string(words[i]) + " must be a number of 0 or more";
            return std::nullopt;
        }
        formula.push_back({NormalizeSymbol(words[i]), *count});
        molarMass += *weight * *count;
    }
    if (!(molarMass > 0.0)) {
        message = "the formula has no atoms";
        return std::nullopt;
    }
    return formula;
}

}  // namespace

std::optional<Ingredient> ReadIngredientLine(std::string_view line, std::string& message)
{
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != 4) {
        message = "expected NAME ; FORMULA ; DHF ; DENSITY (four fields separated by \";\")";
        return std::nullopt;
    }
    Ingredient ingredient;
    ingredient.name = std::string(fields[0]);
    if (ingredient.name.empty()) {
        message = "the name is empty";
        return std::nullopt;
    }
    std::optional<Formula> formula = ReadFormula(fields[1], ingredient.molarMass, message);
    if (!formula)
        return std::nullopt;
    ingredient.formula = std::move(*formula);
    const std::optional<double> dhf = ParseWholeReal(fields[2]);
    if (!dhf) {
        message = "the heat of formation (kJ/mol) must be a number";
        return std::nullopt;
    }
    ingredient.heatOfFormation = *dhf;
    const std::optional<double> density = ParseWholeReal(fields[3]);
    if (!density || !(*density > 0.0)) {
        message = "the density (g/cm3) must be a number above 0";
        return std::nullopt;
    }
    ingredient.density = *density;
    return ingredient;
}

IngredientReading ReadIngredientDatabase(std::string_view text)
{
    IngredientReading reading;
    std::vector<std::string_view> lines = SplitTextLines(text);
    while (!lines.empty() && TrimBlanks(lines.back()).empty())
        lines.pop_back();
    if (lines.empty()) {
        reading.problem = DataProblem{0, "the file holds no ingredient"};
        return reading;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string message;
        std::optional<Ingredient> ingredient = ReadIngredientLine(lines[i], message);
        if (!ingredient) {
            reading.problem = DataProblem{static_cast<int>(i + 1), message};
            return reading;
        }
        reading.ingredients.push_back(std::move(*ingredient));
    }
    return reading;
}
