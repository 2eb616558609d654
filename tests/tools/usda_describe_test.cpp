// The USDA's food descriptions and household measures in the program's layout: which fields, in what
// order, without their quotes, every byte kept, and which lines are refused.
#include <gtest/gtest.h>

#include <string>

#include "tools/usda_describe.h"

namespace {

// A FOOD_DES.txt line as the USDA writes it: 14 fields, texts in '~'.
std::string FoodDes(const std::string& number, const std::string& longDescription,
                    const std::string& manufacturer, const std::string& survey,
                    const std::string& commonNames = "") {
    return "~" + number + "~^~0100~^~" + longDescription + "~^~SHORT~^~" + commonNames + "~^~" +
           manufacturer + "~^~" + survey + "~^~~^0^~~^6.38^4.27^8.79^3.87";
}

TEST(ConvertUsdaFiles, KeepsTheirFieldsAndRefusesBadLines) {
    using Convert = int (*)(std::string_view, std::string*, UsdaLineFault*);
    struct Case {
        const char* what;
        Convert convert;
        std::string source;
        std::string expected;  // empty: refused
        size_t badLine, badFields;
        bool badRecordNumber;
    };
    const Convert des = ConvertUsdaDescriptions, weights = ConvertUsdaWeights;
    const Case cases[] = {
        {"descriptions", des,
         FoodDes("01001", "Butter, salted", "", "Y") + "\r\n" +
             FoodDes("01188", "CHEEZ WHIZ", "Kraft Foods, Inc.", "") + "\r\n" +
             FoodDes("07022", "Frankfurter, beef, unheated", "", "Y", "hot dog, frank, wiener") + "\r\n",
         "01001^0100^Y^^Butter, salted^\r\n01188^0100^^Kraft Foods, Inc.^CHEEZ WHIZ^\r\n"
         "07022^0100^Y^^Frankfurter, beef, unheated^hot dog, frank, wiener\r\n",
         0, 0, false},
        {"Windows-1252 quotes, a blank line, LF and a last line without line end", des,
         FoodDes("09520", "Kiwi \x91Zesy\x92", "", "") + "\n\r\n" + FoodDes("09521", "Kiwi", "", "Y"),
         "09520^0100^^^Kiwi \x91Zesy\x92^\r\n09521^0100^Y^^Kiwi^\r\n", 0, 0, false},
        {"a description line of 13 fields", des,
         FoodDes("01001", "A", "", "") + "\r\n\r\n~01002~^~0100~^x\r\n", "", 3, 3, false},
        {"a description with 15 fields", des, FoodDes("01001", "A", "", "") + "^", "", 1, 15, false},
        {"a record number of 4 digits", des, FoodDes("1001", "A", "", ""), "", 1, 14, true},
        {"a record number with a letter", des, FoodDes("0100A", "A", "", ""), "", 1, 14, true},
        {"measures", weights,
         "~01001~^1^1^~pat (1\" sq, 1/3\" high)~^5.0^^\r\n~22996~^1^1^~Entr\351e~^269^1^",
         "01001^1^1^pat (1\" sq, 1/3\" high)^5.0\r\n22996^1^1^Entr\351e^269\r\n", 0, 0, false},
        {"a measure line of 6 fields", weights, "~01001~^1^1^~cup~^227^\r\n", "", 1, 6, false},
        {"a measure without a record number", weights, "~01001~^1^1^~cup~^227^^\r\n~~^1^1^~cup~^227^^\r\n",
         "", 2, 7, true},
    };
    for (const Case& c : cases) {
        std::string output = "stale";
        UsdaLineFault fault;
        EXPECT_EQ(c.convert(c.source, &output, &fault), c.expected.empty() ? 0 : 1) << c.what;
        EXPECT_EQ(output, c.expected) << c.what;
        EXPECT_EQ(fault.line, c.badLine) << c.what;
        EXPECT_EQ(fault.fields, c.badFields) << c.what;
        EXPECT_EQ(fault.badRecordNumber, c.badRecordNumber) << c.what;
    }
}

}  // namespace
