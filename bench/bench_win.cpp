// Times what the user waits for, with the whole SR28 table in the installation folder: the start-up of
// platelog.exe against its floor and where its time goes, the start-up in this process (main window
// with both lists filled), filling the USDA list, a search for "chicken", adding a food
// from OK to refreshed rows (and the paint that follows), a view switch of a full log, printing
// that log with all 34 columns into a metafile, and a Summary of Days of a year of full logs until its
// window shows; and with a My Foods file of 10,000 foods, Save in Add New Food and Edit Food Item and a
// Delete, each until the list is filled again, and a full log saved as a My Food; Insert Log of a
// 25-entry document into a 25-entry log; Copy, Paste and Undo of a full log. Real windows, under Wine.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "foodlog/add_food_win.h"
#include "foodlog/food_line.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_columns_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "bench/find_bench_win.h"
#include "bench/startup_bench_win.h"
#include "bench/year_of_logs.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "printing/print_job_win.h"
#include "resources/resource.h"
#include "shell/find_food_win.h"
#include "shell/food_browser_win.h"
#include "shell/main_window_win.h"
#include "shell/summary_window_win.h"
#include "tools/usda_describe.h"
#include "tools/usda_import.h"

namespace {

constexpr char kSr28Path[] = PLATELOG_SR28_TABLE;
constexpr char kSr28DescriptionsPath[] = PLATELOG_SR28_DESCRIPTIONS;
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
constexpr int kMyFoodsCount = 10000;

// A realistic My Foods file: varied descriptions, label values, a serving measure each.
std::string MyFoodsFile() {
    const char* kinds[] = {"Bread", "Yogurt", "Cereal", "Soup", "Cookie", "Juice", "Cheese", "Pasta"};
    const char* measures[] = {"Cup", "slice", "Ounces", "per serving", "Tablespoon"};
    std::string file;
    char line[512];
    for (int i = 0; i < kMyFoodsCount; ++i) {
        std::snprintf(line, sizeof line,
                      "%s, brand %d, %s^^%d^%d.%d^%d^%d^%d^^%d^%d^%d^%d^%d^%d^%d^%d^^^%d^^%d^%d^%d^%d^%d^%d^%d^"
                      "%d^%d.5^%d^%d^%d^1^%s^^99^\r\n",
                      kinds[i % 8], (i * 7919) % 10007, i % 3 ? "plain" : "light", 50 + i % 400, i % 20, i % 10,
                      i % 15, i % 60, i % 9, i % 30, i % 20, i % 25, 10 + i % 700, 50 + i % 500, i % 15, i % 10,
                      i % 12, i % 40, i % 30, i % 25, i % 20, i % 10, i % 35, i % 45, i % 15, i % 100, i % 8, i % 5,
                      i % 4, i % 90, measures[i % 5]);
        file += line;
    }
    return file;
}

// Runs inside the food item dialog's own message loop: fills the form as a user would and times
// Save until the dialog has written the file and filled the list again.
struct FoodDialogRun {
    const char* caption;
    bool edit;
    int run;
    double milliseconds;
};
FoodDialogRun g_foodDialogRun;

void CALLBACK SaveFoodDialog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = FindWindowA("#32770", g_foodDialogRun.caption);
    if (!dialog) return;
    char text[64];
    std::snprintf(text, sizeof text, "%d", 100 + g_foodDialogRun.run);
    SetDlgItemTextA(dialog, IDC_FOOD_FIELD_FIRST + 2, text);
    if (!g_foodDialogRun.edit) {
        std::snprintf(text, sizeof text, "Granola bar, batch %d", g_foodDialogRun.run);
        SetDlgItemTextA(dialog, IDC_FOOD_FIELD_FIRST, text);
        SetDlgItemTextA(dialog, IDC_FOOD_FIELD_FIRST + kMyFoodServingAmountField, "1");
        SendMessageA(MeasurePicker(), CB_SETCURSEL, 7, 0);
    }
    Timer timer;
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    g_foodDialogRun.milliseconds = timer.Elapsed();
    // A dialog that refused the form is closed all the same, so the benchmark goes on.
    if (IsWindow(dialog)) EndDialog(dialog, 0);
}

// Save Log as My Food and Insert Log, answered inside their dialogs' own loops: the time runs from OK
// until the command has returned, the list filled again or the log's rows rebuilt.
LARGE_INTEGER g_commandStart;
std::string g_insertPath;

