// File > Save Log as My Food and File > Insert Log, through the real commands and dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "fooddb/food_files.h"
#include "foodlog/food_line.h"
#include "foodlog/log_cells.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "foodlog/nutrients.h"
#include "foodlog/recipe_line.h"
#include "foodlog/save_as_food_win.h"
#include "logdoc/log_document.h"
#include "logdoc/log_document_win.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"

namespace {

// The two USDA foods of the harness and two My Foods foods, with values in every kind
// of slot: amounts, whole and thousandth percentages.
const std::string& kUsda = kOatsAndMilk;
const std::string kMyFoods =
    "Apple^^52^0.3^0.2^14^2.4^^1^1^1^1^107^1^0^1^^^1^^1^2^1^1^2^1^0^8^0^0^0^0^1^Cup^^99^\r\n"
    "Walnut Bread^40^265^9.5^7.25^43.5^4.5^2^6^11^15^480^160^12^9^11^0.9^22^0^3^21^14^20^4^6^12^0^0^1.2^"
    "1.8^4.1^0^1^slice^^99^\r\n";

std::function<void(HWND)> SaveAsFood(const std::string& description, const std::string& servings) {
    return [description, servings](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_FOOD_DESCRIPTION, description.c_str());
        SetDlgItemTextA(dialog, IDC_FOOD_SERVINGS, servings.c_str());
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        // A refused form leaves the dialog open, so the test closes it.
        if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
}

std::vector<std::vector<std::string>> Rows() {
    std::vector<std::vector<std::string>> rows;
    int columns = CountLogColumns();
    for (int row = 0; row < LogRows(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < columns; ++column)
            rows.back().push_back(LogCell(row, column));
    }
    return rows;
}

LogEntry Food(const std::string& data, size_t offset, const char* quantity, int32_t measure, int32_t source) {
    LogEntry entry;
    EXPECT_EQ(ParseFoodLine(data, offset, quantity, static_cast<int>(std::strlen(quantity)), measure, source,
                            &entry),
              1);
    return entry;
}

// `count` entries of the foods above, each with its own quantity.
std::vector<LogEntry> Entries(int count, int seed) {
    std::vector<LogEntry> entries;
    for (int i = 0; i < count; ++i) {
        std::string quantity = std::to_string(seed + i) + ".5";
        entries.push_back(
            i % 2 ? Food(kUsda, 0, quantity.c_str(), kMeasureGrams, kSourceUsda)
                  : Food(kMyFoods, kMyFoods.find("Walnut"), quantity.c_str(), kMeasureFirst, kSourceMyFoods));
    }
    return entries;
}

class Recipes : public MainWindowTest {
protected:
    void SetUp() override { SetUpWith(kUsda, kMyFoods); }
    LRESULT Command(int id) { return SendMessageA(window_, WM_COMMAND, id, 0); }
    void Show(const std::vector<LogEntry>& entries) {
        ASSERT_EQ(ReplaceEntries(entries.data(), static_cast<int>(entries.size())), 1);
        RefreshLog();
    }
};

TEST_F(Recipes, ALogOfThreeFoodsBecomesOneFoodOfFourServings) {
    Show({Food(kUsda, 0, "1.5", kMeasureFirst, kSourceUsda),
          Food(kUsda, kUsda.find("~02~"), "3", kMeasureSecond, kSourceUsda),
          Food(kMyFoods, kMyFoods.find("Walnut"), "2", kMeasureFirst, kSourceMyFoods)});
    EntryNutrients totals[2];
    for (int view : {kAmountsView, kPercentView}) {
        SetViewMode(view);
        ComputeTotals();
        totals[view] = NutrientsAt(kTotalsRecord);
    }
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    dialogs.Queue(SaveAsFood("Oat Bake", "4"));
    Command(IDM_FILE_SAVE_AS_MY_FOOD);
    EXPECT_TRUE(boxes.Shown().empty());
    std::string file = ReadInstalledFile("mtmyfood");
    ASSERT_EQ(file.substr(0, kMyFoods.size()), kMyFoods);
    std::string line = file.substr(kMyFoods.size());
    ASSERT_EQ(line.find('\n'), line.size() - 1) << "exactly one line: " << line;

    // Each field from the amounts-view totals: a quarter, as a percentage where the line keeps one,
    // rounded half up to the field's precision.
    std::vector<std::string> expected = {"Oat Bake"};
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        double value = totals[kAmountsView].amounts[slot] / 4.0;
        if (HeldAsPercentInMyFoods(slot))
            value = value * kDailyValueTable[slot].constant / kDailyValueTable[slot].value;
        long rounded = static_cast<long>(std::floor(value + 0.5));
        char text[32];
        if (KindOfSlot(slot) == SlotKind::kWholeUnit) {
            std::snprintf(text, sizeof text, "%ld", rounded);
        } else {
            std::snprintf(text, sizeof text, "%ld.%03ld", rounded / 1000, rounded % 1000);
        }
        expected.push_back(text);
    }
    for (const char* field : {"1", "per serving", "", "99", ""})
        expected.push_back(field);
    std::vector<std::string> fields;
    for (size_t start = 0, caret;; start = caret + 1) {
        caret = line.find_first_of("^\r", start);
        fields.push_back(line.substr(start, caret - start));
        if (line[caret] == '\r') break;
    }
    EXPECT_EQ(fields, expected);

