// Times what the user waits for, with the whole SR28 table in the installation folder: the start-up
// (main window with both lists filled), filling the USDA list, a search for "chicken", adding a food
// from OK to refreshed rows (and the paint that follows), a view switch of a full log, and printing
// that log with all 34 columns into a metafile. Real windows, under Wine.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "foodlog/add_food_win.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_columns_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "platform/file_io.h"
#include "printing/print_job_win.h"
#include "resources/resource.h"
#include "shell/food_browser_win.h"
#include "shell/main_window_win.h"
#include "tools/usda_import.h"

namespace {

constexpr char kSr28Path[] = PLATELOG_SR28_TABLE;
constexpr char kFolder[] = "C:\\Program Files\\Meal-Tally";
constexpr char kSearchText[] = "chicken";
constexpr int kRuns = 9;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

struct Timer {
    LARGE_INTEGER start;
    Timer() { QueryPerformanceCounter(&start); }
    double Elapsed() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return Milliseconds(start, now);
    }
};

void Report(const char* what, std::vector<double> times, long long count, const char* unit) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.2f ms  (min %7.2f, max %7.2f, %d runs)  %lld %s\n", what,
                times[times.size() / 2], times.front(), times.back(), static_cast<int>(times.size()), count,
                unit);
}

// A print job on a metafile context: every call the spooler would take succeeds, nothing is spooled.
int WINAPI AcceptDoc(HDC, const DOCINFOA*) {
    return 1;
}
int WINAPI AcceptPage(HDC) {
    return 1;
}
int WINAPI CloseMetafile(HDC dc) {
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    return 1;
}
const PrintSystem kMetafilePrinting = {nullptr, AcceptDoc, AcceptPage, AcceptPage, CloseMetafile, AcceptPage};

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

}  // namespace

int main() {
    FileImage source;
    if (ReadWholeFile(kSr28Path, &source) != ReadResult::kOk) {
        std::fprintf(stderr, "bench: cannot read %s\n", kSr28Path);
        return 1;
    }
    std::string converted;
    size_t badLine = 0;
    if (!ConvertUsdaTable(std::string_view(source.Data(), source.Size()), &converted, &badLine)) {
        std::fprintf(stderr, "bench: line %zu of the table is not a USDA line\n", badLine);
        return 1;
    }
    // The table goes where the program reads it; whatever was there is put back afterwards.
    CreateDirectoryA(kFolder, nullptr);
    FileImage saved;
    bool hadTable = ReadWholeFile(kUsdaPath, &saved) == ReadResult::kOk;
    if (!ReplaceFileContents(kUsdaPath, converted.data(), converted.size())) {
        std::fprintf(stderr, "bench: cannot write %s\n", kUsdaPath);
        return 1;
    }
    // Wine starts its helper processes beside the first program of a session; let them settle.
    Sleep(2000);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMainWindowClass(instance);
    std::vector<double> startTimes;
    HWND window = nullptr;
    for (int run = 0; run < kRuns; ++run) {
        if (window) DestroyWindow(window);
        Pump();
        Timer timer;
        window = CreateMainWindow(instance);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        startTimes.push_back(timer.Elapsed());
    }
    long long usdaItems = SendMessageA(g_controls.usdaList, LB_GETCOUNT, 0, 0);

    std::vector<double> loadTimes;
    for (int run = 0; run < kRuns; ++run) {
        SendMessageA(g_controls.usdaList, LB_RESETCONTENT, 0, 0);
        Timer timer;
        LoadUsdaFoods(g_controls.usdaList);
        loadTimes.push_back(timer.Elapsed());
    }

    std::vector<double> searchTimes;
    long long matches = 0;
    for (int run = 0; run < kRuns; ++run) {
        Timer timer;
        matches =
            SearchList(g_controls.usdaList, g_controls.resultsList, kSearchText, sizeof kSearchText - 1);
        searchTimes.push_back(timer.Elapsed());
    }

    // Foods spread over the whole table, each added in grams until the log is full.
    std::vector<double> addTimes, paintTimes;
    int count = static_cast<int>(usdaItems);
    for (int i = 0; i < 2 * kMaxLogEntries; ++i) {
        if (EntryCount() == kMaxLogEntries) SendMessageA(window, WM_COMMAND, IDM_FILE_NEW, 0);
        LPARAM offset = SendMessageA(g_controls.usdaList, LB_GETITEMDATA, (i * 7919) % count, 0);
        ClearModified();
        Timer timer;
        AddFoodToLog("150", 3, kMeasureGrams, kSourceUsda, offset);
        addTimes.push_back(timer.Elapsed());
        Timer paint;
        UpdateWindow(window);
        paintTimes.push_back(paint.Elapsed());
    }
    long long entries = EntryCount();

    std::vector<double> readTimes, refreshTimes;
    for (int run = 0; run < kRuns; ++run) {
        Timer timer;
        FileImage image;
        ReadWholeFile(kUsdaPath, &image);
        readTimes.push_back(timer.Elapsed());
        Timer refresh;
        RefreshLog();
        refreshTimes.push_back(refresh.Elapsed());
    }

    std::vector<double> switchTimes;
    for (int run = 0; run < kRuns; ++run) {
        int command = run % 2 ? IDM_VIEW_PERCENT : IDM_VIEW_AMOUNTS;
        Timer timer;
        SendMessageA(window, WM_COMMAND, command, 0);
        switchTimes.push_back(timer.Elapsed());
    }
    // Printing the full log with every column shown: a list view made with all 34.
    g_columnSet[0] = 0xFFFFFFFFu;
    g_columnSet[1] = 3u;
    CreateLogListView(window);
    RefreshLog();
    SetPrintSystem(&kMetafilePrinting);
    std::vector<double> printTimes;
    for (int run = 0; run < kRuns; ++run) {
        HDC metafile = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        Timer timer;
        PrintLogOn(window, "", {metafile, 1, 0});
        printTimes.push_back(timer.Elapsed());
    }
    SetPrintSystem(nullptr);
    long long printedColumns = CountLogColumns();

    ClearModified();
    DestroyWindow(window);

    if (hadTable) {
        ReplaceFileContents(kUsdaPath, saved.Data(), saved.Size());
    } else {
        DeleteFileA(kUsdaPath);
    }
    Report("start-up (window, both lists)", startTimes, usdaItems, "USDA foods");
    Report("LoadUsdaFoods (SR28)", loadTimes, usdaItems, "items");
    Report("search \"chicken\" (USDA)", searchTimes, matches, "matches");
    Report("add a food, OK to refreshed rows", addTimes, 2 * kMaxLogEntries, "foods added");
    Report("  then painting the window", paintTimes, 2 * kMaxLogEntries, "paints");
    Report("view switch of a full log", switchTimes, entries, "entries");
    Report("  reading the USDA file", readTimes, 1, "file");
    Report("  rebuilding the log's rows", refreshTimes, entries, "entries");
    Report("printing a full log to a metafile", printTimes, printedColumns, "columns");
    return 0;
}
