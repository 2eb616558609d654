// Scaling an entry to its quantity and the Daily Value conversions of both views.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "foodlog/nutrients.h"

namespace {

LogEntry Usda(float quantity, int32_t measure) {
    LogEntry e;
    std::memset(&e, 0, sizeof e);
    e.source = kSourceUsda;
    e.quantity = quantity;
    e.measure = measure;
    e.servingCount1 = 1.0f;
    e.servingWeight1 = 227.0f;  // ~1 cup~
    e.servingCount2 = 0.5f;
    e.servingWeight2 = 15.0f;  // ~.5 tbsp~
    return e;
}

LogEntry MyFood(float quantity, int32_t measure) {
    LogEntry e;
    std::memset(&e, 0, sizeof e);
    e.source = kSourceMyFoods;
    e.quantity = quantity;
    e.measure = measure;
    e.servingWeight1 = 2.0f;  // two of the first measure make a serving
    e.servingWeight2 = 4.0f;
    e.measureIndex = 5;
    return e;
}

TEST(ScaleFactor, UsdaHouseholdMeasuresAndGrams) {
    EXPECT_EQ(ScaleFactor(Usda(2.0f, kMeasureFirst)), 4540);  // 2 cups of 227 g
    EXPECT_EQ(ScaleFactor(Usda(1.0f, kMeasureSecond)), 300);  // 2 half-tablespoons of 15 g
    EXPECT_EQ(ScaleFactor(Usda(150.0f, kMeasureGrams)), 1500);
    EXPECT_EQ(ScaleFactor(Usda(150.0f, kMeasureNone)), 1500);  // no pick counts as grams
    EXPECT_EQ(ScaleFactor(Usda(150.0f, 7)), 1500);
    EXPECT_EQ(ScaleFactor(Usda(0.0f, kMeasureFirst)), 0);
    EXPECT_EQ(ScaleFactor(Usda(0.0f, kMeasureGrams)), 0);
    LogEntry other = Usda(100.0f, kMeasureGrams);
    other.source = 5;  // any source but My Foods is read as USDA
    EXPECT_EQ(ScaleFactor(other), 1000);
}

TEST(ScaleFactor, MyFoodsServingsAndTheOneServingRule) {
    EXPECT_EQ(ScaleFactor(MyFood(4.0f, kMeasureFirst)), 2000);
    EXPECT_EQ(ScaleFactor(MyFood(1.0f, kMeasureSecond)), 250);
    EXPECT_EQ(ScaleFactor(MyFood(0.0f, kMeasureFirst)), 0);
    // Neither first nor second measure: exactly one serving, whatever the quantity.
    EXPECT_EQ(ScaleFactor(MyFood(37.0f, kMeasureNone)), 1000);
    EXPECT_EQ(ScaleFactor(MyFood(0.0f, kMeasureNone)), 1000);
    EXPECT_EQ(ScaleFactor(MyFood(5.0f, kMeasureGrams)), 1000);
}

TEST(ScaleFactor, ZeroDivisorsGiveZero) {
    LogEntry usda = Usda(2.0f, kMeasureFirst);
    usda.servingCount1 = 0.0f;  // a measure description that does not start with a number
    EXPECT_EQ(ScaleFactor(usda), 0);
    usda.measure = kMeasureSecond;
    usda.servingCount2 = 0.0f;
    EXPECT_EQ(ScaleFactor(usda), 0);
    LogEntry mine = MyFood(2.0f, kMeasureFirst);
    mine.servingWeight1 = 0.0f;
    EXPECT_EQ(ScaleFactor(mine), 0);
    mine.measure = kMeasureSecond;
    mine.servingWeight2 = 0.0f;
    EXPECT_EQ(ScaleFactor(mine), 0);
}

TEST(ComputeNutrients, UsdaWorkedValues) {
    LogEntry e = Usda(2.0f, kMeasureFirst);
    e.values[kProtein] = 850;
    e.values[kCalories] = 52;
    EntryNutrients n;
    ComputeNutrients(e, kAmountsView, &n);
    EXPECT_EQ(n.amounts[kProtein], 3859);
    EXPECT_EQ(n.amounts[kCalories], 236);

    LogEntry hundred = Usda(100.0f, kMeasureGrams);
    hundred.values[kIron] = 2500;
    hundred.values[kCalcium] = 300;
    hundred.values[kThiamin] = 750;
    hundred.values[kRiboflavin] = 850;
    hundred.values[kVitaminA] = 2499;
    hundred.values[kSelenium] = 1000;
    hundred.values[kCholesterol] = 215;
    ComputeNutrients(hundred, kPercentView, &n);
    EXPECT_EQ(n.amounts[kIron], 13889);        // 13.889 %
    EXPECT_EQ(n.amounts[kCalcium], 30);        // 30 %
    EXPECT_EQ(n.amounts[kThiamin], 50000);     // 50.000 %: Daily Value in tenths, constant 1000
    EXPECT_EQ(n.amounts[kRiboflavin], 50000);  // 0.85 of 1.7 mg
    EXPECT_EQ(n.amounts[kVitaminA], 50);       // 49.98 %
    EXPECT_EQ(n.amounts[kSelenium], 1000);     // no Daily Value: stays an amount
    EXPECT_EQ(n.amounts[kCholesterol], 215);
    ComputeNutrients(hundred, kAmountsView, &n);
    EXPECT_EQ(n.amounts[kIron], 2500);
    EXPECT_EQ(n.amounts[kCalcium], 300);
}

TEST(ComputeNutrients, MyFoodsPercentagesAndAmounts) {
    LogEntry e = MyFood(2.0f, kMeasureNone);  // one serving
    e.measure = kMeasureFirst;
    e.quantity = 4.0f;        // two servings
    e.values[kCalcium] = 10;  // 10 % on the label
    e.values[kIron] = 10000;  // 10 %
    e.values[kSodium] = 240;  // mg, an amount even on a label
    e.values[kPotassium] = 350;
    e.values[kThiamin] = 5000;  // 5 %
    EntryNutrients n;
    ComputeNutrients(e, kAmountsView, &n);
    EXPECT_EQ(n.amounts[kCalcium], 200);  // 20 % of 1000 mg
    EXPECT_EQ(n.amounts[kIron], 3600);    // 20 % of 18 mg = 3.600 mg
    EXPECT_EQ(n.amounts[kSodium], 480);
    EXPECT_EQ(n.amounts[kPotassium], 700);
    EXPECT_EQ(n.amounts[kThiamin], 150);  // 10 % of 1.5 mg = 0.150 mg
    ComputeNutrients(e, kPercentView, &n);
    EXPECT_EQ(n.amounts[kCalcium], 20);
    EXPECT_EQ(n.amounts[kIron], 20000);
    EXPECT_EQ(n.amounts[kSodium], 20);  // 480 of 2400 mg
    EXPECT_EQ(n.amounts[kPotassium], 20);
    EXPECT_EQ(n.amounts[kThiamin], 10000);

    LogEntry single = MyFood(1.0f, kMeasureNone);
    single.values[kIron] = 10000;
    ComputeNutrients(single, kAmountsView, &n);
    EXPECT_EQ(n.amounts[kIron], 1800);  // 1.800 mg
}

TEST(ComputeNutrients, ZeroQuantityZeroesEverySlotInBothViews) {
    for (int view : {kAmountsView, kPercentView}) {
        for (int32_t measure : {kMeasureFirst, kMeasureSecond, kMeasureGrams, kMeasureNone}) {
            LogEntry e = Usda(0.0f, measure);
            for (int slot = 0; slot < kNutrientCount; ++slot)
                e.values[slot] = 1000 + slot;
            EntryNutrients n;
            ComputeNutrients(e, view, &n);
            for (int slot = 0; slot < kNutrientCount; ++slot)
                EXPECT_EQ(n.amounts[slot], 0) << slot;
        }
        LogEntry mine = MyFood(0.0f, kMeasureFirst);
        mine.values[kCalories] = 90;
        EntryNutrients n;
        ComputeNutrients(mine, view, &n);
        EXPECT_EQ(n.amounts[kCalories], 0);
        mine.measure = kMeasureNone;  // one serving, even for quantity 0
        ComputeNutrients(mine, view, &n);
        EXPECT_EQ(n.amounts[kCalories], 90);
    }
}

TEST(ComputeNutrients, PercentViewLeavesNonDailyValueSlotsAsAmounts) {
    LogEntry e = Usda(100.0f, kMeasureGrams);
    for (int slot = 0; slot < kNutrientCount; ++slot)
        e.values[slot] = 36000;
    EntryNutrients amounts, percent;
    ComputeNutrients(e, kAmountsView, &amounts);
    ComputeNutrients(e, kPercentView, &percent);
    const int unchanged[] = {
        kWater,     kCalories, kProtein,      kTotalFat,           kCarbohydrates,      kFiber,      kAsh,
        kManganese, kSelenium, kSaturatedFat, kMonounsaturatedFat, kPolyunsaturatedFat, kCholesterol};
    for (int slot : unchanged)
        EXPECT_EQ(percent.amounts[slot], amounts.amounts[slot]) << slot;
    for (int slot = kCalcium; slot <= kCopper; ++slot)
        EXPECT_NE(percent.amounts[slot], amounts.amounts[slot]) << slot;
    for (int slot = kVitaminA; slot <= kVitaminC; ++slot)
        EXPECT_NE(percent.amounts[slot], amounts.amounts[slot]) << slot;
}

TEST(ComputeEntry, SwitchingViewsAndBackGivesTheSameNumbers) {
    ResetLogState();
    LogEntry entries[2] = {Usda(2.0f, kMeasureFirst), MyFood(3.0f, kMeasureSecond)};
    for (int i = 0; i < 2; ++i)
        for (int slot = 0; slot < kNutrientCount; ++slot)
            entries[i].values[slot] = 1234 * (slot + 1) + i;
    ASSERT_EQ(ReplaceEntries(entries, 2), 1);
    EntryNutrients before[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(ComputeEntry(i), 1);
        before[i] = NutrientsAt(i);
    }
    SetViewMode(kAmountsView);
    for (int i = 0; i < 2; ++i)
        ComputeEntry(i);
    EXPECT_NE(std::memcmp(&before[0], &NutrientsAt(0), sizeof before[0]), 0);
    SetViewMode(kPercentView);
    for (int i = 0; i < 2; ++i) {
        ComputeEntry(i);
        EXPECT_EQ(std::memcmp(&before[i], &NutrientsAt(i), sizeof before[i]), 0) << i;
    }
    EXPECT_EQ(ComputeEntry(-1), 0);
    EXPECT_EQ(ComputeEntry(kMaxLogEntries), 0);
    EXPECT_EQ(ApplyDailyValues(-1), 0);
    EXPECT_EQ(ApplyDailyValues(kMaxLogEntries), 0);
}

TEST(ComputeEntry, ApplyDailyValuesConvertsInPlace) {
    EntryNutrients nutrients = {};
    nutrients.amounts[kCalcium] = 500;
    nutrients.amounts[kProtein] = 500;
    ApplyDailyValuesTo(kSourceUsda, kPercentView, &nutrients);
    EXPECT_EQ(nutrients.amounts[kCalcium], 50);
    EXPECT_EQ(nutrients.amounts[kProtein], 500);
}

TEST(ComputeNutrients, NegativeQuantitiesKeepTheirSignThroughTheDailyValues) {
    LogEntry usda = Usda(-100.0f, kMeasureGrams);
    usda.values[kCalcium] = 300;
    usda.values[kProtein] = 850;
    EntryNutrients n;
    ComputeNutrients(usda, kPercentView, &n);
    EXPECT_EQ(n.amounts[kCalcium], -30);
    EXPECT_EQ(n.amounts[kProtein], -850);

    LogEntry mine = MyFood(-4.0f, kMeasureFirst);  // minus two servings
    mine.values[kCalcium] = 10;
    ComputeNutrients(mine, kAmountsView, &n);
    EXPECT_EQ(n.amounts[kCalcium], -200);
    ComputeNutrients(mine, kPercentView, &n);
    EXPECT_EQ(n.amounts[kCalcium], -20);
}

TEST(ComputeTotals, SumsEveryEntrySlotBySlotWithoutOverflow) {
    EntryNutrients records[kMaxLogEntries + 1] = {};
    EntryNutrients& totals = records[kTotalsRecord];
    for (int i = 0; i < 3; ++i)
        for (int slot = 0; slot < kNutrientCount; ++slot)
            records[i].amounts[slot] = (i + 1) * slot;
    records[3].amounts[kWater] = 999;  // beyond the entry count: not counted
    SumNutrients(records, 3, &totals);
    for (int slot = 0; slot < kNutrientCount; ++slot)
        EXPECT_EQ(totals.amounts[slot], 6 * slot) << slot;

    records[0].amounts[kWater] = std::numeric_limits<int32_t>::max();
    records[1].amounts[kWater] = std::numeric_limits<int32_t>::max();
    records[0].amounts[kAsh] = std::numeric_limits<int32_t>::min();
    records[1].amounts[kAsh] = -5;
    records[2].amounts[kAsh] = -5;
    SumNutrients(records, 3, &totals);
    EXPECT_EQ(totals.amounts[kWater], std::numeric_limits<int32_t>::max());
    EXPECT_EQ(totals.amounts[kAsh], std::numeric_limits<int32_t>::min());

    SumNutrients(records, 0, &totals);
    for (int slot = 0; slot < kNutrientCount; ++slot)
        EXPECT_EQ(totals.amounts[slot], 0);
}

// The log's totals record is that sum over its entries, whatever the count was before.
TEST(ComputeTotals, SumsTheLogsEntries) {
    ResetLogState();
    LogEntry entries[3] = {Usda(100.0f, kMeasureGrams), Usda(200.0f, kMeasureGrams),
                           Usda(50.0f, kMeasureGrams)};
    for (LogEntry& entry : entries)
        entry.values[kProtein] = 1000;
    ASSERT_EQ(ReplaceEntries(entries, 3), 1);
    ComputeTotals();
    EXPECT_EQ(NutrientsAt(kTotalsRecord).amounts[kProtein], 3500);
    ASSERT_EQ(RemoveEntry(1), 1);
    ComputeTotals();
    EXPECT_EQ(NutrientsAt(kTotalsRecord).amounts[kProtein], 1500);
    ClearLog();
    ComputeTotals();
    EXPECT_EQ(NutrientsAt(kTotalsRecord).amounts[kProtein], 0);
    ResetLogState();
}

}  // namespace
