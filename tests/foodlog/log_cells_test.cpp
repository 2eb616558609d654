// The texts of the log's number cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "foodlog/log_cells.h"

namespace {

std::string Milli(const char* digits) {
    char text[kCellTextSize];
    std::snprintf(text, sizeof text, "%s", digits);
    FormatMilliUnits(text, sizeof text);
    return text;
}

TEST(FormatMilliUnits, AlwaysThreeDecimals) {
    const std::pair<const char*, const char*> cases[] = {
        {"1234", "1.234"}, {"12345", "12.345"}, {"1000", "1.000"}, {"123", "0.123"},
        {"45", "0.045"},   {"7", "0.007"},      {"0", "0.000"},    {"2147483647", "2147483.647"}};
    for (const auto& [digits, shown] : cases)
        EXPECT_EQ(Milli(digits), shown);
}

TEST(FormatMilliUnits, NegativeValuesShowAMinusAndTheAbsoluteFormatting) {
    EXPECT_EQ(Milli("-500"), "-0.500");
    EXPECT_EQ(Milli("-7"), "-0.007");
    EXPECT_EQ(Milli("-1234"), "-1.234");
    EXPECT_EQ(Milli("-2147483648"), "-2147483.648");
}

TEST(FormatMilliUnits, NeverWritesPastItsBuffer) {
    char text[6] = "7";
    FormatMilliUnits(text, sizeof text);
    EXPECT_STREQ(text, "0.007");
    char small[4] = "7";
    FormatMilliUnits(small, sizeof small);
    EXPECT_STREQ(small, "0.0");
}

TEST(FormatNutrient, ShowsEachSlotInItsKind) {
    char text[kCellTextSize];
    FormatNutrient(24, kCalcium, text, sizeof text);
    EXPECT_STREQ(text, "24");
    FormatNutrient(236, kCalories, text, sizeof text);
    EXPECT_STREQ(text, "236");
    FormatNutrient(3859, kProtein, text, sizeof text);
    EXPECT_STREQ(text, "3.859");
    FormatNutrient(13889, kIron, text, sizeof text);
    EXPECT_STREQ(text, "13.889");
    FormatNutrient(-30, kCalcium, text, sizeof text);
    EXPECT_STREQ(text, "-30");
    FormatNutrient(-850, kProtein, text, sizeof text);
    EXPECT_STREQ(text, "-0.850");
    const int whole[] = {kCalories,  kCalcium,  kPhosphorus, kSodium,     kPotassium,
                         kMagnesium, kVitaminA, kFolate,     kCholesterol};
    int wholeCount = 0;
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        FormatNutrient(5, slot, text, sizeof text);
        bool isWhole = std::strcmp(text, "5") == 0;
        if (isWhole) ++wholeCount;
        bool expected = std::find(std::begin(whole), std::end(whole), slot) != std::end(whole);
        EXPECT_EQ(isWhole, expected) << slot;
        if (!isWhole) {
            EXPECT_STREQ(text, "0.005") << slot;
        }
    }
    EXPECT_EQ(wholeCount, 9);
}

TEST(FormatQuantity, TwoDecimals) {
    char text[kCellTextSize];
    FormatQuantity(1.0f, text, sizeof text);
    EXPECT_STREQ(text, "1.00");
    FormatQuantity(2.5f, text, sizeof text);
    EXPECT_STREQ(text, "2.50");
    FormatQuantity(0.0f, text, sizeof text);
    EXPECT_STREQ(text, "0.00");
    FormatQuantity(-1.0f, text, sizeof text);
    EXPECT_STREQ(text, "-1.00");
    FormatQuantity(1.2f, text, sizeof text);
    EXPECT_STREQ(text, "1.20");
}

TEST(MeasureCellText, FollowsTheMeasureCode) {
    LogEntry usda = {};
    usda.source = kSourceUsda;
    std::strcpy(usda.servingText1, "cup");
    std::strcpy(usda.servingText2, "tbsp");
    usda.measure = kMeasureFirst;
    EXPECT_STREQ(MeasureCellText(usda), "cup");
    usda.measure = kMeasureSecond;
    EXPECT_STREQ(MeasureCellText(usda), "tbsp");
    usda.measure = kMeasureGrams;
    EXPECT_STREQ(MeasureCellText(usda), "grams");
    usda.measure = kMeasureNone;
    EXPECT_STREQ(MeasureCellText(usda), "grams");

    LogEntry mine = {};
    mine.source = kSourceMyFoods;
    std::strcpy(mine.servingText1, "Cup");
    mine.measureIndex = 5;
    mine.measure = kMeasureFirst;
    EXPECT_STREQ(MeasureCellText(mine), "Cup");
    mine.measure = kMeasureSecond;
    EXPECT_STREQ(MeasureCellText(mine), "Tablespoon");
    mine.measureIndex = 7;
    EXPECT_STREQ(MeasureCellText(mine), "per serving");
    mine.measureIndex = kNoSecondMeasure;  // outside the measure table
    EXPECT_STREQ(MeasureCellText(mine), "");
    mine.measureIndex = -1;
    EXPECT_STREQ(MeasureCellText(mine), "");
    mine.measure = kMeasureNone;
    EXPECT_STREQ(MeasureCellText(mine), "grams");
}

TEST(MeasureTable, NamesAndLengths) {
    const char* names[] = {"Cup", "fl oz", "mL", "Ounces", "Teaspoon", "Tablespoon", "grams", "per serving"};
    for (int row = 0; row < kMeasureTableSize; ++row) {
        EXPECT_STREQ(kMeasureTable[row].name, names[row]);
        EXPECT_EQ(kMeasureTable[row].length, static_cast<int>(std::strlen(names[row])));
        EXPECT_STREQ(MeasureTableName(row), names[row]);
    }
    EXPECT_EQ(MeasureTableName(8), nullptr);
    EXPECT_EQ(MeasureTableName(-1), nullptr);
    EXPECT_STREQ(kTotalRowLabel, "   TOTAL");
}

}  // namespace
