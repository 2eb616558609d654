// File > Summary of Days with seven logs chosen in the real Open dialog: each day's cells are the TOTAL row
// that opening its document shows, the AVERAGE is the mean of the six readable days, the damaged one is
// counted apart, and Save as CSV writes what platelog-csv --summary writes.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foodlog/log_cells.h"
#include "foodlog/nutrients.h"
#include "platform/numeric.h"
#include "shell/summary_window_win.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "tests/logdoc/document_samples.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"
#include "tests/tools/csv_tool_win.h"

namespace {

constexpr int kNutrientColumns = 26;
constexpr int kDamagedDay = 4;
constexpr int kEmptyDay = 3;

// A log of foods whose 31 nutrients all differ, from either database and in every measure.
std::string Document(int firstSeed, int count) {
    std::vector<LogEntry> entries;
    for (int seed = firstSeed; seed < firstSeed + count; ++seed) {
        entries.push_back(samples::Food("FOOD", 0.5f + seed % 4, seed % 3, seed % 2));
        for (int slot = 0; slot < kNutrientCount; ++slot)
            entries.back().values[slot] = (seed * 7919 + slot * 104729) % 90000;
        entries.back().servingWeight1 = entries.back().servingCount1 = entries.back().servingCount2 = 1.0f;
        entries.back().servingWeight2 = 2.0f;
    }
    return samples::Encode(entries.data(), count);
}

void TypeFileName(HWND dialog, const std::string& text) {
    ChooseFile(text)(dialog);
}

// The Open dialog, as a person uses it: the folder first, then, once it shows, the quoted names.
std::string g_names;
std::string g_folder;
// The names are typed only once the dialog shows the folder: they are relative to it.
void CALLBACK TypeNames(HWND dialog, UINT, UINT_PTR id, DWORD) {
    char shown[MAX_PATH] = "";
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof shown, reinterpret_cast<LPARAM>(shown));
    if (lstrcmpiA(shown, g_folder.c_str()) != 0) return;  // the timer comes again
    KillTimer(dialog, id);
    TypeFileName(dialog, g_names);
}

// For each view mode, each day's expected cells: the TOTAL row opening it shows, none for the damaged day.
std::vector<std::vector<std::string>> g_expected[2];

