// The sample databases that a first start installs are files the program reads completely.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fooddb/field_rules.h"
#include "fooddb/food_files.h"
#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "platform/file_io.h"

namespace {

std::string ReadSample(const char* name) {
    FileImage image;
    std::string path = std::string(PLATELOG_SOURCE_DIR) + "/samples/" + name;
    if (ReadWholeFile(path.c_str(), &image) != ReadResult::kOk) return std::string();
    return std::string(image.Data(), image.Size());
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

TEST(Samples, UsdaTableListsAndReadsEveryFood) {
    std::string data = ReadSample("ABBREV.txt");
    auto lines = Lines(data);
    ASSERT_GE(lines.size(), 25u);
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
        EXPECT_GT(std::strlen(first), 0u) << line;
        EXPECT_EQ(fields[36] == "~~", second[0] == '\0') << line;
        LogEntry entry;
        ASSERT_EQ(ParseFoodLine(data, offset, "1", 1, kMeasureFirst, kSourceUsda, &entry), 1);
        EXPECT_STREQ(entry.servingText1, first);
        EXPECT_GT(entry.servingWeight1, 0.0f) << line;
        EXPECT_LE(entry.values[kWater] + entry.values[kProtein] + entry.values[kTotalFat] +
                      entry.values[kCarbohydrates] + entry.values[kAsh],
                  101000)
            << line;  // grams per 100 g, in milli-units
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
