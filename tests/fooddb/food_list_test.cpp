// Listing the foods of both database files: one item per line, with the line's own offset.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fooddb/food_files.h"
#include "platform/text.h"

namespace {

using Items = std::vector<std::pair<std::string, size_t>>;

Items List(const std::string& data, FoodFile file) {
    Items items;
    size_t position = 0;
    FoodListItem item;
    while (NextFoodListItem(data, file, &position, &item)) {
        items.emplace_back(std::string(item.text), item.offset);
        if (items.size() > data.size() + 1) break;  // a scanner that stops moving
    }
    size_t count = 0;
    size_t textBytes = 0;
    CountFoodListItems(data, file, &count, &textBytes);
    size_t expectedBytes = 0;
    for (const auto& i : items)
        expectedBytes += i.first.size();
    EXPECT_EQ(count, items.size());
    EXPECT_EQ(textBytes, expectedBytes);
    return items;
}

struct ListCase {
    const char* what;
    FoodFile file;
    std::string data;
    Items expected;
};

TEST(FoodList, OneItemPerLineWithItsOffset) {
    const std::string longName(300, 'N');
    const std::vector<ListCase> cases = {
        {"empty file", FoodFile::kMyFoods, "", {}},
        {"only line ends", FoodFile::kMyFoods, "\r\n\r\n\n", {}},
        {"my foods: field 0",
         FoodFile::kMyFoods,
         "Apple^^52\r\nBread^^80\r\n",
         {{"Apple", 0}, {"Bread", 11}}},
        {"usda: field 1 with its quotes",
         FoodFile::kUsda,
         "~90001~^~BUTTER,SALTED~^16\r\n~2~^~EGG~^1\r\n",
         {{"~BUTTER,SALTED~", 0}, {"~EGG~", 28}}},
        {"duplicates keep their own offsets",
         FoodFile::kMyFoods,
         "Toast^1\r\nToast^2\r\n",
         {{"Toast", 0}, {"Toast", 9}}},
        {"blank lines skipped, offsets still exact",
         FoodFile::kMyFoods,
         "\r\nA^1\r\n\r\n\nB^2\r\n",
         {{"A", 2}, {"B", 10}}},
        {"last line without a line end", FoodFile::kMyFoods, "A^1\r\nB^2", {{"A", 0}, {"B", 5}}},
        {"LF-only line ends", FoodFile::kUsda, "1^~A~^x\n2^~B~^y\n", {{"~A~", 0}, {"~B~", 8}}},
        {"a line without separators is all field 0",
         FoodFile::kMyFoods,
         "Plain\r\nX^1\r\n",
         {{"Plain", 0}, {"X", 7}}},
        {"usda line without a description lists empty",
         FoodFile::kUsda,
         "01001\r\n1^~A~\r\n",
         {{"", 0}, {"~A~", 7}}},
        {"a stray CR ends the line's content", FoodFile::kMyFoods, "A\rB^x\r\nC^1\r\n", {{"A", 0}, {"C", 7}}},
        {"NUL ends a text, not the listing",
         FoodFile::kMyFoods,
         std::string("Ab\0c^1\r\nD^2\r\n", 12),
         {{"Ab", 0}, {"D", 8}}},
        {"description cut to 255 bytes",
         FoodFile::kMyFoods,
         longName + "^1\r\nZ^1\r\n",
         {{std::string(255, 'N'), 0}, {"Z", 304}}},
        {"usda description cut to 255 bytes",
         FoodFile::kUsda,
         "1^" + longName + "\r\n",
         {{std::string(255, 'N'), 0}}},
        {"255 bytes kept whole",
         FoodFile::kMyFoods,
         std::string(255, 'x') + "^\r\n",
         {{std::string(255, 'x'), 0}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(List(c.data, c.file), c.expected) << c.what;
    }
}

TEST(FoodList, EveryOffsetIsALineStartOfTheData) {
    const std::string data = "\nA^1\r\n\r\nB^2\rjunk\nC\r\n\n\nD";
    for (FoodFile file : {FoodFile::kMyFoods, FoodFile::kUsda}) {
        for (const auto& item : List(data, file)) {
            EXPECT_TRUE(IsLineStart(data, item.second)) << item.second;
        }
    }
}

TEST(IsLineStart, OnlyTheFirstByteOfALineInsideTheData) {
    const std::string data = "A^1\r\nB^2\r\n";
    EXPECT_TRUE(IsLineStart(data, 0));
    EXPECT_TRUE(IsLineStart(data, 5));
    EXPECT_FALSE(IsLineStart(data, 1));
    EXPECT_FALSE(IsLineStart(data, 4));   // the LF itself
    EXPECT_FALSE(IsLineStart(data, 10));  // the end of the data
    EXPECT_FALSE(IsLineStart(data, 1000));
    EXPECT_FALSE(IsLineStart("", 0));
}

}  // namespace
