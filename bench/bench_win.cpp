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

// Puts back what stood in a file of the program before the benchmark replaced it: nothing, if it had none.
void PutBack(const char* path, const FileImage& saved, bool had) {
    if (had) {
        ReplaceFileContents(path, saved.Data(), saved.Size());
    } else {
        DeleteFileA(path);
    }
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
    PutBack(kMyFoodsPath, saved, had);
    DestroyWindow(window);
    return ran ? 0 : 1;
}

// The SR28 table, converted, where the program reads it, and what stood there before.
struct InstalledTable {
    std::string converted;
    FileImage saved;
    bool had = false;
};

bool InstallTable(InstalledTable* table) {
    FileImage source;
    if (ReadWholeFile(kSr28Path, &source) != ReadResult::kOk) {
        std::fprintf(stderr, "bench: cannot read %s\n", kSr28Path);
        return false;
    }
    size_t badLine = 0;
    if (!ConvertUsdaTable(std::string_view(source.Data(), source.Size()), &table->converted, &badLine)) {
        std::fprintf(stderr, "bench: line %zu of the table is not a USDA line\n", badLine);
        return false;
    }
    CreateDirectoryA(kFolder, nullptr);
    table->had = ReadWholeFile(kUsdaPath, &table->saved) == ReadResult::kOk;
    if (!ReplaceFileContents(kUsdaPath, table->converted.data(), table->converted.size())) {
        std::fprintf(stderr, "bench: cannot write %s\n", kUsdaPath);
        return false;
    }
    return true;
}

// What the benchmarks in this process measured, in the order they run.
struct Results {
    std::vector<double> startTimes, loadTimes, searchTimes;
    long long usdaItems = 0;
    long long matches = 0;
    std::vector<double> addTimes, paintTimes;
    long long entries = 0;
    std::vector<double> readTimes, refreshTimes, switchTimes;
    std::vector<double> printTimes;
    long long printedColumns = 0;
    std::vector<double> summaryTimes;
    long long summaryRows = 0;
    // Add New Food, Edit Food Item, Delete; then Copy, Paste, Undo of the Paste, Undo of the Cut.
    std::vector<double> myFoodTimes[3];
    std::vector<double> editTimes[4], editPaints[4];
    std::vector<double> recipeTimes, insertTimes;
    long long recipeItems = 0;
    long long myFoodItems = 0;
    std::vector<double> replaceTimes, reloadTimes;
    bool findRan = false;
};

// Returns the main window of the last run, left open for the benchmarks that follow.
HWND TimeStartUps(HINSTANCE instance, Results* results) {
    HWND window = nullptr;
    for (int run = 0; run < kRuns; ++run) {
        if (window) DestroyWindow(window);
        Pump();
        Timer timer;
        window = CreateMainWindow(instance);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        FinishStartup();
        results->startTimes.push_back(timer.Elapsed());
    }
    results->usdaItems = SendMessageA(g_controls.usdaList, LB_GETCOUNT, 0, 0);
    return window;
}

void TimeLoadAndSearch(Results* results) {
    for (int run = 0; run < kRuns; ++run) {
        SendMessageA(g_controls.usdaList, LB_RESETCONTENT, 0, 0);
        Timer timer;
        LoadUsdaFoods(g_controls.usdaList);
        results->loadTimes.push_back(timer.Elapsed());
    }
    for (int run = 0; run < kRuns; ++run) {
        Timer timer;
        results->matches =
            SearchList(g_controls.usdaList, g_controls.resultsList, kSearchText, sizeof kSearchText - 1);
        results->searchTimes.push_back(timer.Elapsed());
    }
}

// Foods spread over the whole table, each added in grams until the log is full.
void TimeAddingFoods(HWND window, Results* results) {
    int count = static_cast<int>(results->usdaItems);
    for (int i = 0; i < 2 * kMaxLogEntries; ++i) {
        if (EntryCount() == kMaxLogEntries) SendMessageA(window, WM_COMMAND, IDM_FILE_NEW, 0);
        LPARAM offset = SendMessageA(g_controls.usdaList, LB_GETITEMDATA, (i * 7919) % count, 0);
        ClearModified();
        Timer timer;
        AddFoodToLog("150", 3, kMeasureGrams, kSourceUsda, offset);
        results->addTimes.push_back(timer.Elapsed());
        Timer paint;
        UpdateWindow(window);
        results->paintTimes.push_back(paint.Elapsed());
    }
    results->entries = EntryCount();
}

