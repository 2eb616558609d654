// The databases that ship with the program are files it reads completely: the USDA table as the
// build converts it, and the starter My Foods file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fooddb/field_rules.h"
#include "fooddb/food_files.h"
#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "platform/file_io.h"
#include "tools/usda_import.h"
#include "tests/test_files.h"

namespace {

std::string ReadSample(const char* name) {
    return ReadNeededFile(std::string(PLATELOG_SOURCE_DIR) + "/samples/" + name);
}

// The lines with their offsets; every line must end with CR LF.
std::vector<std::pair<size_t, std::string>> Lines(const std::string& data) {
    std::vector<std::pair<size_t, std::string>> lines;
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "line at " << start << " has no CR LF";
        if (end == std::string::npos) break;
        lines.emplace_back(start, data.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        size_t caret = line.find('^', start);
        fields.push_back(line.substr(start, caret == std::string::npos ? std::string::npos : caret - start));
        if (caret == std::string::npos) return fields;
        start = caret + 1;
    }
}

TEST(Samples, ShippedUsdaTableIsTheConvertedSr28Table) {
    std::string published = ReadNeededFile(PLATELOG_SR28_TABLE);
    std::string shipped = ReadNeededFile(PLATELOG_USDA_TABLE);
    std::string converted;
    size_t badLine = 0;
    ASSERT_EQ(ConvertUsdaTable(published, &converted, &badLine), 1) << "line " << badLine;
    // Compared by size and content without printing two megabytes on a mismatch.
    EXPECT_EQ(shipped.size(), converted.size());
    EXPECT_TRUE(shipped == converted);
}

TEST(Samples, ShippedUsdaTableListsAndReadsEveryFood) {
    std::string data = ReadNeededFile(PLATELOG_USDA_TABLE);
    auto lines = Lines(data);
    ASSERT_EQ(lines.size(), 8790u);
    size_t count = 0, textBytes = 0;
    CountFoodListItems(data, FoodFile::kUsda, &count, &textBytes);
    EXPECT_EQ(count, lines.size());
    size_t position = 0;
    FoodListItem item;
    for (const auto& [offset, line] : lines) {
        std::vector<std::string> fields = Split(line);
        ASSERT_EQ(fields.size(), 38u) << line;
        ASSERT_TRUE(NextFoodListItem(data, FoodFile::kUsda, &position, &item));
        EXPECT_EQ(item.offset, offset);
        EXPECT_EQ(item.text, fields[1]);
        EXPECT_EQ(fields[1].front(), '~');
        EXPECT_EQ(fields[1].back(), '~');
        for (int k = 2; k <= 32; ++k)
            EXPECT_TRUE(IsNumericField(fields[k].data(), fields[k].size())) << line;
        char first[64], second[64];
        ASSERT_EQ(ReadUsdaServings(data, offset, first, sizeof first, second, sizeof second), 1);
        EXPECT_EQ(fields[34] == "~~", first[0] == '\0') << line;
        EXPECT_EQ(fields[36] == "~~", second[0] == '\0') << line;
        LogEntry entry;
        ASSERT_EQ(ParseFoodLine(data, offset, "1", 1, kMeasureFirst, kSourceUsda, &entry), 1);
        // The entry keeps as much of the measure as its field holds.
        EXPECT_EQ(std::string(first).compare(0, std::strlen(entry.servingText1), entry.servingText1), 0) << line;
        EXPECT_EQ(std::strlen(entry.servingText1), std::min(std::strlen(first), sizeof entry.servingText1 - 1));
        EXPECT_GE(entry.servingWeight1, 0.0f) << line;  // a few published measures have no weight
    }
    EXPECT_FALSE(NextFoodListItem(data, FoodFile::kUsda, &position, &item));
}

TEST(Samples, MyFoodsAreLinesTheProgramWouldWrite) {
    std::string data = ReadSample("mtmyfood");
    auto lines = Lines(data);
    ASSERT_GE(lines.size(), 10u);
    size_t position = 0;
    FoodListItem item;
    for (const auto& [offset, line] : lines) {
        std::vector<std::string> fields = Split(line);
        ASSERT_EQ(fields.size(), 37u) << line;
        std::string_view views[kMyFoodFieldCount];
        for (int k = 0; k < kMyFoodFieldCount; ++k)
            views[k] = fields[k];
        FieldFailure failure;
        EXPECT_EQ(CheckMyFoodFields(views, &failure), 1) << line;
        ASSERT_TRUE(NextFoodListItem(data, FoodFile::kMyFoods, &position, &item));
        EXPECT_EQ(item.offset, offset);
        EXPECT_EQ(item.text, fields[0]);
        char measure[kFieldTextSize];
        int row = 0;
        ASSERT_EQ(ReadMyFoodServing(data, offset, measure, sizeof measure, &row), 1);
        EXPECT_EQ(measure, fields[33]);
        EXPECT_EQ(row, kNoMeasureRow);
    }
    EXPECT_FALSE(NextFoodListItem(data, FoodFile::kMyFoods, &position, &item));
}

}  // namespace
