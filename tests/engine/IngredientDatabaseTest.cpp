#include <gtest/gtest.h>

#include <cmath>

#include "IngredientDatabase.h"
#include "ShippedData.h"

namespace {

// The shipped file must read whole, hold the promised range of ingredients,
// and keep ammonium perchlorate on line 41, which the picker selects by
// default.  Catches a malformed line or a shifted order.
TEST(IngredientDatabase, ShippedFileReadsWithApOnLine41)
{
    const std::vector<Ingredient>& ingredients = ShippedIngredients();
    ASSERT_GE(ingredients.size(), 60u);
    EXPECT_EQ(ingredients[40].name, "Ammonium perchlorate (AP)");
    EXPECT_NEAR(ingredients[40].heatOfFormation, -295.767, 1e-9);
    EXPECT_NEAR(ingredients[40].molarMass, 117.489, 0.01);
    for (const Ingredient& ingredient : ingredients) {
        EXPECT_GT(ingredient.density, 0.0) << ingredient.name;
        EXPECT_GT(ingredient.molarMass, 0.0) << ingredient.name;
    }
}

// Blanks around fields, symbols in any case and decimal counts are the
// line's free form; the formula's molar mass comes from atomic weights.
// Catches a reader that needs exact spacing or capital symbols.
TEST(IngredientDatabase, LineWithFreeSpacingAndLowerCaseSymbols)
{
    std::string message;
    const std::optional<Ingredient> ingredient =
        ReadIngredientLine("  HTPB test ;c 7.075 h 10.65 o 0.223 n 0.063;  -13.97 ;0.93  ", message);
    ASSERT_TRUE(ingredient) << message;
    EXPECT_EQ(ingredient->name, "HTPB test");
    ASSERT_EQ(ingredient->formula.size(), 4u);
    EXPECT_EQ(ingredient->formula[0].element, "C");
    EXPECT_DOUBLE_EQ(ingredient->formula[0].count, 7.075);
    EXPECT_NEAR(ingredient->molarMass, 7.075 * 12.0107 + 10.65 * 1.00794 + 0.223 * 15.9994 + 0.063 * 14.0067, 1e-9);
    EXPECT_DOUBLE_EQ(ingredient->heatOfFormation, -13.97);
}

struct BadLine {
    const char* name;
    const char* line;
    const char* expected;  // part of the message
};

class IngredientBadLine : public testing::TestWithParam<BadLine> {};

// Every malformed line is refused with a message that says what is wrong.
// Catches a reader that takes garbage as zeros.
TEST_P(IngredientBadLine, IsRefusedWithReason)
{
    std::string message;
    EXPECT_FALSE(ReadIngredientLine(GetParam().line, message));
    EXPECT_NE(message.find(GetParam().expected), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Lines, IngredientBadLine, testing::Values(
    BadLine{"three_fields", "AP ; N 1 H 4 CL 1 O 4 ; -295.767", "four fields"},
    BadLine{"unknown_element", "X ; Qq 1 ; 0 ; 1", "not an element symbol"},
    BadLine{"count_missing", "X ; N 1 H ; 0 ; 1", "each followed by its count"},
    BadLine{"count_not_a_number", "X ; N one ; 0 ; 1", "count of N"},
    BadLine{"dhf_text", "X ; N 1 ; lots ; 1", "heat of formation"},
    BadLine{"density_zero", "X ; N 1 ; 0 ; 0", "density"},
    BadLine{"empty_name", " ; N 1 ; 0 ; 1", "name is empty"},
    BadLine{"electron_as_element", "X ; E 1 ; 0 ; 1", "not an element symbol"}),
    [](const testing::TestParamInfo<BadLine>& info) { return std::string(info.param.name); });

// The first bad line stops the reading and is named by its number; trailing
// blank lines are not ingredients.  Catches off-by-one line numbers.
TEST(IngredientDatabase, BadLineIsNamedByNumber)
{
    const IngredientReading good = ReadIngredientDatabase("A ; C 1 ; 0 ; 2\r\nB ; H 2 ; 0 ; 1\n\n\n");
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(good.ingredients.size(), 2u);
    const IngredientReading bad = ReadIngredientDatabase("A ; C 1 ; 0 ; 2\nB ; H 2 ; 0\nC ; O 2 ; 0 ; 1\n");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.problem->line, 2);
    EXPECT_FALSE(ReadIngredientDatabase("").ok());
}

}  // namespace
