// Every food of the real USDA table, converted to the program's layout, becomes a sane log entry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "foodlog/food_line.h"
#include "foodlog/nutrients.h"
#include "platform/file_io.h"
#include "tools/usda_import.h"
#include "tests/test_files.h"

namespace {

constexpr char kSr28Path[] = PLATELOG_SR28_TABLE;

std::vector<size_t> LineOffsets(const std::string& data) {
    std::vector<size_t> offsets;
    size_t start = 0;
    while (start < data.size()) {
        offsets.push_back(start);
        size_t end = data.find('\n', start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return offsets;
}

class UsdaTable : public ::testing::Test {
protected:
    void SetUp() override {
        size_t badLine = 0;
        ASSERT_EQ(ConvertUsdaTable(ReadNeededFile(kSr28Path), &converted_, &badLine), 1) << "line " << badLine;
    }
    std::string converted_;
};

TEST_F(UsdaTable, EveryLineParsesIntoASaneEntry) {
    std::vector<size_t> offsets = LineOffsets(converted_);
    ASSERT_EQ(offsets.size(), 8790u);
    int withFirstMeasure = 0;
    for (size_t offset : offsets) {
        LogEntry e;
        ASSERT_EQ(ParseFoodLine(converted_, offset, "100", 3, kMeasureGrams, kSourceUsda, &e), 1) << offset;
        size_t nameLength = std::strlen(e.name);
        ASSERT_GE(nameLength, 3u) << offset;
        EXPECT_EQ(e.name[0], '~') << offset;
        EXPECT_EQ(e.name[nameLength - 1], '~') << offset;
        for (int slot = 0; slot < kNutrientCount; ++slot) {
            EXPECT_GE(e.values[slot], 0) << e.name << " slot " << slot;
            EXPECT_LT(e.values[slot], 100000000) << e.name << " slot " << slot;
        }
        EXPECT_LE(e.values[kWater], 100000) << e.name;  // grams per 100 g
        EXPECT_LE(e.values[kCalories], 902) << e.name;  // pure fat is the most energy-dense food
        EXPECT_LE(std::strlen(e.servingText1), 47u);
        EXPECT_LE(std::strlen(e.servingText2), 47u);
        EXPECT_EQ(std::strchr(e.servingText1, '~'), nullptr) << e.name;
        EXPECT_EQ(std::strchr(e.servingText2, '~'), nullptr) << e.name;
        EXPECT_GE(e.servingCount1, 0.0f);
        EXPECT_GE(e.servingCount2, 0.0f);
        EXPECT_GE(e.servingWeight1, 0.0f);
        EXPECT_GE(e.refuse, 0);
        EXPECT_LE(e.refuse, 100);
        if (e.servingText1[0]) {
            ++withFirstMeasure;
            EXPECT_GT(e.servingCount1, 0.0f) << e.name;
        }

        // 100 grams is one portion: the amounts view shows the table's own values.
        EntryNutrients amounts, percent;
        ComputeNutrients(e, kAmountsView, &amounts);
        EXPECT_EQ(std::memcmp(amounts.amounts, e.values, sizeof amounts.amounts), 0) << e.name;
        ComputeNutrients(e, kPercentView, &percent);
        EXPECT_EQ(percent.amounts[kProtein], e.values[kProtein]);
        EXPECT_GE(percent.amounts[kIron], 0);
        for (int32_t measure : {kMeasureFirst, kMeasureSecond}) {
            e.measure = measure;
            e.quantity = 1.0f;
            int32_t factor = ScaleFactor(e);
            EXPECT_GE(factor, 0) << e.name;
        }
    }
    EXPECT_GT(withFirstMeasure, 8000);
}

TEST_F(UsdaTable, SampleFoodsReadAsTheTableHasThem) {
    // Salted butter, the table's first food.
    LogEntry butter;
    ASSERT_EQ(ParseFoodLine(converted_, 0, "1", 1, kMeasureFirst, kSourceUsda, &butter), 1);
    EXPECT_STREQ(butter.name, "~BUTTER,WITH SALT~");
    const std::pair<int, int32_t> values[] = {
        {kWater, 15870}, {kCalories, 717}, {kProtein, 850}, {kTotalFat, 81110}, {kCarbohydrates, 60},
        {kAsh, 2110}, {kCalcium, 24}, {kSodium, 643}, {kVitaminA, 2499}, {kVitaminE, 2320}, {kFolate, 3},
        {kVitaminB12, 170}, {kSaturatedFat, 51368}, {kCholesterol, 215}};
    for (const auto& [nutrient, value] : values)
        EXPECT_EQ(butter.values[nutrient], value) << nutrient;
    EXPECT_STREQ(butter.servingText1, "pat,  (1\" sq, 1/3\" high)");
    EXPECT_EQ(butter.servingCount1, 1.0f);
    EXPECT_EQ(butter.servingWeight1, 5.0f);
    EXPECT_STREQ(butter.servingText2, "tbsp");
    EXPECT_EQ(butter.servingWeight2, 14.2f);
    // One pat: 5 g.
    EntryNutrients n;
    ComputeNutrients(butter, kAmountsView, &n);
    EXPECT_EQ(ScaleFactor(butter), 50);
    EXPECT_EQ(n.amounts[kCalories], 36);  // 35.85
}

TEST(ConvertUsdaTable, RefusesLinesWithoutFiftyThreeFields) {
    std::string good;
    for (int i = 0; i < 53; ++i)
        good += (i ? "^" : "") + std::to_string(i);
    std::string out;
    size_t bad = 0;
    ASSERT_EQ(ConvertUsdaTable(good + "\r\n\r\n" + good, &out, &bad), 1);
    EXPECT_EQ(out.size(), 2 * (out.find("\r\n") + 2));
    EXPECT_EQ(out.substr(0, out.find("\r\n")),
              "0^1^2^3^4^5^7^8^6^10^13^11^15^14^12^16^17^18^19^32^40^21^22^23^24^25^26^31^20^44^45^46^47^48^"
              "49^50^51^52");
    EXPECT_EQ(ConvertUsdaTable(good + "\r\n" + good + "^extra\r\n", &out, &bad), 0);
    EXPECT_EQ(bad, 2u);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(ConvertUsdaTable(good + "\n1^2^3\n", &out, &bad), 0);
    EXPECT_EQ(bad, 2u);
    EXPECT_EQ(ConvertUsdaTable("", &out, &bad), 1);
    EXPECT_TRUE(out.empty());
}

}  // namespace