// Inside the window's own loop: both views against the opened days and the mean, then Save as CSV twice.
void CALLBACK CheckWindow(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    EXPECT_EQ(TextOf(dialog), "Summary of 6 days (1 could not be read)");
    HWND list = GetDlgItem(dialog, IDC_SUMMARY_LIST);
    for (int view : {kAmountsView, kPercentView}) {
        int button = view == kPercentView ? IDC_SUMMARY_PERCENT : IDC_SUMMARY_AMOUNTS;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 8);
        const char* entries[] = {"50", "3", "0", "could not be read", "4", "6", "2"};
        int64_t sums[kNutrientCount] = {};
        for (int row = 0; row < 7; ++row) {
            EXPECT_EQ(ListCell(list, row, 0), "2026-12-0" + std::to_string(row + 1) + ".mtf");
            EXPECT_EQ(ListCell(list, row, 1), entries[row]);
            for (int column = 0; column < kNutrientColumns; ++column) {
                std::string cell = ListCell(list, row, 2 + column);
                EXPECT_EQ(cell, g_expected[view][row][column]) << "day " << row + 1 << ", column " << column;
                std::string digits;
                for (char c : cell)
                    if (c != '.') digits.push_back(c);
                sums[column] += digits.empty() ? 0 : std::stoll(digits);
            }
        }
        EXPECT_EQ(ListCell(list, 7, 0), "AVERAGE");
        EXPECT_EQ(ListCell(list, 7, 1), "10.8");  // 65 entries in 6 days
        for (int column = 0; column < kNutrientColumns; ++column) {
            // The mean of six days, rounded as the program's rule reads: the first decimal, 5 or more, up.
            long long whole = sums[column] / 6;
            long long tenths = sums[column] * 10 / 6 % 10;
            long long rounded = tenths >= 5 ? whole + 1 : whole;
            char text[kCellTextSize];
            if (g_expected[view][0][column].find('.') != std::string::npos) {
                std::snprintf(text, sizeof text, "%lld.%03lld", rounded / 1000, rounded % 1000);
            } else {
                std::snprintf(text, sizeof text, "%lld", rounded);
            }
            EXPECT_EQ(ListCell(list, 7, 2 + column), text) << "column " << column;
        }
    }
    SendMessageA(dialog, WM_COMMAND, IDC_SUMMARY_SAVE_CSV, 0);  // over one of the logs: refused
    SendMessageA(dialog, WM_COMMAND, IDC_SUMMARY_SAVE_CSV, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

class SummaryOfDays : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder_ = TempPath("summary-of-days");
        for (char& c : folder_)
            if (c == '/') c = '\\';
        CreateDirectoryA(folder_.c_str(), nullptr);
        const std::string days[] = {Document(1, 50), Document(60, 3), Document(0, 0),  // a saved empty log
                                    Document(90, 5), Document(50, 4), Document(70, 6), Document(80, 2)};
        g_names.clear();
        for (int day = 7; day >= 1; --day) {  // written out of order
            std::string name = "2026-12-0" + std::to_string(day) + ".mtf";
            std::string bytes = days[day - 1];
            if (day == kDamagedDay) bytes[40] ^= 1;
            paths_.push_back(folder_ + "\\" + name);
            WriteFileBytes(paths_.back(), bytes);
            g_names += "\"" + name + "\" ";
        }
    }
    void TearDown() override {
        SetSummaryChoiceSize(0);
        MainWindowTest::TearDown();
        for (const char* file : {"window.csv", "tool.csv"})
            paths_.push_back(folder_ + "\\" + file);
        for (const std::string& path : paths_)
            DeleteFileA(path.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::function<void(HWND)> ChooseAll() {
        g_folder = folder_;
        return [](HWND dialog) {
            TypeFileName(dialog, g_folder);
            SetTimer(dialog, 1, 100, TypeNames);
        };
    }

    std::string folder_;
    std::vector<std::string> paths_;  // day 7 first
};

TEST_F(SummaryOfDays, EachDayIsItsOpenedTotalRowTheAverageTheMeanAndTheCsvThatOfTheTool) {
    for (int view : {kAmountsView, kPercentView}) {
        SendMessageA(window_, WM_COMMAND, view == kPercentView ? IDM_VIEW_PERCENT : IDM_VIEW_AMOUNTS, 0);
        g_expected[view].assign(7, std::vector<std::string>(kNutrientColumns));
        for (int day = 1; day <= 7; ++day) {
            if (day == kDamagedDay) continue;
            // An empty log does not open; what its TOTAL row would show is a zero in every column.
            if (day != kEmptyDay) OpenCommandLineDocument(window_, paths_[7 - day].c_str());
            for (int column = 0; column < kNutrientColumns; ++column) {
                bool milli = g_expected[view][0][column].find('.') != std::string::npos;
                g_expected[view][day - 1][column] =
                    day == kEmptyDay ? (milli ? "0.000" : "0") : LogCell(EntryCount(), 3 + column);
            }
        }
    }
    std::string csv = folder_ + "\\window.csv";
    auto saveAs = [](const std::string& path) {
        return [path](HWND dialog) { TypeFileName(dialog, path); };
    };
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs(60000);
    dialogs.Queue(ChooseAll());
    dialogs.Queue([](HWND dialog) { SetTimer(dialog, 1, 0, CheckWindow); });
    dialogs.Queue(saveAs(paths_[0]));
    dialogs.Queue([](HWND prompt) { PostMessageA(prompt, WM_COMMAND, IDYES, 0); });  // replace it? yes
    dialogs.Queue(saveAs(csv));
    std::string before = ReadFileBytes(paths_[0]);
    SendMessageA(window_, WM_COMMAND, IDM_FILE_SUMMARY, 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, paths_[0] +
                                         " is one of the logs of the summary. Save the CSV file under "
                                         "another name.");
    EXPECT_EQ(ReadFileBytes(paths_[0]), before);

    // The window saved in the percent view, as the tool writes by default.
    std::string arguments = "--summary";
    for (const std::string& path : paths_)
        arguments += " " + path;
    ASSERT_EQ(RunCsvTool(arguments + " " + folder_ + "\\tool.csv"), 0u);
    EXPECT_EQ(ReadFileBytes(csv).substr(0, 18), "Log,Entries,Calori");
    EXPECT_EQ(ReadFileBytes(csv), ReadFileBytes(folder_ + "\\tool.csv"));
}

// The chart as the window draws it, pixel by pixel.
std::vector<DWORD> ChartPixels(HWND dialog) {
    HWND chart = GetDlgItem(dialog, IDC_SUMMARY_CHART);
    RECT rect = {};
    GetClientRect(chart, &rect);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), rect.right, -rect.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item = {ODT_STATIC, IDC_SUMMARY_CHART, 0, ODA_DRAWENTIRE, 0, chart, dc, rect, 0};
    SendMessageA(dialog, WM_DRAWITEM, IDC_SUMMARY_CHART, reinterpret_cast<LPARAM>(&item));
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + rect.right * rect.bottom);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// A click on the header of the table's column, scrolled into sight, as the mouse gives it.
void ClickHeader(HWND dialog, int column) {
    HWND list = GetDlgItem(dialog, IDC_SUMMARY_LIST);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT rect = {};
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    SendMessageA(list, LVM_SCROLL, rect.left - GetScrollPos(list, SB_HORZ), 0);
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
}

