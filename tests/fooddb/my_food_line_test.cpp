// The field rules and the checks and assembly of a new My Foods line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fooddb/field_rules.h"
#include "fooddb/food_files.h"

namespace {

constexpr char kAppleLine[] =
    "Apple^^52^0.3^0.2^14^2.4^^1^1^1^1^107^1^0^1^^^1^^1^2^1^1^2^1^0^8^0^0^0^0^1^Cup^^99^\r\n";

// The exact texts the user sees, written out here rather than taken from the code under test.
constexpr char kDescriptionText[] =
    "Illegal Character or blank field: \"%s\"\r\nor line exceeds 64 characters";
constexpr char kBlankText[] = "Illegal Character or blank field: \"%s\"";
constexpr char kMeasureText[] =
    "Illegal Character or blank field: \"%s\"\r\n\t\t\t\t\t\t\tor line exceeds 64 characters";
constexpr char kNumericText[] = "Illegal Character: \"%s\"";

struct Form {
    std::vector<std::string> texts;
    Form() {
        std::string line(kAppleLine, std::strlen(kAppleLine) - 2);
        size_t start = 0;
        while (true) {
            size_t caret = line.find('^', start);
            texts.push_back(
                line.substr(start, caret == std::string::npos ? std::string::npos : caret - start));
            if (caret == std::string::npos) break;
            start = caret + 1;
        }
    }
    void Views(std::string_view* fields) const {
        for (int k = 0; k < kMyFoodFieldCount; ++k)
            fields[k] = texts[k];
    }
};

TEST(FieldRules, NumericAndNameTexts) {
    struct Case {
        std::string text;
        bool numeric, name;
    };
    const std::vector<Case> cases = {
        {"", true, false},
        {"1.5", true, true},
        {"1..5", true, true},
        {".", true, true},
        {"0123456789", true, true},
        {"1,5", false, true},
        {" 1", false, true},
        {"1 ", false, true},
        {"-1", false, true},
        {"+1", false, true},
        {"1e3", false, true},
        {"slice", false, true},
        {"cup~", false, false},
        {"a^b", false, false},
        {"two\r\nlines", false, false},
        {std::string("nul\0byte", 8), false, false},
        {std::string(64, 'x'), false, true},
        {std::string(65, 'x'), false, false},
        {std::string(64, '9'), true, true},
        {"Pâté \xE9t\xE9", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsNumericField(c.text.data(), c.text.size()), c.numeric) << '"' << c.text << '"';
        EXPECT_EQ(IsNameField(c.text.data(), c.text.size()), c.name) << '"' << c.text << '"';
    }
}

TEST(CheckMyFoodFields, FirstFailingFieldWithItsMessage) {
    struct Case {
        int field;
        std::string text;
        int failedField;  // -1: passes
        const char* message;
    };
    const std::vector<Case> cases = {
        {0, std::string(64, 'D'), -1, nullptr},
        {0, std::string(65, 'D'), 0, kDescriptionText},
        {0, "", 0, kDescriptionText},
        {0, "Egg~s", 0, kDescriptionText},
        {0, "Egg^s", 0, kDescriptionText},
        {0, " Eggs, scrambled (2) ", -1, nullptr},
        {32, "1.5", -1, nullptr},
        {32, "1..5", -1, nullptr},
        {32, "1,5", 32, kBlankText},
        {32, " 1", 32, kBlankText},
        {32, "", 32, kBlankText},
        {33, "slice", -1, nullptr},
        {33, "", 33, kBlankText},
        {33, "cup~", 33, kMeasureText},
        {33, std::string(64, 'm'), -1, nullptr},
        {33, std::string(65, 'm'), 33, kMeasureText},
        {2, "1,5", 2, kNumericText},
        {2, " 1", 2, kNumericText},
        {2, "1..5", -1, nullptr},
        {31, "abc", 31, kNumericText},
        {34, "x", 34, kNumericText},
        {35, "99", -1, nullptr},
        {35, "9a", 35, kNumericText},
        {36, "-", 36, kNumericText},
        {1, std::string(255, '5'), -1, nullptr},
        {1, std::string(256, '5'), 1, kNumericText},  // would not come back whole
        {32, std::string(256, '5'), 32, kBlankText},
    };
    for (const auto& c : cases) {
        Form form;
        form.texts[c.field] = c.text;
        std::string_view fields[kMyFoodFieldCount];
        form.Views(fields);
        FieldFailure failure = {-7, nullptr};
        int ok = CheckMyFoodFields(fields, &failure);
        if (c.failedField < 0) {
            EXPECT_EQ(ok, 1) << "field " << c.field << " \"" << c.text << '"';
        } else {
            ASSERT_EQ(ok, 0) << "field " << c.field << " \"" << c.text << '"';
            EXPECT_EQ(failure.field, c.failedField);
            EXPECT_STREQ(failure.message, c.message) << "field " << c.field;
        }
    }
}

TEST(CheckMyFoodFields, ChecksInFieldOrder) {
    Form form;
    form.texts[36] = "x";
    form.texts[5] = "x";
    form.texts[33] = "";
    std::string_view fields[kMyFoodFieldCount];
    form.Views(fields);
    FieldFailure failure;
    ASSERT_EQ(CheckMyFoodFields(fields, &failure), 0);
    EXPECT_EQ(failure.field, 5);
    form.texts[5] = "5";
    form.Views(fields);
    ASSERT_EQ(CheckMyFoodFields(fields, &failure), 0);
    EXPECT_EQ(failure.field, 33);
    EXPECT_STREQ(failure.message, kBlankText);
    form.texts[33] = "Cup";
    form.Views(fields);
    ASSERT_EQ(CheckMyFoodFields(fields, &failure), 0);
    EXPECT_EQ(failure.field, 36);
}

TEST(AssembleMyFoodLine, NewFoodLineByteForByte) {
    // A new food as the dialog gives it: hidden fields empty, no second measure.
    std::vector<std::string> texts = {"Apple", "",  "52",  "0.3", "0.2", "14", "2.4", "",  "1", "1",
                                      "1",     "1", "107", "1",   "0",   "1",  "",    "",  "1", "",
                                      "1",     "2", "1",   "1",   "2",   "1",  "0",   "8", "0", "0",
                                      "0",     "0", "1",   "Cup", "",    "99", ""};
    ASSERT_EQ(texts.size(), static_cast<size_t>(kMyFoodFieldCount));
    std::string_view fields[kMyFoodFieldCount];
    for (int k = 0; k < kMyFoodFieldCount; ++k)
        fields[k] = texts[k];
    FieldFailure failure;
    ASSERT_EQ(CheckMyFoodFields(fields, &failure), 1);
    size_t length = MyFoodLineLength(fields);
    ASSERT_EQ(length, std::strlen(kAppleLine));
    std::string line(length + 4, '#');
    ASSERT_EQ(AssembleMyFoodLine(fields, &line[0], line.size()), length);
    EXPECT_EQ(line.substr(0, length), kAppleLine);
    EXPECT_EQ(line.substr(length), "####");

    std::string small(length - 1, '#');
    EXPECT_EQ(AssembleMyFoodLine(fields, &small[0], small.size()), 0u);
    EXPECT_EQ(small, std::string(length - 1, '#'));
}

TEST(FormatFieldMessage, LabelInPlaceOfTheHole) {
    char text[256];
    FormatFieldMessage(kMeasureText, "Serving Size Measure", text, sizeof text);
    EXPECT_STREQ(
        text,
        "Illegal Character or blank field: \"Serving Size Measure\"\r\n\t\t\t\t\t\t\tor line exceeds 64 "
        "characters");
    FormatFieldMessage(kNumericText, "Cacium", text, sizeof text);
    EXPECT_STREQ(text, "Illegal Character: \"Cacium\"");
    FormatFieldMessage(kNumericText, "100%s", text, sizeof text);  // a label is not a format
    EXPECT_STREQ(text, "Illegal Character: \"100%s\"");
    char small[12];
    FormatFieldMessage(kNumericText, "Cacium", small, sizeof small);
    EXPECT_STREQ(small, "Illegal Cha");
}

}  // namespace
