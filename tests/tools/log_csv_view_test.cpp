// platelog-csv against the running program: for a document the program saved and opened, the
// tool's headers and cells are the log list view's, in both views.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "foodlog/add_food_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "logdoc/log_document.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"
#include "tests/tools/csv_rows.h"
#include "tests/tools/csv_tool_win.h"

namespace {

// A USDA line whose 31 nutrients all differ, so a column out of place shows.
std::string UsdaLine(const char* name, int seed) {
    std::string line = std::string("~9000") + std::to_string(seed) + "~^~" + name + "~";
    for (int slot = 0; slot < 31; ++slot)
        line +=
            "^" + std::to_string(seed * 7 + slot * 13 + 1) + "." + std::to_string((slot + seed) % 10) + "7";
    return line + "^227^~1 cup~^15^~1 tbsp, \"heaped\"~^0\r\n";
}

std::string MyFoodLine(const char* name) {
    std::string line = std::string(name) + "^12^180^7.5";
    for (int slot = 3; slot < 31; ++slot)
        line += "^" + std::to_string(slot * 3 % 40);
    return line + "^1^slice^2^5^\r\n";
}

// What the list view shows: the header texts (without the closing column) and every row's cells.
csv::Rows ListViewTable() {
    csv::Rows table;
    HWND header = reinterpret_cast<HWND>(SendMessageA(LogListView(), LVM_GETHEADER, 0, 0));
    int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) - 1;
    std::vector<std::string> headers;
    for (int column = 0; column < columns; ++column)
        headers.push_back(LogHeader(column));
    table.push_back(headers);
    for (int row = 0; row < LogRows(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column)
            cells.push_back(LogCell(row, column));
        table.push_back(cells);
    }
    return table;
}

class CsvAgainstTheLog : public MainWindowTest {
protected:
    void SetUp() override {
        usda_ = UsdaLine("APPLE PIE, \"DUTCH\"", 1) + UsdaLine("BROTH", 2) + UsdaLine("\"QUOTED\"", 3);
        myFoods_ = MyFoodLine("Mom's \"best\", stew");
        SetUpWith(usda_, myFoods_);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        std::remove(document_.c_str());
        std::remove(csv_.c_str());
    }
    LPARAM UsdaOffset(int line) {
        size_t at = 0;
        for (int i = 0; i < line; ++i)
            at = usda_.find('\n', at) + 1;
        return static_cast<LPARAM>(at);
    }

    std::string usda_, myFoods_;
    std::string document_ = TempPath("csv-view.mtf");
    std::string csv_ = TempPath("csv-view.csv");
};

TEST_F(CsvAgainstTheLog, EveryCellIsTheListViewsInBothViews) {
    // Foods in every measure, added as the Food Quantity dialog adds them, then saved and reopened.
    ASSERT_EQ(AddFoodToLog("2", 1, kMeasureFirst, kSourceUsda, UsdaOffset(0)), 1);
    ASSERT_EQ(AddFoodToLog("1.5", 3, kMeasureSecond, kSourceUsda, UsdaOffset(0)), 1);
    ASSERT_EQ(AddFoodToLog("250", 3, kMeasureGrams, kSourceUsda, UsdaOffset(1)), 1);
    ASSERT_EQ(AddFoodToLog("", 0, kMeasureNone, kSourceUsda, UsdaOffset(2)), 1);
    ASSERT_EQ(AddFoodToLog("3", 1, kMeasureFirst, kSourceMyFoods, 0), 1);
    ASSERT_EQ(AddFoodToLog("0.75", 4, kMeasureSecond, kSourceMyFoods, 0), 1);
    ASSERT_EQ(EntryCount(), 6);
    ASSERT_EQ(SaveLogDocument(EntryCount(), document_.c_str()), 1);
    MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDNO);  // should New ask about unsaved changes
    SendMessageA(window_, WM_COMMAND, IDM_FILE_NEW, 0);
    ASSERT_EQ(EntryCount(), 0);
    OpenCommandLineDocument(window_, document_.c_str());
    ASSERT_EQ(EntryCount(), 6);

    struct View {
        int command;
        const char* option;
        const char* calciumHeader;
    } const views[] = {
        {IDM_VIEW_AMOUNTS, "--amounts", "Calcium (mg)"},
        {IDM_VIEW_PERCENT, "--percent", "Calcium (%)"},
    };
    for (const View& view : views) {
        SendMessageA(window_, WM_COMMAND, view.command, 0);
        csv::Rows shown = ListViewTable();
        ASSERT_EQ(shown.size(), 8u);
        ASSERT_EQ(shown[0].size(), 29u);
        EXPECT_EQ(shown[0][8], view.calciumHeader);

        std::remove(csv_.c_str());
        ASSERT_EQ(RunCsvTool(std::string(view.option) + " " + document_ + " " + csv_), 0u) << view.option;
        bool ok = false;
        csv::Rows written = csv::Parse(ReadFileBytes(csv_), &ok);
        EXPECT_TRUE(ok) << view.option;
        EXPECT_EQ(written, shown) << view.option;

        // All 34 columns: leaving out Water, Ash, Manganese, Selenium and Vitamin E gives the list view.
        ASSERT_EQ(RunCsvTool(std::string("--all-columns ") + view.option + " " + document_ + " " + csv_), 0u);
        csv::Rows all = csv::Parse(ReadFileBytes(csv_), &ok);
        EXPECT_TRUE(ok);
        ASSERT_EQ(all.size(), shown.size());
        for (auto& row : all) {
            ASSERT_EQ(row.size(), 34u);
            for (int hidden : {21, 19, 18, 9, 3})
                row.erase(row.begin() + hidden);
        }
        EXPECT_EQ(all, shown) << view.option;
    }
}

}  // namespace