void CALLBACK CheckChart(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    HWND nutrients = GetDlgItem(dialog, IDC_SUMMARY_NUTRIENT);
    EXPECT_EQ(TextOf(nutrients), "Calories");
    const std::vector<DWORD> calories = ChartPixels(dialog);
    // "S" in the list picks Sodium, the first nutrient of the table spelled so.
    SendMessageA(nutrients, WM_CHAR, 's', 0);
    EXPECT_EQ(TextOf(nutrients), "Sodium");
    const std::vector<DWORD> fromList = ChartPixels(dialog);
    EXPECT_NE(fromList, calories);
    ClickHeader(dialog, 2);  // Calories
    EXPECT_EQ(TextOf(nutrients), "Calories");
    EXPECT_EQ(ChartPixels(dialog), calories);
    ClickHeader(dialog, 10);  // Sodium: the ninth nutrient column, as the table has none for Water and Ash
    EXPECT_EQ(TextOf(nutrients), "Sodium");
    EXPECT_EQ(ChartPixels(dialog), fromList);
    // The other view draws Sodium in mg, on another scale.
    const int other = IsDlgButtonChecked(dialog, IDC_SUMMARY_PERCENT) ? IDC_SUMMARY_AMOUNTS : IDC_SUMMARY_PERCENT;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(other, BN_CLICKED), 0);
    EXPECT_NE(ChartPixels(dialog), fromList);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(SummaryOfDays, TheHeaderAndTheListPickTheSameChartAndTheViewRescalesIt) {
    DialogAnswerer dialogs(60000);
    dialogs.Queue(ChooseAll());
    dialogs.Queue([](HWND dialog) { SetTimer(dialog, 1, 0, CheckChart); });
    SendMessageA(window_, WM_COMMAND, IDM_FILE_SUMMARY, 0);
}

TEST_F(SummaryOfDays, NamesThatDoNotFitTheBufferAreRefusedWholeAndSaidSo) {
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs;
    // Room for the folder and a name, not seven. Windows answers FNERR_BUFFERTOOSMALL; Wine hands
    // back the list cut at the buffer's end. Either way: one message, and no summary of some of the days.
    SetSummaryChoiceSize(folder_.size() + 20);
    dialogs.Queue(ChooseAll());
    SendMessageA(window_, WM_COMMAND, IDM_FILE_SUMMARY, 0);
    ASSERT_TRUE(OneMessage(boxes, kNamesDoNotFitMessage));
}

}  // namespace