// A view switch of the full log, and the two parts of its time.
void TimeViewSwitch(HWND window, Results* results) {
    for (int run = 0; run < kRuns; ++run) {
        Timer timer;
        FileImage image;
        ReadWholeFile(kUsdaPath, &image);
        results->readTimes.push_back(timer.Elapsed());
        Timer refresh;
        RefreshLog();
        results->refreshTimes.push_back(refresh.Elapsed());
    }
    for (int run = 0; run < kRuns; ++run) {
        int command = run % 2 ? IDM_VIEW_PERCENT : IDM_VIEW_AMOUNTS;
        Timer timer;
        SendMessageA(window, WM_COMMAND, command, 0);
        results->switchTimes.push_back(timer.Elapsed());
    }
}

// Printing the full log with every column shown: a list view made with all 34.
void TimePrinting(HWND window, Results* results) {
    g_columnSet[0] = 0xFFFFFFFFu;
    g_columnSet[1] = 3u;
    RECT client = {};
    GetClientRect(window, &client);
    CreateLogListView(window, {400, 100, client.right, client.bottom - 50});
    RefreshLog();
    SetPrintSystem(&kMetafilePrinting);
    for (int run = 0; run < kRuns; ++run) {
        HDC metafile = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        Timer timer;
        PrintLogOn(window, "", {metafile, 1});
        results->printTimes.push_back(timer.Elapsed());
    }
    SetPrintSystem(nullptr);
    results->printedColumns = CountLogColumns();
}

// A Summary of Days of a year of full logs: reading, computing both views, filling and painting.
void TimeSummaryOfDays(HWND window, const std::string& converted, Results* results) {
    CreateDirectoryA(kYearFolder, nullptr);
    std::vector<std::string> year = WriteYearOfLogs(converted, kYearFolder, "");
    for (int run = 0; run < kRuns && !year.empty(); ++run) {
        SummaryRun summary;
        g_summaryRun = &summary;
        SetTimer(nullptr, 0, 0, SummaryShown);
        summary.timer = Timer();
        ShowDaySummaryOf(window, year);
        if (summary.milliseconds >= 0) results->summaryTimes.push_back(summary.milliseconds);
        results->summaryRows = summary.rows;
    }
    g_summaryRun = nullptr;
    for (const std::string& path : year)
        DeleteFileA(path.c_str());
    RemoveDirectoryA(kYearFolder);
}

// Save in Add New Food and in Edit Food Item, and a Delete, on foods spread over the list.
void TimeMyFoodChanges(HWND window, Results* results) {
    const char* captions[2] = {"Add New Food", "Edit Food Item"};
    for (int run = 0; run < kRuns; ++run) {
        for (int edit = 0; edit < 2; ++edit) {
            int items = static_cast<int>(SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0));
            SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, (run * 1117) % items, 0);
            g_foodDialogRun = {captions[edit], edit == 1, run, -1.0};
            SetTimer(nullptr, 0, 0, SaveFoodDialog);
            SendMessageA(window, WM_COMMAND, edit ? IDC_EDIT_BUTTON : IDC_ADD_BUTTON, 0);
            if (g_foodDialogRun.milliseconds >= 0)
                results->myFoodTimes[edit].push_back(g_foodDialogRun.milliseconds);
        }
        int items = static_cast<int>(SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0));
        SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, (run * 2203) % items, 0);
        Timer timer;
        DeleteMyFood();
        results->myFoodTimes[2].push_back(timer.Elapsed());
    }
}

// A full log of its own, of foods spread over the table.
void FillLogAcrossTable(const std::string& converted, int count) {
    ClearLog();
    for (int i = 0; EntryCount() < kMaxLogEntries && i < 2 * kMaxLogEntries; ++i) {
        LPARAM offset = SendMessageA(g_controls.usdaList, LB_GETITEMDATA, (i * 7919) % count, 0);
        AddFoodFromData(converted, static_cast<size_t>(offset), "150", 3, kMeasureGrams, kSourceUsda);
    }
    RefreshLog();
}

