// The log's operations: each keeps the entries, their nutrients and the count in step.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "foodlog/nutrients.h"

namespace {

// A USDA food of `grams` grams with `calcium` mg and `protein` g per 100 g, named by its number.
LogEntry Food(int number, float grams, int32_t calcium = 300, int32_t protein = 2000) {
    LogEntry e;
    std::memset(&e, 0, sizeof e);
    std::snprintf(e.name, sizeof e.name, "food %d", number);
    e.source = kSourceUsda;
    e.measure = kMeasureGrams;
    e.quantity = grams;
    e.values[kCalcium] = calcium;
    e.values[kProtein] = protein;
    return e;
}

class LogTable : public ::testing::Test {
protected:
    void SetUp() override { ResetLogState(); }
    void TearDown() override { ResetLogState(); }

    static std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int i = 0; i < EntryCount(); ++i)
            names.push_back(EntryAt(i).name);
        return names;
    }
};

TEST_F(LogTable, AppendsComputedEntriesAndRefusesTheFiftyFirst) {
    for (int i = 0; i < kMaxLogEntries; ++i)
        ASSERT_EQ(AppendEntry(Food(i, 100.0f * (i + 1))), 1) << i;
    EXPECT_EQ(EntryCount(), kMaxLogEntries);
    // Percent view: 300 mg of calcium per 100 g is 30 % of 1000 mg per 100 g logged.
    EXPECT_EQ(NutrientsAt(0).amounts[kCalcium], 30);
    EXPECT_EQ(NutrientsAt(49).amounts[kCalcium], 1500);
    EXPECT_EQ(NutrientsAt(49).amounts[kProtein], 100000);
    EXPECT_EQ(AppendEntry(Food(50, 1.0f)), 0);
    EXPECT_EQ(EntryCount(), kMaxLogEntries);
    EXPECT_STREQ(EntryAt(49).name, "food 49");
}

TEST_F(LogTable, RemovingMovesTheLaterEntriesUpWithTheirNutrients) {
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(AppendEntry(Food(i, 100.0f * (i + 1))), 1);
    EXPECT_EQ(RemoveEntry(1), 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"food 0", "food 2", "food 3"}));
    EXPECT_EQ(NutrientsAt(1).amounts[kCalcium], 90);
    EXPECT_EQ(NutrientsAt(2).amounts[kCalcium], 120);
    EXPECT_EQ(RemoveEntry(2), 1);  // the last one
    EXPECT_EQ(Names(), (std::vector<std::string>{"food 0", "food 2"}));
    for (int outside : {-1, 2, kMaxLogEntries}) {
        EXPECT_EQ(RemoveEntry(outside), 0) << outside;
        EXPECT_EQ(EntryCount(), 2);
    }
}

TEST_F(LogTable, ANewQuantityIsComputedAgain) {
    ASSERT_EQ(AppendEntry(Food(0, 100.0f)), 1);
    EXPECT_EQ(SetQuantity(0, 250.0f), 1);
    EXPECT_EQ(EntryAt(0).quantity, 250.0f);
    EXPECT_EQ(NutrientsAt(0).amounts[kCalcium], 75);
    EXPECT_EQ(NutrientsAt(0).amounts[kProtein], 5000);
    // Past the count there is no entry, whatever the record holds.
    EXPECT_EQ(SetQuantity(1, 3.0f), 0);
    EXPECT_EQ(SetQuantity(-1, 3.0f), 0);
    EXPECT_EQ(EntryAt(1).quantity, 0.0f);
}

TEST_F(LogTable, ReplacingTakesAWholeLogOrNothing) {
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(AppendEntry(Food(i, 100.0f)), 1);
    LogEntry two[2] = {Food(10, 200.0f), Food(11, 300.0f)};
    for (int bad : {-1, kMaxLogEntries + 1}) {
        EXPECT_EQ(ReplaceEntries(two, bad), 0) << bad;
        EXPECT_EQ(EntryCount(), 5);
    }
    EXPECT_EQ(ReplaceEntries(nullptr, 2), 0);
    EXPECT_EQ(EntryCount(), 5);

    ASSERT_EQ(ReplaceEntries(two, 2), 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"food 10", "food 11"}));
    EXPECT_EQ(NutrientsAt(1).amounts[kCalcium], 90);
    // Nothing of the longer log stays behind the new one.
    std::vector<char> zero(sizeof(LogEntry), 0);
    EXPECT_EQ(std::memcmp(&EntryAt(2), zero.data(), zero.size()), 0);
    EXPECT_EQ(NutrientsAt(2).amounts[kCalcium], 0);

    ASSERT_EQ(ReplaceEntries(nullptr, 0), 1);
    EXPECT_EQ(EntryCount(), 0);
}

TEST_F(LogTable, SwitchingTheViewComputesEveryEntryAgain) {
    ASSERT_EQ(AppendEntry(Food(0, 100.0f)), 1);
    ASSERT_EQ(AppendEntry(Food(1, 200.0f)), 1);
    SetViewMode(kAmountsView);
    EXPECT_EQ(ViewMode(), kAmountsView);
    EXPECT_EQ(NutrientsAt(0).amounts[kCalcium], 300);
    EXPECT_EQ(NutrientsAt(1).amounts[kCalcium], 600);
    SetViewMode(kPercentView);
    EXPECT_EQ(NutrientsAt(0).amounts[kCalcium], 30);
    EXPECT_EQ(NutrientsAt(1).amounts[kCalcium], 60);
    // An entry appended later is computed in the view then in force.
    SetViewMode(kAmountsView);
    ASSERT_EQ(AppendEntry(Food(2, 50.0f)), 1);
    EXPECT_EQ(NutrientsAt(2).amounts[kCalcium], 150);
}

}  // namespace
