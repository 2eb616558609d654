// File > Summary of Days with seven logs chosen in the real Open dialog: each day's cells are the TOTAL row
// that opening its document shows, the AVERAGE is the mean of the six readable days, the damaged one is
// counted apart, and Save as CSV writes what platelog-csv --summary writes.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "foodlog/nutrients.h"
#include "logdoc/log_document.h"
#include "platform/numeric.h"
#include "printing/summary_window_win.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "tests/logdoc/document_samples.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"
#include "tests/tools/csv_tool_win.h"

namespace {

constexpr int kNutrientColumns = 26;

// A food whose 31 nutrients all differ, from either database and in any measure.
LogEntry Food(int seed) {
    LogEntry entry = samples::Food(("FOOD " + std::to_string(seed)).c_str(), 0.5f + seed % 4, seed % 3,
                                   seed % 2 ? kSourceUsda : kSourceMyFoods);
    for (int slot = 0; slot < kNutrientCount; ++slot)
        entry.values[slot] =
            (seed * 7919 + slot * 104729) % (KindOfSlot(slot) == SlotKind::kMilliUnit ? 90000 : 400);
    entry.servingWeight1 = 1.0f;
    entry.servingCount1 = 1.0f;
    entry.servingWeight2 = 2.0f;
    entry.servingCount2 = 1.0f;
    return entry;
}

std::string Document(int firstSeed, int count) {
    std::vector<LogEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(Food(firstSeed + i));
    return samples::Encode(entries.data(), count);
}

std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Cell(HWND list, int row, int column) {
    char text[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// A nutrient cell's number in its slot's integer units.
int64_t Units(const std::string& cell) {
    std::string digits;
    for (char c : cell)
        if (c != '.') digits.push_back(c);
    return std::stoll(digits);
}

// The slot of each nutrient column, in the order the log shows them.
std::vector<int> ShownSlots() {
    std::vector<int> slots;
    for (int position = kFirstNutrientPosition; position < kFieldPositions; ++position)
        if (IsPositionShown(position)) slots.push_back(position - kFirstNutrientPosition);
    return slots;
}

void TypeFileName(HWND dialog, const char* text) {
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    ASSERT_NE(name, nullptr);
    SetWindowTextA(name, text);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

// Once the dialog shows the folder: the names of the chosen logs.
std::string g_typedNames;
void CALLBACK TypeNames(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    TypeFileName(dialog, g_typedNames.c_str());
}

class SummaryOfDays : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder_ = WindowsPath(TempPath("summary-of-days"));
        CreateDirectoryA(folder_.c_str(), nullptr);
        // Written out of order; the window orders them by name. Day 3 is a saved empty log.
        const struct {
            const char* name;
            std::string bytes;
        } days[] = {
            {"2026-12-05.mtf", Document(50, 4)}, {"2026-12-01.mtf", Document(1, 50)},
            {"2026-12-03.mtf", Document(0, 0)},  {"2026-12-02.mtf", Document(60, 3)},
            {"2026-12-06.mtf", Document(70, 6)}, {"2026-12-07.mtf", Document(80, 2)},
            {"2026-12-04.mtf", Document(90, 5)},
        };
        for (const auto& day : days) {
            std::string bytes = day.bytes;
            if (std::string(day.name) == "2026-12-04.mtf") bytes[40] ^= 1;  // damaged
            WriteFileBytes(folder_ + "\\" + day.name, bytes);
            names_.push_back(day.name);
            paths_.push_back(folder_ + "\\" + day.name);
        }
    }
    void TearDown() override {
        SetSummaryChoiceSize(0);
        MainWindowTest::TearDown();
        for (const std::string& path : paths_)
            DeleteFileA(path.c_str());
        DeleteFileA((folder_ + "\\window.csv").c_str());
        DeleteFileA((folder_ + "\\tool.csv").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    // The Open dialog, answered as a person types: the folder, then the quoted names.
    std::function<void(HWND)> ChooseAll() {
        g_typedNames.clear();
        for (const std::string& name : names_)
            g_typedNames += "\"" + name + "\" ";
        std::string folder = folder_;
        return [folder](HWND dialog) {
            TypeFileName(dialog, folder.c_str());
            SetTimer(dialog, 1, 100, TypeNames);
        };
    }
    // The TOTAL row's nutrient cells that opening each readable day shows, in the view.
    std::vector<std::vector<std::string>> OpenedTotals(int viewCommand) {
        MessageBoxRecorder boxes;
        SendMessageA(window_, WM_COMMAND, viewCommand, 0);
        std::vector<std::vector<std::string>> totals;
        for (int day = 1; day <= 7; ++day) {
            std::string name = "2026-12-0" + std::to_string(day) + ".mtf";
            if (day == 4) continue;  // damaged
            std::vector<std::string> cells;
            if (day == 3) {
                cells.assign(kNutrientColumns, "");  // opening an empty log shows no TOTAL row
            } else {
                OpenCommandLineDocument(window_, (folder_ + "\\" + name).c_str());
                for (int column = 3; column < 3 + kNutrientColumns; ++column)
                    cells.push_back(LogCell(EntryCount(), column));
            }
            totals.push_back(cells);
        }
        EXPECT_TRUE(boxes.Shown().empty());
        return totals;
    }

    std::string folder_;
    std::vector<std::string> names_, paths_;
};

// What one view of the window shows, checked against the opened documents and the rule of the mean.
void CheckView(HWND dialog, const std::vector<std::vector<std::string>>& opened) {
    HWND list = GetDlgItem(dialog, IDC_SUMMARY_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 8);
    const char* entries[] = {"50", "3", "0", "could not be read", "4", "6", "2"};
    const std::vector<int> slots = ShownSlots();
    ASSERT_EQ(static_cast<int>(slots.size()), kNutrientColumns);
    std::vector<int64_t> sums(kNutrientColumns, 0);
    size_t readable = 0;
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(Cell(list, row, 0), "2026-12-0" + std::to_string(row + 1) + ".mtf");
        EXPECT_EQ(Cell(list, row, 1), entries[row]);
        for (int column = 0; column < kNutrientColumns; ++column) {
            std::string cell = Cell(list, row, 2 + column);
            if (row == 3) {
                EXPECT_EQ(cell, "") << column;
                continue;
            }
            const std::string& total = opened[readable][column];
            if (total.empty()) {
                EXPECT_EQ(Units(cell), 0) << "empty day, column " << column;
            } else {
                EXPECT_EQ(cell, total) << "row " << row << ", column " << column;
            }
            sums[column] += Units(cell);
        }
        if (row != 3) ++readable;
    }
    ASSERT_EQ(readable, 6u);
    EXPECT_EQ(Cell(list, 7, 0), "AVERAGE");
    EXPECT_EQ(Cell(list, 7, 1), "10.8");  // 65 entries over 6 days
    for (int column = 0; column < kNutrientColumns; ++column) {
        double mean = static_cast<double>(sums[column]) / 6;
        char expected[kCellTextSize];
        FormatNutrient(RoundByFirstDecimal(mean, ToFloat(mean)), slots[column], expected, sizeof expected);
        EXPECT_EQ(Cell(list, 7, 2 + column), expected) << "column " << column;
    }
}

struct WindowRun {
    const std::vector<std::vector<std::string>>* opened[2];
    std::string csvPath;
    bool done = false;
};
WindowRun* g_run;

// Inside the window's own message loop: both views, then Save as CSV in the amounts view, then Close.
void CALLBACK CheckWindow(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    EXPECT_EQ(TextOf(dialog), "Summary of 6 days (1 could not be read)");
    for (int view : {kPercentView, kAmountsView}) {
        int button = view == kPercentView ? IDC_SUMMARY_PERCENT : IDC_SUMMARY_AMOUNTS;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, button), BST_CHECKED);
        CheckView(dialog, *g_run->opened[view]);
    }
    SendMessageA(dialog, WM_COMMAND, IDC_SUMMARY_SAVE_CSV, 0);  // over one of the logs: refused
    SendMessageA(dialog, WM_COMMAND, IDC_SUMMARY_SAVE_CSV, 0);
    g_run->done = true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(SummaryOfDays, EachDayIsItsOpenedTotalRowTheAverageTheMeanAndTheCsvThatOfTheTool) {
    std::vector<std::vector<std::string>> opened[2] = {OpenedTotals(IDM_VIEW_AMOUNTS),
                                                       OpenedTotals(IDM_VIEW_PERCENT)};
    WindowRun run = {{&opened[0], &opened[1]}, folder_ + "\\window.csv"};
    DeleteFileA(run.csvPath.c_str());
    g_run = &run;
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs(60000);
    auto saveAs = [](const std::string& path) {
        return [path](HWND dialog) { TypeFileName(dialog, path.c_str()); };
    };
    dialogs.Queue(ChooseAll());
    dialogs.Queue([](HWND dialog) { SetTimer(dialog, 1, 0, CheckWindow); });
    dialogs.Queue(saveAs(paths_[1]));
    dialogs.Queue([](HWND prompt) { PostMessageA(prompt, WM_COMMAND, IDYES, 0); });  // replace it? yes
    dialogs.Queue(saveAs(run.csvPath));
    std::string before = ReadFileBytes(paths_[1]);
    SendMessageA(window_, WM_COMMAND, IDM_FILE_SUMMARY, 0);
    g_run = nullptr;
    EXPECT_TRUE(run.done);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, paths_[1] +
                                         " is one of the logs of the summary. Save the CSV file under "
                                         "another name.");
    EXPECT_EQ(ReadFileBytes(paths_[1]), before);

    std::string arguments = "--summary --amounts";
    for (const std::string& path : paths_)
        arguments += " " + path;
    std::string toolCsv = folder_ + "\\tool.csv";
    ASSERT_EQ(RunCsvTool(arguments + " " + toolCsv), 0u);
    std::string written = ReadFileBytes(run.csvPath);
    EXPECT_EQ(written.substr(0, 18), "Log,Entries,Calori");
    EXPECT_EQ(written, ReadFileBytes(toolCsv));
}

TEST_F(SummaryOfDays, NamesThatDoNotFitTheBufferAreRefusedWholeAndSaidSo) {
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs;
    // Room for the folder and a name or two, not seven. Windows answers FNERR_BUFFERTOOSMALL; Wine hands
    // back the list cut at the buffer's end. Either way: one message, and no summary of some of the days.
    SetSummaryChoiceSize(64);
    dialogs.Queue(ChooseAll());
    SendMessageA(window_, WM_COMMAND, IDM_FILE_SUMMARY, 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, kNamesDoNotFitMessage);
    EXPECT_EQ(boxes.Shown()[0].caption, "Summary of Days");
}

}  // namespace