// One Edit menu command, from the command to the log's rows rebuilt, and the paint that follows;
// kept when `times` is given.
void TimeEditCommand(HWND window, int command, std::vector<double>* times, std::vector<double>* paints) {
    Timer timer;
    SendMessageA(window, WM_COMMAND, command, 0);
    double done = timer.Elapsed();
    UpdateWindow(LogListView());
    if (!times) return;
    times->push_back(done);
    paints->push_back(timer.Elapsed() - done);
}

// Copy of the whole log, Paste of its 50 entries into an empty log, and Undo of that paste and of
// the Cut that emptied it (all 50 put back).
void TimeEditCommands(HWND window, Results* results) {
    std::vector<double>* times = results->editTimes;
    std::vector<double>* paints = results->editPaints;
    for (int run = 0; run < kRuns && EntryCount() == kMaxLogEntries; ++run) {
        TimeEditCommand(window, IDM_EDIT_COPY, &times[0], &paints[0]);
        TimeEditCommand(window, IDM_EDIT_SELECT_ALL, nullptr, nullptr);
        TimeEditCommand(window, IDM_EDIT_CUT, nullptr, nullptr);
        bool pastedIntoEmpty = EntryCount() == 0;
        TimeEditCommand(window, IDM_EDIT_PASTE, pastedIntoEmpty ? &times[1] : nullptr,
                        pastedIntoEmpty ? &paints[1] : nullptr);
        TimeEditCommand(window, IDM_EDIT_UNDO, &times[2], &paints[2]);
        TimeEditCommand(window, IDM_EDIT_UNDO, &times[3], &paints[3]);
    }
}

// The full log kept as a My Food, then a 25-entry document inserted into a 25-entry log.
void TimeRecipeAndInsert(HWND window, Results* results) {
    // Without a full log the command would only show its message, which nobody here answers.
    for (int run = 0; run < kRuns && EntryCount() == kMaxLogEntries; ++run) {
        double time = TimeCommand(window, IDM_FILE_SAVE_AS_MY_FOOD, AnswerSaveLogAsFood);
        if (time >= 0) results->recipeTimes.push_back(time);
    }
    results->recipeItems = SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0);
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
        if (time >= 0 && EntryCount() == 50) results->insertTimes.push_back(time);
    }
    DeleteFileA(g_insertPath.c_str());
}

// Where the time of a change goes: the replace of the whole file and the reload of the list.
void TimeMyFoodsReplace(Results* results) {
    for (int run = 0; run < kRuns; ++run) {
        FileImage image;
        ReadWholeFile(kMyFoodsPath, &image);
        Timer replace;
        ReplaceFileContents(kMyFoodsPath, image.Data(), image.Size());
        results->replaceTimes.push_back(replace.Elapsed());
        Timer reload;
        ReloadMyFoods();
        results->reloadTimes.push_back(reload.Elapsed());
    }
}

// My Foods with 10,000 foods: the file goes where the program reads it, and back afterwards.
void TimeWithManyMyFoods(HWND window, const std::string& converted, Results* results) {
    FileImage savedMyFoods;
    bool hadMyFoods = ReadWholeFile(kMyFoodsPath, &savedMyFoods) == ReadResult::kOk;
    std::string myFoods = MyFoodsFile();
    ReplaceFileContents(kMyFoodsPath, myFoods.data(), myFoods.size());
    ReloadMyFoods();
    TimeMyFoodChanges(window, results);
    FillLogAcrossTable(converted, static_cast<int>(results->usdaItems));
    TimeEditCommands(window, results);
    TimeRecipeAndInsert(window, results);
    results->myFoodItems = SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0);
    TimeMyFoodsReplace(results);
    results->findRan = RunFindBenchmark(window);
    PutBack(kMyFoodsPath, savedMyFoods, hadMyFoods);
}

void RunWindowBenchmarks(const std::string& converted, Results* results) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMainWindowClass(instance);
    HWND window = TimeStartUps(instance, results);
    TimeLoadAndSearch(results);
    TimeAddingFoods(window, results);
    TimeViewSwitch(window, results);
    TimePrinting(window, results);
    TimeSummaryOfDays(window, converted, results);
    TimeWithManyMyFoods(window, converted, results);
    ClearModified();
    DestroyWindow(window);
}

