// Reading one food's line at its offset: USDA measures, My Foods serving, the fields of the Edit dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "fooddb/food_files.h"

namespace {

// A USDA line in the program's 38-field layout with the given measure fields 34 and 36.
std::string UsdaLine(const std::string& description, const std::string& measure1,
                     const std::string& measure2) {
    std::string line = "~90001~^" + description;
    for (int k = 2; k <= 32; ++k)
        line += "^" + std::to_string(k);
    line += "^5.0^" + measure1 + "^14.2^" + measure2 + "^0\r\n";
    return line;
}

// The My Foods example line of a new food, with its CR LF.
constexpr char kAppleLine[] =
    "Apple^^52^0.3^0.2^14^2.4^^1^1^1^1^107^1^0^1^^^1^^1^2^1^1^2^1^0^8^0^0^0^0^1^Cup^^99^\r\n";

std::string MyFoodLine(const std::string& measure, const std::string& secondMeasure) {
    std::string line = "Food";
    for (int k = 1; k <= 32; ++k)
        line += "^" + std::to_string(k);
    return line + "^" + measure + "^^" + secondMeasure + "^\r\n";
}

TEST(ReadUsdaServings, MeasureWordsWithoutCountAndQuotes) {
    struct Case {
        const char* what;
        std::string field34, field36;
        const char* first;
        const char* second;
    };
    const std::vector<Case> cases = {
        {"salted butter", "~1 pat,  (1\" sq, 1/3\" high)~", "~1 tbsp~", "pat,  (1\" sq, 1/3\" high)", "tbsp"},
        {"both empty", "~~", "~~", "", ""},
        {"words with commas and inner blanks", "~1 cup, chopped~", "~0.5 large  egg~", "cup, chopped",
         "large  egg"},
        {"no blank after the count", "~1cup~", "~~", "", ""},
        {"no closing quote", "~1 cup", "~2 slices~", "cup", "slices"},
        {"empty fields", "", "~", "", ""},
        {"count word longer than 31 bytes", "~" + std::string(40, '1') + " oz~", "~1 lb~", "oz", "lb"},
    };
    for (const auto& c : cases) {
        std::string data = UsdaLine("~FOOD~", c.field34, c.field36);
        char first[64] = "unchanged";
        char second[64] = "unchanged";
        ASSERT_EQ(ReadUsdaServings(data, 0, first, sizeof first, second, sizeof second), 1) << c.what;
        EXPECT_STREQ(first, c.first) << c.what;
        EXPECT_STREQ(second, c.second) << c.what;
    }
}

TEST(ReadUsdaServings, ReadsTheLineAtTheOffsetOnly) {
    std::string data = UsdaLine("~A~", "~1 cup~", "~1 tbsp~") + UsdaLine("~B~", "~2 slices~", "~~");
    size_t second = data.find("~90001~", 1);
    char a[32], b[32];
    ASSERT_EQ(ReadUsdaServings(data, second, a, sizeof a, b, sizeof b), 1);
    EXPECT_STREQ(a, "slices");
    EXPECT_STREQ(b, "");

    // A last line without CR LF, and a line that ends before its measure fields.
    std::string last = data.substr(0, second) +
                       "1^~C~^1^2^3^4^5^6^7^8^9^10^11^12^13^14^15^16^17^18^19^20^21^"
                       "22^23^24^25^26^27^28^29^30^31^1^~1 bowl~^2^~1 mug~^0";
    ASSERT_EQ(ReadUsdaServings(last, second, a, sizeof a, b, sizeof b), 1);
    EXPECT_STREQ(a, "bowl");
    EXPECT_STREQ(b, "mug");
    std::string shortLine = "1^~D~^1^2\r\n";
    ASSERT_EQ(ReadUsdaServings(shortLine, 0, a, sizeof a, b, sizeof b), 1);
    EXPECT_STREQ(a, "");
    EXPECT_STREQ(b, "");
}

TEST(ReadUsdaServings, ResultsAreCutToTheCallersBuffers) {
    std::string data = UsdaLine("~A~", "~1 cup, finely chopped~", "~1 tbsp~");
    char first[8];
    char second[3];
    ASSERT_EQ(ReadUsdaServings(data, 0, first, sizeof first, second, sizeof second), 1);
    EXPECT_STREQ(first, "cup, fi");
    EXPECT_STREQ(second, "tb");
}

TEST(FoodReaders, OffsetsThatAreNotLineStartsReadNothing) {
    std::string usda = UsdaLine("~A~", "~1 cup~", "~1 tbsp~");
    std::string myFoods = kAppleLine;
    for (size_t offset : {size_t{1}, size_t{7}, usda.size() - 1, usda.size(), usda.size() + 100}) {
        char a[32] = "kept";
        char b[32] = "kept";
        EXPECT_EQ(ReadUsdaServings(usda, offset, a, sizeof a, b, sizeof b), 0) << offset;
        EXPECT_STREQ(a, "kept");
        EXPECT_STREQ(b, "kept");
        int row = 1234;
        EXPECT_EQ(ReadMyFoodServing(myFoods, offset, a, sizeof a, &row), 0) << offset;
        EXPECT_STREQ(a, "kept");
        EXPECT_EQ(row, 1234);
        MyFoodFields fields;
        std::strcpy(fields.text[0], "kept");
        EXPECT_EQ(ReadMyFoodFields(myFoods, offset, &fields), 0) << offset;
        EXPECT_STREQ(fields.text[0], "kept");
        size_t end = 0;
        EXPECT_EQ(LineSpanAt(myFoods, offset, &end), 0) << offset;
    }
}

TEST(ReadMyFoodServing, MeasureTextAndSecondMeasureRow) {
    struct Case {
        std::string measure, second;
        int row;
    };
    const std::vector<Case> cases = {
        {"Cup", "99", -1}, {"slice", "", -1},      {"Ounces", "0", 0},
        {"grams", "6", 6}, {"Tablespoon", "3", 3}, {"per serving", "7", 7},  // the table's last row
        {"Cup", "8", -1},  {"Cup", "9", -1},       {"Cup", "95", -1},        // beyond the table
        {"Cup", "2x", 2},
    };
    for (const auto& c : cases) {
        std::string data = std::string(kAppleLine) + MyFoodLine(c.measure, c.second);
        char text[64] = {};
        int row = 1234;
        ASSERT_EQ(ReadMyFoodServing(data, std::strlen(kAppleLine), text, sizeof text, &row), 1) << c.second;
        EXPECT_EQ(text, c.measure);
        EXPECT_EQ(row, c.row) << '"' << c.second << '"';
    }
    char text[4];
    int row = 0;
    ASSERT_EQ(ReadMyFoodServing(kAppleLine, 0, text, sizeof text, &row), 1);
    EXPECT_STREQ(text, "Cup");
    EXPECT_EQ(row, -1);
    ASSERT_EQ(ReadMyFoodServing("Short^1^2\r\n", 0, text, sizeof text, &row), 1);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(row, -1);
    std::string longMeasure = MyFoodLine("Tablespoon", "5");
    ASSERT_EQ(ReadMyFoodServing(longMeasure, 0, text, sizeof text, &row), 1);
    EXPECT_STREQ(text, "Tab");
    EXPECT_EQ(row, 5);
}

TEST(ReadMyFoodFields, ThirtySevenFieldsOfTheLine) {
    std::string data = std::string("Other^1\r\n") + kAppleLine;
    MyFoodFields fields;
    ASSERT_EQ(ReadMyFoodFields(data, 9, &fields), 1);
    const char* expected[kMyFoodFieldCount] = {"Apple", "",  "52",  "0.3", "0.2", "14", "2.4", "",  "1", "1",
                                               "1",     "1", "107", "1",   "0",   "1",  "",    "",  "1", "",
                                               "1",     "2", "1",   "1",   "2",   "1",  "0",   "8", "0", "0",
                                               "0",     "0", "1",   "Cup", "",    "99", ""};
    for (int k = 0; k < kMyFoodFieldCount; ++k)
        EXPECT_STREQ(fields.text[k], expected[k]) << k;

    // Hidden fields come back as stored; extra fields are ignored; missing ones read empty.
    std::string kept;
    for (int k = 0; k < kMyFoodFieldCount + 1; ++k) {
        if (k > 0) kept += '^';
        if (k == 0 || k == 1 || k == 7 || k == 16 || k == 34 || k == 36 || k == 37) kept += std::to_string(k);
        if (k == 35) kept += '3';
    }
    ASSERT_EQ(ReadMyFoodFields(kept + "\r\n", 0, &fields), 1);
    const std::pair<int, const char*> stored[] = {{1, "1"},   {7, "7"}, {16, "16"},
                                                  {34, "34"}, {35, "3"}, {36, "36"}};
    for (const auto& [k, text] : stored)
        EXPECT_STREQ(fields.text[k], text) << k;
    ASSERT_EQ(ReadMyFoodFields("Half^1^2", 0, &fields), 1);
    EXPECT_STREQ(fields.text[0], "Half");
    EXPECT_STREQ(fields.text[2], "2");
    for (int k = 3; k < kMyFoodFieldCount; ++k)
        EXPECT_STREQ(fields.text[k], "") << k;

    std::string longField = std::string(300, '7');
    ASSERT_EQ(ReadMyFoodFields("L^" + longField + "^2\r\n", 0, &fields), 1);
    EXPECT_EQ(std::string(fields.text[1]), std::string(255, '7'));
    EXPECT_STREQ(fields.text[2], "2");
}

TEST(SecondMeasurePickerRow, RowsOfTheSevenRowPicker) {
    struct Case {
        const char* text;
        int row;
    };
    for (const Case& c : {Case{"99", -1}, Case{"", -1}, Case{"0", 0}, Case{"6", 6}, Case{"7", -1},
                          Case{"3abc", 3}, Case{"12", -1}}) {
        EXPECT_EQ(SecondMeasurePickerRow(c.text), c.row) << c.text;
    }
}

TEST(CopyWithoutLine, RemovesExactlyTheLineAtTheOffset) {
    struct Case {
        const char* what;
        std::string data;
        size_t offset;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"the only line", "A^1\r\n", 0, ""},
        {"first", "A^1\r\nB^2\r\nC^3\r\n", 0, "B^2\r\nC^3\r\n"},
        {"middle", "A^1\r\nB^2\r\nC^3\r\n", 5, "A^1\r\nC^3\r\n"},
        {"last", "A^1\r\nB^2\r\nC^3\r\n", 10, "A^1\r\nB^2\r\n"},
        {"last without line end", "A^1\r\nB^2", 5, "A^1\r\n"},
        {"only line without line end", "A^1", 0, ""},
        {"LF-only file", "A^1\nB^2\n", 0, "B^2\n"},
        {"one of two duplicates", "Toast^1\r\nToast^2\r\nToast^3\r\n", 9, "Toast^1\r\nToast^3\r\n"},
        {"a stray CR stays with its line", "A\rjunk\nB\r\n", 0, "B\r\n"},
    };
    for (const auto& c : cases) {
        std::string contents(c.data.size() + 1, '#');
        size_t length = 12345;
        ASSERT_EQ(CopyWithoutLine(c.data, c.offset, &contents[0], contents.size(), &length), 1) << c.what;
        EXPECT_EQ(contents.substr(0, length), c.expected) << c.what;
    }
    std::string contents(16, '#');
    size_t length = 12345;
    EXPECT_EQ(CopyWithoutLine("A^1\r\nB^2\r\n", 3, &contents[0], contents.size(), &length), 0);
    EXPECT_EQ(CopyWithoutLine("", 0, &contents[0], contents.size(), &length), 0);
    EXPECT_EQ(CopyWithoutLine("A^1\r\nB^2\r\n", 0, &contents[0], 4, &length), 0);  // too small a buffer
    EXPECT_EQ(contents, std::string(16, '#'));
    EXPECT_EQ(length, 12345u);
}

}  // namespace
