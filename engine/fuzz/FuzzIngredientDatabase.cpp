// Feeds any text to the ingredient database reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "IngredientDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const IngredientReading reading =
        ReadIngredientDatabase(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const Ingredient& ingredient : reading.ingredients) {
        if (!(ingredient.molarMass > 0.0) || !(ingredient.density > 0.0))
            __builtin_trap();
    }
    return 0;
}
