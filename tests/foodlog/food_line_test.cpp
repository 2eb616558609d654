// Reading a food's database line into a log entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "fooddb/food_fields.h"
#include "foodlog/food_line.h"
#include "foodlog/nutrients.h"
#include "platform/file_io.h"
#include "tests/test_files.h"

namespace {

// A USDA line in the program's 38-field layout (values made up for the test).
const char kAppleLine[] =
    "~09003~^~APPLES,RAW,WITH "
    "SKIN~^85.56^52^0.26^0.17^13.81^2.4^0.19^6^11^0.12^1^107^5^0.04^0.027^0.035^0.0^54^"
    "0.18^0.017^0.026^0.091^0.061^0.041^3^0.00^4.6^0.028^0.007^0.051^0^125^~1 cup, sliced~^182^~1 medium "
    "(3\" "
    "dia)~^10\r\n";

// A My Foods line: 37 fields, label values in percent.
const char kMyAppleLine[] =
    "Apple^^52^0.3^0.2^14^2.4^^1^1^1^1^107^1^0^1^^^1^^1^2^1^1^2^1^0^8^0^0^0^0^1^Cup^^99^\r\n";

LogEntry Parse(const std::string& data, size_t offset, const char* quantity, int32_t measure, int32_t source,
               int* ok = nullptr) {
    LogEntry e;
    std::memset(&e, 0x5A, sizeof e);
    int result =
        ParseFoodLine(data, offset, quantity, static_cast<int>(std::strlen(quantity)), measure, source, &e);
    if (ok) *ok = result;
    return e;
}

TEST(ParseFoodLine, UsdaLine) {
    int ok = 0;
    LogEntry e = Parse(kAppleLine, 0, "2", kMeasureFirst, kSourceUsda, &ok);
    ASSERT_EQ(ok, 1);
    EXPECT_STREQ(e.name, "~APPLES,RAW,WITH SKIN~");
    const std::pair<int, int32_t> values[] = {
        {kWater, 85560}, {kCalories, 52}, {kProtein, 260}, {kFiber, 2400}, {kCalcium, 6}, {kIron, 120},
        {kPotassium, 107}, {kVitaminA, 54}, {kFolate, 3}, {kVitaminC, 4600}, {kCholesterol, 0}};
    for (const auto& [nutrient, value] : values)
        EXPECT_EQ(e.values[nutrient], value) << nutrient;
    EXPECT_EQ(e.servingWeight1, 125.0f);
    EXPECT_EQ(e.servingCount1, 1.0f);
    EXPECT_STREQ(e.servingText1, "cup, sliced");
    EXPECT_EQ(e.servingWeight2, 182.0f);
    EXPECT_EQ(e.servingCount2, 1.0f);
    EXPECT_STREQ(e.servingText2, "medium (3\" dia)");
    EXPECT_EQ(e.refuse, 10);
    EXPECT_EQ(e.reserved1, 0);
    EXPECT_EQ(e.reserved2, 0);
    EXPECT_EQ(e.measureIndex, 0);
    EXPECT_EQ(e.quantity, 2.0f);
    EXPECT_EQ(e.measure, kMeasureFirst);
    EXPECT_EQ(e.source, kSourceUsda);
    // Unused bytes of the texts are zero, so documents and comparisons see no leftovers.
    for (size_t i = std::strlen(e.name); i < sizeof e.name; ++i)
        ASSERT_EQ(e.name[i], 0);
}

// A USDA food with a value of 1 in every nutrient slot and the two measure fields given.
std::string UsdaLineWithMeasures(const std::string& first, const std::string& second) {
    std::string line = "~1~^~FOOD~";
    for (int i = 0; i < 31; ++i)
        line += "^1";
    return line + "^100^" + first + "^50^" + second + "^0";
}

TEST(ParseFoodLine, UsdaMeasureDescriptions) {
    struct Case {
        const char* field;
        const char* text;
        float count;
    } cases[] = {
        {"~1 cup~", "cup", 1.0f},  {"~1 tbsp~", "tbsp", 1.0f},
        {"~.5 cup~", "cup", 0.5f}, {"~1 pat,  (1\" sq, 1/3\" high)~", "pat,  (1\" sq, 1/3\" high)", 1.0f},
        {"~~", "", 0.0f},          {"", "", 0.0f},
        {"~10~", "", 10.0f},  // no blank: no words, but the count stands
        {"~cup~", "", 0.0f},       {"~2 x~", "x", 2.0f},
    };
    for (const Case& c : cases) {
        LogEntry e = Parse(UsdaLineWithMeasures(c.field, c.field) + "\r\n", 0, "1", kMeasureFirst, kSourceUsda);
        EXPECT_STREQ(e.servingText1, c.text) << c.field;
        EXPECT_EQ(e.servingCount1, c.count) << c.field;
        EXPECT_STREQ(e.servingText2, c.text) << c.field;
        EXPECT_EQ(e.servingCount2, c.count) << c.field;
    }
}

TEST(ParseFoodLine, UsdaServingTextIsShortenedBeforeItIsCut) {
    std::string words(60, 'w');
    LogEntry e = Parse(UsdaLineWithMeasures("~1 " + words + "~", "~~"), 0, "1", kMeasureFirst, kSourceUsda);
    EXPECT_EQ(std::string(e.servingText1), words.substr(0, 47));
    EXPECT_EQ(e.servingCount1, 1.0f);
    EXPECT_STREQ(e.servingText2, "");
}

TEST(ParseFoodLine, MyFoodsLine) {
    LogEntry e = Parse(kMyAppleLine, 0, "1.5", kMeasureSecond, kSourceMyFoods);
    EXPECT_STREQ(e.name, "Apple");
    const std::pair<int, int32_t> values[] = {
        {kWater, 0}, {kCalories, 52}, {kProtein, 300}, {kTotalFat, 200}, {kCarbohydrates, 14000},
        {kFiber, 2400}, {kCalcium, 1}, {kIron, 1000}, {kPotassium, 107}, {kZinc, 0}, {kVitaminA, 1},
        {kRiboflavin, 2000}, {kVitaminC, 8000}, {kCholesterol, 0}};
    for (const auto& [nutrient, value] : values)
        EXPECT_EQ(e.values[nutrient], value) << nutrient;
    EXPECT_EQ(e.servingWeight1, 1.0f);
    EXPECT_STREQ(e.servingText1, "Cup");
    EXPECT_EQ(e.servingWeight2, 0.0f);
    EXPECT_EQ(e.measureIndex, kNoSecondMeasure);
    EXPECT_EQ(e.refuse, 0);
    // My Foods foods never carry counts or a second serving text.
    EXPECT_EQ(e.servingCount1, 0.0f);
    EXPECT_EQ(e.servingCount2, 0.0f);
    EXPECT_STREQ(e.servingText2, "");
    EXPECT_EQ(e.quantity, 1.5f);
    EXPECT_EQ(e.measure, kMeasureSecond);
    EXPECT_EQ(e.source, kSourceMyFoods);
}

TEST(ParseFoodLine, EmptySecondMeasureFieldReadsAsRowZero) {
    std::string line = "Toast";
    for (int i = 0; i < 31; ++i)
        line += "^2";
    line += "^1^slice^^^";
    LogEntry e = Parse(line, 0, "1", kMeasureFirst, kSourceMyFoods);
    EXPECT_STREQ(e.servingText1, "slice");
    EXPECT_EQ(e.measureIndex, 0);
    EXPECT_EQ(e.values[kCholesterol], 2);
}

TEST(ParseFoodLine, QuantityTextNeedNotEndWithNul) {
    const char typed[] = {'1', '2', '.', '5', '9', '9'};
    LogEntry e;
    ASSERT_EQ(ParseFoodLine(kMyAppleLine, 0, typed, 4, kMeasureFirst, kSourceMyFoods, &e), 1);
    EXPECT_EQ(e.quantity, 12.5f);
    ASSERT_EQ(ParseFoodLine(kMyAppleLine, 0, typed, 0, kMeasureFirst, kSourceMyFoods, &e), 1);
    EXPECT_EQ(e.quantity, 0.0f);  // an empty quantity passes the dialog and counts as 0
    ASSERT_EQ(ParseFoodLine(kMyAppleLine, 0, "1.2.3", 5, kMeasureFirst, kSourceMyFoods, &e), 1);
    EXPECT_EQ(e.quantity, 1.2f);
}

TEST(ParseFoodLine, MalformedLinesStopAtTheirEnd) {
    // Fewer fields than the layout: the rest reads as zero or empty.
    LogEntry e = Parse("~1~^~SHORT~^50^7", 0, "1", kMeasureGrams, kSourceUsda);
    EXPECT_STREQ(e.name, "~SHORT~");
    EXPECT_EQ(e.values[kWater], 50000);
    EXPECT_EQ(e.values[kCalories], 7);
    EXPECT_EQ(e.values[kProtein], 0);
    EXPECT_STREQ(e.servingText1, "");
    EXPECT_EQ(e.refuse, 0);
    // A line never reads into the next one.
    std::string two = "Short^5\r\nNext^9^9^9^9^9^9^9^9^9^9^9^9^9\r\n";
    e = Parse(two, 0, "1", kMeasureNone, kSourceMyFoods);
    EXPECT_EQ(e.values[kWater], 5000);
    EXPECT_EQ(e.values[kCalories], 0);
    // A bare LF ends a line too.
    e = Parse("Solo^1^2\n3^4", 0, "1", kMeasureNone, kSourceMyFoods);
    EXPECT_EQ(e.values[kCalories], 2);
    EXPECT_EQ(e.values[kProtein], 0);
    // A description over 255 characters is cut; a line over 1,024 bytes is read whole.
    std::string longLine = std::string(400, 'n');
    for (int i = 0; i < 31; ++i)
        longLine += "^" + std::string(30, '1');
    longLine += "^1^Cup^^99^7";
    ASSERT_GT(longLine.size(), 1024u);
    e = Parse(longLine, 0, "1", kMeasureNone, kSourceMyFoods);
    EXPECT_EQ(std::strlen(e.name), 255u);
    EXPECT_EQ(e.refuse, 7);
    EXPECT_STREQ(e.servingText1, "Cup");
}

TEST(ParseFoodLine, RefusesOffsetsThatAreNotLineStarts) {
    std::string data = std::string(kMyAppleLine) + kMyAppleLine;
    int ok = -1;
    Parse(data, std::strlen(kMyAppleLine), "1", kMeasureFirst, kSourceMyFoods, &ok);
    EXPECT_EQ(ok, 1);
    Parse(data, 3, "1", kMeasureFirst, kSourceMyFoods, &ok);
    EXPECT_EQ(ok, 0);
    Parse(data, data.size(), "1", kMeasureFirst, kSourceMyFoods, &ok);
    EXPECT_EQ(ok, 0);
    Parse(data, static_cast<size_t>(-1), "1", kMeasureFirst, kSourceMyFoods, &ok);
    EXPECT_EQ(ok, 0);
}

TEST(AddFoodFromData, AppendsComputedEntriesUpToFifty) {
    ResetLogState();
    EXPECT_EQ(AddFoodFromData(kAppleLine, 0, "2", 1, kMeasureFirst, kSourceUsda), 1);
    EXPECT_EQ(EntryCount(), 1);
    // 2 cups of 125 g: factor 2500; 52 Calories per 100 g give 130.
    EXPECT_EQ(NutrientsAt(0).amounts[kCalories], 130);
    EXPECT_EQ(NutrientsAt(0).amounts[kProtein], 650);
    EXPECT_EQ(NutrientsAt(0).amounts[kCalcium], 2);  // percent view: 15 mg of 1000 mg = 1.5 %
    EXPECT_EQ(AddFoodFromData(kAppleLine, 5, "2", 1, kMeasureFirst, kSourceUsda), 0);
    EXPECT_EQ(EntryCount(), 1);
    while (EntryCount() < 49)
        ASSERT_EQ(AddFoodFromData(kMyAppleLine, 0, "1", 1, kMeasureNone, kSourceMyFoods), 1);
    EXPECT_EQ(AddFoodFromData(kMyAppleLine, 0, "3", 1, kMeasureFirst, kSourceMyFoods), 1);
    EXPECT_EQ(EntryCount(), 50);
    EXPECT_EQ(EntryAt(49).quantity, 3.0f);
    EXPECT_EQ(NutrientsAt(49).amounts[kCalories], 156);
    EXPECT_EQ(AddFoodFromData(kMyAppleLine, 0, "1", 1, kMeasureFirst, kSourceMyFoods), 0);
    EXPECT_EQ(EntryCount(), 50);
}

}  // namespace

