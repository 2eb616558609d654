// A log kept as one My Food: the number of servings and the values per serving.
#include <gtest/gtest.h>

#include <string>

#include "foodlog/recipe_line.h"

namespace {

TEST(ParseServings, DigitsAndPointsAboveZero) {
    const std::pair<const char*, double> good[] = {{"1", 1.0}, {"4", 4.0}, {"2.5", 2.5}, {".5", 0.5}};
    for (const auto& c : good) {
        double servings = 0;
        ASSERT_EQ(ParseServings(c.first, &servings), 1) << c.first;
        EXPECT_EQ(servings, c.second);
    }
    const std::string beyondFloat(60, '9');
    for (const char* bad : {"", "0", "0.0", "-1", "1,5", " 1", "abc", ".", "1e5", beyondFloat.c_str()}) {
        double servings = 7;
        EXPECT_EQ(ParseServings(bad, &servings), 0) << bad;
        EXPECT_EQ(servings, 7);
    }
}

TEST(PerServingValues, OneDivisionAndOneRoundingInTheFieldsUnit) {
    struct Case {
        int slot;
        int32_t total;
        int32_t perServing;  // of 4 servings
    };
    const Case cases[] = {
        {kCalories, 1002, 251},       // 250.5: the halfway point rounds up
        {kCalories, 1001, 250},       // 250.25
        {kProtein, 10001, 2500},      // thousandths of a gram
        {kProtein, 10002, 2501},      // 2500.5
        {kSodium, 2400, 600},         // kept as an amount
        {kCalcium, 1000, 25},         // 250 mg of 1000 mg: 25 %
        {kCalcium, 1020, 26},         // 25.5 %
        {kIron, 36000, 50000},        // 9 mg of 18 mg: 50.000 %, in thousandths
        {kThiamin, 6000, 100000},     // 1.5 mg of 1.5 mg
        {kVitaminE, 120000, 100000},  // the hidden Vitamin E is kept as a percentage too
        {kWater, 7, 2},               // 1.75 thousandths
    };
    EntryNutrients totals{}, perServing{};
    for (const Case& c : cases) {
        totals.amounts[c.slot] = c.total;
        PerServingValues(totals, 4.0, &perServing);
        EXPECT_EQ(perServing.amounts[c.slot], c.perServing) << "slot " << c.slot << " total " << c.total;
    }
}

}  // namespace