// A benchmark that could not run says so on its line instead of its times.
bool ReportIfRan(const char* what, const std::vector<double>& times, long long count, const char* unit) {
    if (times.empty()) {
        std::printf("%-34s did not run\n", what);
        return false;
    }
    Report(what, times, count, unit);
    return true;
}

void ReportLogResults(const Results& r) {
    Report("start-up (window, both lists)", r.startTimes, r.usdaItems, "USDA foods");
    Report("LoadUsdaFoods (SR28)", r.loadTimes, r.usdaItems, "items");
    Report("search \"chicken\" (USDA)", r.searchTimes, r.matches, "matches");
    Report("add a food, OK to refreshed rows", r.addTimes, 2 * kMaxLogEntries, "foods added");
    Report("  then painting the window", r.paintTimes, 2 * kMaxLogEntries, "paints");
    Report("view switch of a full log", r.switchTimes, r.entries, "entries");
    Report("  reading the USDA file", r.readTimes, 1, "file");
    Report("  rebuilding the log's rows", r.refreshTimes, r.entries, "entries");
    Report("printing a full log to a metafile", r.printTimes, r.printedColumns, "columns");
    if (!r.findRan) std::printf("%-34s did not run\n", "Find Food: a keystroke");
    if (ReportIfRan("Summary of Days, 365 full logs", r.summaryTimes, r.summaryRows, "rows shown"))
        Report("  its chart of 365 days drawn", g_chartTimes, r.summaryRows - 1, "days");
}

void ReportMyFoodResults(const Results& r) {
    const char* myFoodNames[3] = {"Add New Food: Save, list reloaded", "Edit Food Item: Save, reloaded",
                                  "Delete a My Food, list reloaded"};
    for (int i = 0; i < 3; ++i)
        ReportIfRan(myFoodNames[i], r.myFoodTimes[i], r.myFoodItems, "My Foods listed at the end");
    if (r.recipeTimes.empty() || r.insertTimes.empty()) {
        std::printf("Save Log as My Food or Insert Log did not run\n");
    } else {
        Report("Save Log as My Food (50), reloaded", r.recipeTimes, r.recipeItems,
               "My Foods listed at the end");
        Report("Insert Log 25 + 25, rows rebuilt", r.insertTimes, 50, "entries after it");
    }
    const char* editNames[4] = {"Copy of a full log (limit 16 ms)", "Paste of 50 entries (limit 16 ms)",
                                "Undo of that Paste (limit 16 ms)", "Undo of a Cut of 50 (limit 16 ms)"};
    for (int i = 0; i < 4; ++i) {
        if (ReportIfRan(editNames[i], r.editTimes[i], kMaxLogEntries, "entries"))
            Report("  then painting the log", r.editPaints[i], 1, "paint");
    }
    Report("  replacing the My Foods file", r.replaceTimes, 1, "file");
    Report("  reloading the My Foods list", r.reloadTimes, r.myFoodItems, "items");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--start-steps") == 0) return PrintStartupSteps();
    // The table goes where the program reads it; whatever was there is put back afterwards.
    InstalledTable table;
    if (!InstallTable(&table)) return 1;
    // Wine starts its helper processes beside the first program of a session; let them settle.
    Sleep(2000);
    char benchExe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, benchExe, sizeof benchExe);
    bool findOnly = argc > 1 && std::strcmp(argv[1], "--find") == 0;
    bool startOnly = argc > 1 && std::strcmp(argv[1], "--start") == 0;
    bool noStart = argc > 1 && std::strcmp(argv[1], "--no-start") == 0;
    if (!findOnly && !noStart) RunStartupBenchmark(PLATELOG_EXE, PLATELOG_FLOOR_EXE, benchExe, kRuns);
    if (findOnly || startOnly) {
        int result = findOnly ? RunFindOnly() : 0;
        PutBack(kUsdaPath, table.saved, table.had);
        return result;
    }
    Results results;
    RunWindowBenchmarks(table.converted, &results);
    PutBack(kUsdaPath, table.saved, table.had);
    ReportLogResults(results);
    ReportMyFoodResults(results);
    return 0;
}
