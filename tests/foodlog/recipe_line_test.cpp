// A log kept as one My Food: the per-serving values, the line, and the line read back as a food.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foodlog/food_line.h"
#include "foodlog/nutrients.h"
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

TEST(RecipeLine, ReadsBackAsTheSharePerServing) {
    EntryNutrients totals{};
    for (int slot = 0; slot < kNutrientCount; ++slot)
        totals.amounts[slot] = 1000 + 7919 * slot;
    EntryNutrients perServing;
    PerServingValues(totals, 3.0, &perServing);
    std::string line;
    FieldFailure failure{};
    ASSERT_EQ(RecipeLine("Bread", perServing, &line, &failure), 1);
    EXPECT_EQ(line.substr(0, 12), "Bread^0.333^");  // Water: 333.33 thousandths
    EXPECT_EQ(line.substr(line.size() - 21), "^1^per serving^^99^\r\n");

    LogEntry food;
    ASSERT_EQ(ParseFoodLine(line, 0, "1", 1, kMeasureFirst, kSourceMyFoods, &food), 1);
    EXPECT_STREQ(food.name, "Bread");
    for (int viewMode : {kAmountsView, kPercentView}) {
        EntryNutrients shown;
        ComputeNutrients(food, viewMode, &shown);
        for (int slot = 0; slot < kNutrientCount; ++slot) {
            const DailyValue& dv = kDailyValueTable[slot];
            bool percent = viewMode == kPercentView && dv.value != 0;
            double share = totals.amounts[slot] / 3.0 * (percent ? double(dv.constant) / dv.value : 1.0);
            // Amounts come back exactly; a whole percent holds its amount to half a percent of the
            // Daily Value, and a conversion between the two views rounds once more.
            int32_t slack = viewMode == kAmountsView && !HeldAsPercentInMyFoods(slot) ? 0 : 1;
            if (!percent && HeldAsPercentInMyFoods(slot) && KindOfSlot(slot) == SlotKind::kWholeUnit)
                slack = dv.value * 100 / dv.constant / 200 + 1;
            EXPECT_LE(std::abs(shown.amounts[slot] - RoundQuotient(share)), slack)
                << "slot " << slot << " view " << viewMode;
        }
    }
}

TEST(RecipeLine, RefusesADescriptionTheFileCannotHold) {
    EntryNutrients perServing{};
    std::string line = "kept";
    for (const std::string& bad : {std::string(), std::string(65, 'x'), std::string("a^b"), std::string("a~b")}) {
        FieldFailure failure{-1, nullptr, false};
        EXPECT_EQ(RecipeLine(bad, perServing, &line, &failure), 0) << bad;
        EXPECT_EQ(failure.field, 0);
    }
    EXPECT_EQ(line, "kept");
    FieldFailure failure{};
    EXPECT_EQ(RecipeLine(std::string(64, 'x'), perServing, &line, &failure), 1);
}

}  // namespace