    // Listed in its sorted place, and logged as 1 serving it shows a quarter of the totals.
    HWND list = g_controls.myFoodsList;
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    char text[64] = {};
    SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Oat Bake");
    size_t offset = static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, 1, 0));
    Show({Food(file, offset, "1", kMeasureFirst, kSourceMyFoods)});
    for (int view : {kAmountsView, kPercentView}) {
        SetViewMode(view);
        ComputeTotals();
        for (int slot = 0; slot < kNutrientCount; ++slot) {
            const DailyValue& dv = kDailyValueTable[slot];
            // Amounts are exact; a whole percentage holds its amount to half a percent of the Daily
            // Value; the log's own percentages were rounded entry by entry before they were summed.
            double slack = 0.5;
            if (view == kPercentView && dv.value) slack = 1.0;
            if (view == kAmountsView && HeldAsPercentInMyFoods(slot))
                slack = KindOfSlot(slot) == SlotKind::kWholeUnit ? dv.value * 100.0 / dv.constant / 200 + 0.5
                                                                 : 1.0;
            EXPECT_LE(std::fabs(NutrientsAt(kTotalsRecord).amounts[slot] - totals[view].amounts[slot] / 4.0),
                      slack)
                << "slot " << slot << " view " << view;
        }
    }
}

TEST_F(Recipes, CancelAnEmptyLogABadDescriptionAndZeroServingsWriteNothing) {
    Show(Entries(2, 1));
    struct Case {
        const char* what;
        int entries;
        std::function<void(HWND)> answer;
        const char* message;  // nullptr: none
    };
    const Case cases[] = {
        {"cancel", 2, [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }, nullptr},
        {"65 characters", 2, SaveAsFood(std::string(65, 'd'), "4"),
         "Illegal Character or blank field: \"Description\""},
        {"zero servings", 2, SaveAsFood("Dish", "0"), kServingsMessage},
        {"empty log", 0, nullptr, kEmptyLogFoodMessage},
    };
    for (const Case& c : cases) {
        if (c.entries == 0) Show({});
        DialogAnswerer dialogs;
        MessageBoxRecorder boxes;
        if (c.answer) dialogs.Queue(c.answer);
        Command(IDM_FILE_SAVE_AS_MY_FOOD);
        EXPECT_EQ(dialogs.Answered(), c.answer ? 1 : 0) << c.what;
        EXPECT_EQ(ReadInstalledFile("mtmyfood"), kMyFoods) << c.what;
        ASSERT_EQ(boxes.Shown().size(), c.message ? 1u : 0u) << c.what;
        if (c.message) {
            EXPECT_EQ(boxes.Shown()[0].text.rfind(c.message, 0), 0u)
                << c.what << ": " << boxes.Shown()[0].text;
        }
    }
}

TEST_F(Recipes, InsertLogAppendsTheDocumentsRowsAndKeepsTheTitle) {
    std::vector<LogEntry> inserted = Entries(20, 100);
    std::string path = TempFile("insert-20.mtf");
    Show(inserted);
    ASSERT_EQ(SaveLogDocument(20, path.c_str()), 1);
    ASSERT_EQ(OpenLogDocument(path.c_str()), 1);
    std::vector<std::vector<std::string>> alone = Rows();
    Show(Entries(30, 1));
    ClearModified();
    std::vector<std::vector<std::string>> before = Rows();

    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    dialogs.Queue(ChooseFile(path));
    EXPECT_EQ(Command(IDM_FILE_INSERT_LOG), 1);
    EXPECT_TRUE(boxes.Shown().empty());
    // The 30 rows, then the document's 20 as it shows them alone, then TOTAL.
    before.pop_back();
    before.insert(before.end(), alone.begin(), alone.end() - 1);
    std::vector<std::vector<std::string>> after = Rows();
    ASSERT_EQ(after.size(), 51u);
    EXPECT_EQ(after[50][0], kTotalRowLabel);
    after.pop_back();
    EXPECT_EQ(after, before);
    EXPECT_EQ(IsModified(), 1);
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
    EXPECT_STREQ(DocumentPath(), "");

    // 31 + 20 is refused, and so is a damaged document; neither changes a thing.
    Show(Entries(31, 1));
    ClearModified();
    before = Rows();
    std::string damaged = TempFile("damaged.mtf");
    std::string bytes = ReadFileBytes(path);
    bytes[kLogDocumentChecksumOffset] ^= 1;
    WriteFileBytes(damaged, bytes);
    for (const std::string& chosen : {path, damaged}) {
        boxes.Clear();
        dialogs.Queue(ChooseFile(chosen));
        EXPECT_EQ(Command(IDM_FILE_INSERT_LOG), 0);
        EXPECT_EQ(Rows(), before) << chosen;
        EXPECT_EQ(IsModified(), 0);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        // The refusal says how many fit.
        EXPECT_NE(boxes.Shown()[0].text.find(chosen == path ? "only 19 more fit" : kOpenFailedMessage),
                  std::string::npos);
    }
    DeleteFileA(path.c_str());
    DeleteFileA(damaged.c_str());
}

}  // namespace
