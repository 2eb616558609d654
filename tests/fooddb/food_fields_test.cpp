// Reading the fields of a food's database line, and the USDA measure descriptions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "fooddb/food_fields.h"

namespace {

TEST(SplitFields, FieldsUpToEachSeparatorMissingOnesEmpty) {
    std::string_view line = "abc^1.5^52.6^^x";
    std::string_view fields[7];
    EXPECT_EQ(SplitFields(line, fields, 7), 5);
    const char* expected[7] = {"abc", "1.5", "52.6", "", "x", "", ""};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(fields[k], expected[k]) << k;
    EXPECT_EQ(fields[6].data(), line.data() + line.size());  // a missing field still points into the line
    EXPECT_EQ(SplitFields(line, fields, 2), 5);  // more fields than asked for are counted, not stored
    EXPECT_EQ(fields[1], "1.5");
    EXPECT_EQ(SplitFields("", fields, 1), 1);
    EXPECT_EQ(ParseRealField("1.5^2"), 1.5f);
    EXPECT_EQ(ParseWholeField("52.6"), 52);  // whole units keep only the integer part
    // A field is read as a field buffer holds it: its first 255 bytes.
    std::string longField = std::string(255, '0') + "7";
    EXPECT_EQ(ParseWholeField(longField), 0);
}

TEST(ScanLine, ContentToTheFirstCrOrLfLineToPastTheLf) {
    struct Case {
        const char* data;
        size_t offset, contentEnd, next;
    };
    const Case cases[] = {
        {"ab\r\ncd", 0, 2, 4}, {"ab\ncd", 0, 2, 3}, {"ab\r\ncd", 4, 6, 6},
        {"a\rb\nc", 0, 1, 4},  {"\n\nx", 1, 1, 2},  {"ab\r\ncd", 2, 2, 4},
    };
    for (const Case& c : cases) {
        LineSpan span{};
        ASSERT_TRUE(ScanLine(c.data, c.offset, &span)) << c.data;
        EXPECT_EQ(span.start, c.offset);
        EXPECT_EQ(span.contentEnd, c.contentEnd) << c.data << " at " << c.offset;
        EXPECT_EQ(span.next, c.next) << c.data << " at " << c.offset;
    }
    LineSpan span;
    EXPECT_FALSE(ScanLine("ab", 2, &span));
    EXPECT_FALSE(ScanLine("", 0, &span));
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