void CALLBACK AnswerSaveLogAsFood(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = FindWindowA("#32770", "Save Log as My Food");
    if (!dialog) return;
    SetDlgItemTextA(dialog, IDC_FOOD_DESCRIPTION, "Sunday stew");
    SetDlgItemTextA(dialog, IDC_FOOD_SERVINGS, "6");
    QueryPerformanceCounter(&g_commandStart);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    // Only a dialog that refused the form is still running to take this; the benchmark goes on.
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK AnswerInsertLog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = FindWindowA("#32770", "Insert Log");
    if (!dialog) return;
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    SetWindowTextA(name, g_insertPath.c_str());
    QueryPerformanceCounter(&g_commandStart);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

// Runs the command with its dialog answered by `answer`; the milliseconds from OK to its return, or
// -1 when the dialog never came.
double TimeCommand(HWND window, int command, TIMERPROC answer) {
    g_commandStart.QuadPart = 0;
    SetTimer(nullptr, 0, 0, answer);
    SendMessageA(window, WM_COMMAND, command, 0);
    if (g_commandStart.QuadPart == 0) return -1.0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return Milliseconds(g_commandStart, now);
}

constexpr char kYearFolder[] = "C:\\summary-bench";

// Stops the clock once the Summary of Days window stands painted, and closes it.
struct SummaryRun {
    Timer timer;
    double milliseconds = -1.0;
    long long rows = 0;
};
SummaryRun* g_summaryRun;
// The chart drawn again in both views, by the window's own drawing, into a bitmap of its size: under
// Wine's null display driver a window's paint may draw nothing.
std::vector<double> g_chartTimes;

void TimeChartDrawing(HWND dialog) {
    HWND chart = GetDlgItem(dialog, IDC_SUMMARY_CHART);
    RECT rect = {};
    GetClientRect(chart, &rect);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), rect.right, -rect.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    for (int button : {IDC_SUMMARY_AMOUNTS, IDC_SUMMARY_PERCENT}) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        DRAWITEMSTRUCT item = {ODT_STATIC, IDC_SUMMARY_CHART, 0, ODA_DRAWENTIRE, 0, chart, dc, rect, 0};
        Timer timer;
        SendMessageA(dialog, WM_DRAWITEM, IDC_SUMMARY_CHART, reinterpret_cast<LPARAM>(&item));
        GdiFlush();
        g_chartTimes.push_back(timer.Elapsed());
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void CALLBACK SummaryShown(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = GetActiveWindow();
    // A modal window shows itself once its loop first runs dry; this timer can come first.
    ShowWindow(dialog, SW_SHOWNORMAL);
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    g_summaryRun->milliseconds = g_summaryRun->timer.Elapsed();
    g_summaryRun->rows = SendDlgItemMessageA(dialog, IDC_SUMMARY_LIST, LVM_GETITEMCOUNT, 0, 0);
    TimeChartDrawing(dialog);
    EndDialog(dialog, IDOK);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// Find Food over all USDA foods with their long descriptions and the My Foods file as it stands.
bool RunFindBenchmark(HWND window) {
    FileImage source;
    std::string descriptions;
    UsdaLineFault fault;
    if (ReadWholeFile(kSr28DescriptionsPath, &source) != ReadResult::kOk ||
        !ConvertUsdaDescriptions(std::string_view(source.Data(), source.Size()), &descriptions, &fault) ||
        !ReplaceFileContents(kUsdaDescriptionsPath, descriptions.data(), descriptions.size()))
        return false;
    BenchFindFood(window);
    DeleteFileA(kUsdaDescriptionsPath);
    return true;
}

// Only Find Food, with 10,000 My Foods: the My Foods file is put back afterwards.
int RunFindOnly() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMainWindowClass(instance);
    HWND window = CreateMainWindow(instance);
    FileImage saved;
    bool had = ReadWholeFile(kMyFoodsPath, &saved) == ReadResult::kOk;
    std::string myFoods = MyFoodsFile();
    ReplaceFileContents(kMyFoodsPath, myFoods.data(), myFoods.size());
    bool ran = RunFindBenchmark(window);
    if (had) {
        ReplaceFileContents(kMyFoodsPath, saved.Data(), saved.Size());
    } else {
        DeleteFileA(kMyFoodsPath);
    }
    DestroyWindow(window);
    return ran ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--start-steps") == 0) return PrintStartupSteps();
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
    char benchExe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, benchExe, sizeof benchExe);
    bool findOnly = argc > 1 && std::strcmp(argv[1], "--find") == 0;
    bool startOnly = argc > 1 && std::strcmp(argv[1], "--start") == 0;
    if (!findOnly) RunStartupBenchmark(PLATELOG_EXE, PLATELOG_FLOOR_EXE, benchExe, kRuns);
    if (findOnly || startOnly) {
        int result = findOnly ? RunFindOnly() : 0;
        if (hadTable) {
            ReplaceFileContents(kUsdaPath, saved.Data(), saved.Size());
        } else {
            DeleteFileA(kUsdaPath);
        }
        return result;
    }

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
        FinishStartup();
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
        PrintLogOn(window, "", {metafile, 1});
        printTimes.push_back(timer.Elapsed());
    }
    SetPrintSystem(nullptr);
    long long printedColumns = CountLogColumns();

    // A Summary of Days of a year of full logs: reading, computing both views, filling and painting.
    CreateDirectoryA(kYearFolder, nullptr);
    std::vector<std::string> year = WriteYearOfLogs(converted, kYearFolder, "");
    std::vector<double> summaryTimes;
    long long summaryRows = 0;
    for (int run = 0; run < kRuns && !year.empty(); ++run) {
        SummaryRun summary;
        g_summaryRun = &summary;
        SetTimer(nullptr, 0, 0, SummaryShown);
        summary.timer = Timer();
        ShowDaySummaryOf(window, year);
        if (summary.milliseconds >= 0) summaryTimes.push_back(summary.milliseconds);
        summaryRows = summary.rows;
    }
    g_summaryRun = nullptr;
    for (const std::string& path : year)
        DeleteFileA(path.c_str());
    RemoveDirectoryA(kYearFolder);

    // My Foods with 10,000 foods: the file goes where the program reads it, and back afterwards.
    FileImage savedMyFoods;
    bool hadMyFoods = ReadWholeFile(kMyFoodsPath, &savedMyFoods) == ReadResult::kOk;
    std::string myFoods = MyFoodsFile();
    ReplaceFileContents(kMyFoodsPath, myFoods.data(), myFoods.size());
    ReloadMyFoods();
    std::vector<double> myFoodTimes[3];
    const char* captions[2] = {"Add New Food", "Edit Food Item"};
    for (int run = 0; run < kRuns; ++run) {
        for (int edit = 0; edit < 2; ++edit) {
            int items = static_cast<int>(SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0));
            SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, (run * 1117) % items, 0);
            g_foodDialogRun = {captions[edit], edit == 1, run, -1.0};
            SetTimer(nullptr, 0, 0, SaveFoodDialog);
            SendMessageA(window, WM_COMMAND, edit ? IDC_EDIT_BUTTON : IDC_ADD_BUTTON, 0);
            if (g_foodDialogRun.milliseconds >= 0) myFoodTimes[edit].push_back(g_foodDialogRun.milliseconds);
        }
        int items = static_cast<int>(SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0));
        SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, (run * 2203) % items, 0);
        Timer timer;
        DeleteMyFood();
        myFoodTimes[2].push_back(timer.Elapsed());
    }
    // A full log of its own, of foods spread over the table, kept as a My Food; then a 25-entry
    // document inserted into a 25-entry log.
    ClearLog();
    for (int i = 0; EntryCount() < kMaxLogEntries && i < 2 * kMaxLogEntries; ++i) {
        LPARAM offset = SendMessageA(g_controls.usdaList, LB_GETITEMDATA, (i * 7919) % count, 0);
        AddFoodFromData(converted, static_cast<size_t>(offset), "150", 3, kMeasureGrams, kSourceUsda);
    }
    RefreshLog();
    // Copy of the whole log, Paste of its 50 entries into an empty log, and Undo of that paste and of
    // the Cut that emptied it (all 50 put back), each from the command to the log's rows rebuilt, and
    // the paint that follows.
    std::vector<double> editTimes[4], editPaints[4];
    auto timeEdit = [&](int command, int kind) {
        Timer timer;
        SendMessageA(window, WM_COMMAND, command, 0);
        double done = timer.Elapsed();
        UpdateWindow(LogListView());
        if (kind < 0) return;
        editTimes[kind].push_back(done);
        editPaints[kind].push_back(timer.Elapsed() - done);
    };
    for (int run = 0; run < kRuns && EntryCount() == kMaxLogEntries; ++run) {
        timeEdit(IDM_EDIT_COPY, 0);
        timeEdit(IDM_EDIT_SELECT_ALL, -1);
        timeEdit(IDM_EDIT_CUT, -1);
        timeEdit(IDM_EDIT_PASTE, EntryCount() == 0 ? 1 : -1);
        timeEdit(IDM_EDIT_UNDO, 2);
        timeEdit(IDM_EDIT_UNDO, 3);
    }
    std::vector<double> recipeTimes, insertTimes;
    // Without a full log the command would only show its message, which nobody here answers.
    for (int run = 0; run < kRuns && EntryCount() == kMaxLogEntries; ++run) {
        double time = TimeCommand(window, IDM_FILE_SAVE_AS_MY_FOOD, AnswerSaveLogAsFood);
        if (time >= 0) recipeTimes.push_back(time);
    }
    long long recipeItems = SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0);
    char tempFolder[MAX_PATH] = "";
    GetTempPathA(sizeof tempFolder, tempFolder);
    g_insertPath = std::string(tempFolder) + "platelog-bench-insert.mtf";
    std::string document(kMaxLogDocumentSize, '\0');
    size_t documentSize = 0;
    EncodeLogDocument(LogEntries() + 25, 25, &document[0], document.size(), &documentSize);
    ReplaceFileContents(g_insertPath.c_str(), document.data(), documentSize);
    std::vector<LogEntry> firstHalf(LogEntries(), LogEntries() + 25);
    for (int run = 0; run < kRuns; ++run) {
        ReplaceEntries(firstHalf.data(), 25);
        RefreshLog();
        double time = TimeCommand(window, IDM_FILE_INSERT_LOG, AnswerInsertLog);
        if (time >= 0 && EntryCount() == 50) insertTimes.push_back(time);
    }
    DeleteFileA(g_insertPath.c_str());
    long long myFoodItems = SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0);
    // Where the time of a change goes: the replace of the whole file and the reload of the list.
    std::vector<double> replaceTimes, reloadTimes;
    for (int run = 0; run < kRuns; ++run) {
        FileImage image;
        ReadWholeFile(kMyFoodsPath, &image);
        Timer replace;
        ReplaceFileContents(kMyFoodsPath, image.Data(), image.Size());
        replaceTimes.push_back(replace.Elapsed());
        Timer reload;
        ReloadMyFoods();
        reloadTimes.push_back(reload.Elapsed());
    }
    bool findRan = RunFindBenchmark(window);
    if (hadMyFoods) {
        ReplaceFileContents(kMyFoodsPath, savedMyFoods.Data(), savedMyFoods.Size());
    } else {
        DeleteFileA(kMyFoodsPath);
    }

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
    if (!findRan) std::printf("%-34s did not run\n", "Find Food: a keystroke");
    if (summaryTimes.empty()) {
        std::printf("%-34s did not run\n", "Summary of Days, 365 full logs");
    } else {
        Report("Summary of Days, 365 full logs", summaryTimes, summaryRows, "rows shown");
        Report("  its chart of 365 days drawn", g_chartTimes, summaryRows - 1, "days");
    }
    const char* myFoodNames[3] = {"Add New Food: Save, list reloaded", "Edit Food Item: Save, reloaded",
                                  "Delete a My Food, list reloaded"};
    for (int i = 0; i < 3; ++i) {
        if (myFoodTimes[i].empty()) {
            std::printf("%-34s did not run\n", myFoodNames[i]);
            continue;
        }
        Report(myFoodNames[i], myFoodTimes[i], myFoodItems, "My Foods listed at the end");
    }
    if (recipeTimes.empty() || insertTimes.empty()) {
        std::printf("Save Log as My Food or Insert Log did not run\n");
    } else {
        Report("Save Log as My Food (50), reloaded", recipeTimes, recipeItems, "My Foods listed at the end");
        Report("Insert Log 25 + 25, rows rebuilt", insertTimes, 50, "entries after it");
    }
    const char* editNames[4] = {"Copy of a full log (limit 16 ms)", "Paste of 50 entries (limit 16 ms)",
                                "Undo of that Paste (limit 16 ms)", "Undo of a Cut of 50 (limit 16 ms)"};
    for (int i = 0; i < 4; ++i) {
        if (editTimes[i].empty()) {
            std::printf("%-34s did not run\n", editNames[i]);
            continue;
        }
        Report(editNames[i], editTimes[i], kMaxLogEntries, "entries");
        Report("  then painting the log", editPaints[i], 1, "paint");
    }
    Report("  replacing the My Foods file", replaceTimes, 1, "file");
    Report("  reloading the My Foods list", reloadTimes, myFoodItems, "items");
    return 0;
}