namespace {

std::string WriteTemp(const char* name, const std::string& bytes) {
    std::string path = TempPath(name);
    WriteFileBytes(path, bytes);
    return path;
}

// The line a food is read from: only its part of the file, or all of it for an unusually long line.
TEST(ReadLineOfFile, ReadsTheLineWithTheByteBeforeIt) {
    std::string table = std::string(kAppleLine) + kMyAppleLine + std::string(kAppleLine);
    std::string path = WriteTemp("table.txt", table);
    FileImage image;
    size_t at = 99;
    ASSERT_EQ(ReadLineOfFile(path.c_str(), 0, &image, &at), ReadResult::kOk);
    EXPECT_EQ(at, 0u);
    size_t second = std::strlen(kAppleLine);
    ASSERT_EQ(ReadLineOfFile(path.c_str(), second, &image, &at), ReadResult::kOk);
    EXPECT_EQ(at, 1u);
    EXPECT_EQ(std::string(image.Data(), image.Size()), table.substr(second - 1));
    LogEntry e;
    ASSERT_EQ(ParseFoodLine(std::string_view(image.Data(), image.Size()), at, "1", 1, kMeasureFirst,
                            kSourceMyFoods, &e),
              1);
    EXPECT_STREQ(e.name, "Apple");
    // Not a line start: the byte before is no LF, so the parse refuses it.
    ASSERT_EQ(ReadLineOfFile(path.c_str(), second + 2, &image, &at), ReadResult::kOk);
    EXPECT_EQ(ParseFoodLine(std::string_view(image.Data(), image.Size()), at, "1", 1, kMeasureFirst,
                            kSourceMyFoods, &e),
              0);
    // Past the end: nothing to read.
    ASSERT_EQ(ReadLineOfFile(path.c_str(), table.size() + 10, &image, &at), ReadResult::kOk);
    EXPECT_EQ(image.Size(), 0u);
    EXPECT_EQ(ReadLineOfFile((path + ".missing").c_str(), 0, &image, &at), ReadResult::kCannotOpen);
    std::remove(path.c_str());
}

TEST(ReadLineOfFile, ALineLongerThanItsWindowReadsTheWholeFile) {
    std::string longName(70000, 'x');
    std::string table = std::string(kMyAppleLine) + longName + "^7^8\r\n" + kMyAppleLine;
    std::string path = WriteTemp("long.txt", table);
    FileImage image;
    size_t at = 0;
    size_t offset = std::strlen(kMyAppleLine);
    ASSERT_EQ(ReadLineOfFile(path.c_str(), offset, &image, &at), ReadResult::kOk);
    EXPECT_EQ(image.Size(), table.size());
    EXPECT_EQ(at, offset);
    LogEntry e;
    ASSERT_EQ(ParseFoodLine(std::string_view(image.Data(), image.Size()), at, "1", 1, kMeasureNone,
                            kSourceMyFoods, &e),
              1);
    EXPECT_EQ(e.values[kCalories], 8);  // the fields after the long description are read
    std::remove(path.c_str());
}

}  // namespace
