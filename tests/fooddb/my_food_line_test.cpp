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
        {"", true, false}, {"1.5", true, true}, {"1..5", true, true}, {".", true, true},
        {"0123456789", true, true}, {"1,5", false, true}, {" 1", false, true}, {"1 ", false, true},
        {"-1", false, true}, {"+1", false, true}, {"1e3", false, true}, {"slice", false, true},
        {"cup~", false, false}, {"a^b", false, false}, {"two\r\nlines", false, false},
        {std::string("nul\0byte", 8), false, false}, {std::string(64, 'x'), false, true},
        {std::string(65, 'x'), false, false}, {std::string(64, '9'), true, true},
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
        {0, "", 0, kDescriptionText}, {0, "Egg~s", 0, kDescriptionText}, {0, "Egg^s", 0, kDescriptionText},
        {0, " Eggs, scrambled (2) ", -1, nullptr}, {32, "1.5", -1, nullptr}, {32, "1..5", -1, nullptr},
        {32, "1,5", 32, kBlankText}, {32, " 1", 32, kBlankText}, {32, "", 32, kBlankText},
        {33, "slice", -1, nullptr}, {33, "", 33, kBlankText}, {33, "cup~", 33, kMeasureText},
        {33, std::string(64, 'm'), -1, nullptr}, {33, std::string(65, 'm'), 33, kMeasureText},
        {2, "1,5", 2, kNumericText}, {2, " 1", 2, kNumericText}, {2, "1..5", -1, nullptr},
        {31, "abc", 31, kNumericText}, {34, "x", 34, kNumericText}, {35, "99", -1, nullptr},
        {35, "9a", 35, kNumericText}, {36, "-", 36, kNumericText}, {1, std::string(255, '5'), -1, nullptr},
        {1, std::string(256, '5'), 1, kNumericText},  // would not come back whole
        {32, std::string(256, '5'), 32, kBlankText},
    };
    for (const auto& c : cases) {
        Form form;
        form.texts[c.field] = c.text;
        std::string_view fields[kMyFoodFieldCount];
        form.Views(fields);
        FieldFailure failure = {-7, nullptr, false};
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

TEST(CheckEditFoodFields, TheEditDialogsOwnChecksAndWording) {
    constexpr char kEditDescription[] = "Illegal Character: \"%s\"\r\nor line exceeds 64 Characters.";
    constexpr char kEditMeasure[] = "Illegal Character: \"%s\"\r\nor line exceeds 64 characters";
    struct Case {
        int field;
        std::string text;
        int failedField;  // -1: passes both checks
        const char* message;
        bool warning;
        bool atSave;  // refused by the checks Edit makes after its own
    };
    const std::vector<Case> cases = {
        {0, std::string(64, 'D'), -1, nullptr, false, false},
        {0, std::string(65, 'D'), 0, kEditDescription, true, false},
        {0, "", 0, kEditDescription, true, false},
        {0, "Egg~s", 0, kEditDescription, true, false},
        {1, "x", 1, kNumericText, false, false},  // hidden fields too
        {7, "1,5", 7, kNumericText, false, false},
        {31, " 1", 31, kNumericText, false, false},
        {32, "1 ", 32, kNumericText, false, false},
        {33, "slice", -1, nullptr, false, false},
        {33, "", 33, kEditMeasure, false, false},
        {33, "cup~", 33, kEditMeasure, false, false},
        {33, std::string(65, 'm'), 33, kEditMeasure, false, false},
        {35, "x", -1, nullptr, false, false},  // the second picker gives a row, never typed text
        {32, "", 32, kBlankText, false, true},
        {34, "a", 34, kNumericText, false, true},
        {36, "-", 36, kNumericText, false, true},
        {34, "1.5", -1, nullptr, false, false},
    };
    for (const auto& c : cases) {
        Form form;
        form.texts[c.field] = c.text;
        std::string_view fields[kMyFoodFieldCount];
        form.Views(fields);
        FieldFailure failure = {-7, nullptr, false};
        int own = CheckEditFoodFields(fields, &failure);
        std::string what = "field " + std::to_string(c.field) + " \"" + c.text + '"';
        if (c.failedField >= 0 && !c.atSave) {
            ASSERT_EQ(own, 0) << what;
        } else {
            ASSERT_EQ(own, 1) << what;
            int save = CheckEditFoodSaveFields(fields, &failure);
            ASSERT_EQ(save, c.failedField < 0 ? 1 : 0) << what;
            if (c.failedField < 0) continue;
        }
        EXPECT_EQ(failure.field, c.failedField) << what;
        EXPECT_STREQ(failure.message, c.message) << what;
        EXPECT_EQ(failure.warning, c.warning) << what;
    }
}

TEST(IsListedMyFood, OnlyTheLineTheListItemWasMadeFrom) {
    const std::string file = "Toast^1\r\nEgg^2\r\n\r\nToast^3\r\nTea^4";
    struct Case {
        size_t offset;
        const char* text;
        bool listed;
    } const cases[] = {
        {0, "Toast", true},   {9, "Egg", true},    {18, "Toast", true}, {27, "Tea", true},
        {0, "Egg", false},    {9, "Toast", false}, {18, "Egg", false},
        {16, "", false},      // a blank line is no food
        {16, "Toast", false},  // nor is the food after it
        {1, "oast", false},   // inside a line
        {32, "Tea", false},   // past the end
        {1000, "Tea", false}, {0, "Toas", false},  {0, "Toast^1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsListedMyFood(file, c.offset, c.text), c.listed) << c.offset << " " << c.text;
    EXPECT_FALSE(IsListedMyFood("", 0, ""));
    EXPECT_EQ(LineBytesAt(file, 9), "Egg^2\r\n");
    EXPECT_EQ(LineBytesAt(file, 27), "Tea^4");
    EXPECT_EQ(LineBytesAt(file, 10), "");
}

TEST(MoveLineToEnd, TheFoodLeavesItsPlaceAndComesLast) {
    const std::string newLine = "Egg^9\r\n";
    struct Case {
        std::string data;
        size_t offset;
        const char* result;  // nullptr: refused
    } const cases[] = {
        {"A^1\r\nEgg^2\r\nB^3\r\n", 5, "A^1\r\nB^3\r\nEgg^9\r\n"},
        {"Egg^2\r\nA^1\r\n", 0, "A^1\r\nEgg^9\r\n"},
        {"A^1\r\nEgg^2\r\n", 5, "A^1\r\nEgg^9\r\n"},
        {"Egg^2\r\n", 0, "Egg^9\r\n"},
        {"A^1\r\nEgg^2", 5, "A^1\r\nEgg^9\r\n"},        // the edited last line had no line end
        {"Egg^2\r\nA^1", 0, "A^1\r\nEgg^9\r\n"},        // the new last line gets one first
        {"A^1\r\nEgg^2\r\n", 6, nullptr},                 // not a line start
        {"A^1\r\n", 5, nullptr},                           // past the end
    };
    for (const Case& c : cases) {
        std::string contents(c.data.size() + newLine.size() + 2, '#');
        size_t length = 12345;
        int ok = MoveLineToEnd(c.data, c.offset, newLine, &contents[0], contents.size(), &length);
        if (!c.result) {
            EXPECT_EQ(ok, 0) << c.data;
            EXPECT_EQ(length, 12345u);
            continue;
        }
        ASSERT_EQ(ok, 1) << c.data;
        EXPECT_EQ(contents.substr(0, length), c.result) << c.data;
    }
    std::string tooSmall(10, '#');
    size_t length = 0;
    EXPECT_EQ(MoveLineToEnd("A^1\r\nEgg^2\r\n", 5, newLine, &tooSmall[0], tooSmall.size(), &length), 0);
    EXPECT_EQ(tooSmall, std::string(10, '#'));
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
