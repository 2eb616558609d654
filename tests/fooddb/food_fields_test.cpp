// Reading the fields of a food's database line, and the USDA measure descriptions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "fooddb/food_fields.h"

namespace {

TEST(FieldReaders, ReadUpToTheSeparatorAndStepPastIt) {
    std::string_view line = "abc^1.5^52.6^^x";
    char text[8];
    size_t p = ReadTextField(line, 0, text, sizeof text);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(p, 4u);
    float real = -1.0f;
    p = ReadRealField(line, p, &real);
    EXPECT_EQ(real, 1.5f);
    int32_t whole = -1;
    p = ReadWholeField(line, p, &whole);
    EXPECT_EQ(whole, 52);  // whole units keep only the integer part
    p = ReadWholeField(line, p, &whole);
    EXPECT_EQ(whole, 0);  // empty field
    p = ReadTextField(line, p, text, sizeof text);
    EXPECT_STREQ(text, "x");
    EXPECT_EQ(p, line.size());
    // Past the end: missing fields read as empty, the position stays at the end.
    p = ReadRealField(line, p, &real);
    EXPECT_EQ(real, 0.0f);
    EXPECT_EQ(p, line.size());
    p = ReadTextField(line, line.size() + 10, text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(p, line.size());
}

TEST(FieldReaders, CutLongTextsToTheirBuffer) {
    std::string line(300, 'd');
    line += "^rest";
    char text[256];
    size_t p = ReadTextField(line, 0, text, sizeof text);
    EXPECT_EQ(std::strlen(text), 255u);
    EXPECT_EQ(p, 301u);
}

TEST(FieldReaders, NumbersConvertAsTheCRuntimeDoes) {
    EXPECT_EQ(ParseWhole("52.6"), 52);
    EXPECT_EQ(ParseWhole("24"), 24);
    EXPECT_EQ(ParseWhole("2.5"), 2);
    EXPECT_EQ(ParseWhole(""), 0);
    EXPECT_EQ(ParseWhole("abc"), 0);
    EXPECT_EQ(ParseWhole("99999999999"), 2147483647);
    EXPECT_EQ(ParseWhole("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(ParseReal("0.26"), 0.26f);
    EXPECT_EQ(ParseReal(".5"), 0.5f);
    EXPECT_EQ(ParseReal("1.5xyz"), 1.5f);
    EXPECT_EQ(ParseReal("1.2.3"), 1.2f);
    EXPECT_EQ(ParseReal(""), 0.0f);
    EXPECT_EQ(ParseReal("12."), 12.0f);
    EXPECT_TRUE(std::isinf(ParseReal("1e300")));
}

TEST(LineAt, AcceptsOnlyLineStartsInsideTheData) {
    std::string data = "first^line\r\nsecond\nthird";
    std::string_view line;
    ASSERT_EQ(LineAt(data, 0, &line), 1);
    EXPECT_EQ(line, "first^line");
    ASSERT_EQ(LineAt(data, 12, &line), 1);
    EXPECT_EQ(line, "second");
    ASSERT_EQ(LineAt(data, 19, &line), 1);
    EXPECT_EQ(line, "third");  // a last line without CR LF is still a line
    EXPECT_EQ(LineAt(data, 1, &line), 0);
    EXPECT_EQ(LineAt(data, 11, &line), 0);  // the LF itself: the byte before is CR
    EXPECT_EQ(LineAt(data, data.size(), &line), 0);
    EXPECT_EQ(LineAt(data, 1000000, &line), 0);
    EXPECT_EQ(LineAt("", 0, &line), 0);
}

// Both the Food Quantity dialog's measures and a log entry's serving texts are read this way.
TEST(SplitUsdaMeasure, DropsTheQuotesAndTheCountWord) {
    struct Case {
        std::string field;
        const char* words;
        float count;
    } const cases[] = {
        {"~1 cup, sliced~", "cup, sliced", 1.0f},
        {"~1 medium (3\" dia)~", "medium (3\" dia)", 1.0f},
        {"~.5 tbsp~", "tbsp", 0.5f},
        {"~~", "", 0.0f},
        {"", "", 0.0f},
        {"~", "", 0.0f},
        {"~2~", "", 2.0f},                        // no blank: no words, but a count
        {"~1 cup", "cup", 1.0f},                  // no closing quote: nothing else is dropped
        {std::string("~1\0 cup~", 9), "", 1.0f},  // a NUL ends the field
    };
    for (const Case& c : cases) {
        char words[64];
        std::memset(words, 'x', sizeof words);
        float count = -1.0f;
        SplitUsdaMeasure(c.field, words, sizeof words, &count);
        EXPECT_STREQ(words, c.words) << c.field;
        EXPECT_EQ(count, c.count) << c.field;
        std::memset(words, 'x', sizeof words);
        SplitUsdaMeasure(c.field, words, sizeof words, nullptr);
        EXPECT_STREQ(words, c.words) << c.field;
    }
    char small[5];
    SplitUsdaMeasure("~1 cup, sliced~", small, sizeof small, nullptr);
    EXPECT_STREQ(small, "cup,");
}

}  // namespace
