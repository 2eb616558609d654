// Times filling the USDA list from the whole SR28 table and a search for "chicken" over it, the
// way the program does both: real sorted list boxes, the table in the installation folder.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "platform/file_io.h"
#include "shell/search.h"
#include "tools/usda_import.h"

namespace {

constexpr char kSr28Path[] = PLATELOG_SHARED_DIR "/data/usda-sr28/ABBREV.txt";
constexpr char kFolder[] = "C:\\Program Files\\Meal-Tally";
constexpr char kSearchText[] = "chicken";
constexpr int kRuns = 9;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> times, long long count, const char* unit) {
    std::sort(times.begin(), times.end());
    std::printf("%-28s median %7.2f ms  (min %7.2f, max %7.2f, %d runs)  %lld %s\n", what,
                times[times.size() / 2], times.front(), times.back(), static_cast<int>(times.size()), count,
                unit);
}

HWND CreateSortedList(HWND parent) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                           0, 0, 300, 500, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The search as the food browser runs it: the results list emptied, every item's text fetched and
// tested with the match rule, matches added to the sorted results list with their item data. With
// `quiet` the results list is not redrawn until the search is done.
int Search(HWND source, HWND results, const char* searchText, bool quiet) {
    if (quiet) SendMessageA(results, WM_SETREDRAW, FALSE, 0);
    while (SendMessageA(results, LB_DELETESTRING, 0, 0) != LB_ERR) {
    }
    std::string_view search(searchText);
    LRESULT count = SendMessageA(source, LB_GETCOUNT, 0, 0);
    int matches = 0;
    char text[260];
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length =
            SendMessageA(source, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        if (length < 0 || !MatchesSearch(std::string_view(text, static_cast<size_t>(length)), search))
            continue;
        LRESULT index = SendMessageA(results, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (index < 0) continue;
        LPARAM data = SendMessageA(source, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        SendMessageA(results, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
        ++matches;
    }
    if (quiet) {
        SendMessageA(results, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(results, nullptr, TRUE);
    }
    return matches;
}

}  // namespace

int main() {
    FileImage source;
    if (ReadWholeFile(kSr28Path, &source) != ReadResult::kOk) {
        std::fprintf(stderr, "bench_fooddb: cannot read %s\n", kSr28Path);
        return 1;
    }
    std::string converted;
    size_t badLine = 0;
    if (!ConvertUsdaTable(std::string_view(source.Data(), source.Size()), &converted, &badLine)) {
        std::fprintf(stderr, "bench_fooddb: line %zu of the table is not a USDA line\n", badLine);
        return 1;
    }
    // The table goes where the program reads it; whatever was there is put back afterwards.
    CreateDirectoryA(kFolder, nullptr);
    FileImage saved;
    bool hadTable = ReadWholeFile(kUsdaPath, &saved) == ReadResult::kOk;
    if (!ReplaceFileContents(kUsdaPath, converted.data(), converted.size())) {
        std::fprintf(stderr, "bench_fooddb: cannot write %s\n", kUsdaPath);
        return 1;
    }

    // Wine starts its helper processes beside the first program of a session; let them settle.
    Sleep(2000);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 640, 520, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND usdaList = CreateSortedList(window);
    HWND results = CreateSortedList(window);

    // The part of the load that is not the list box's: reading the file and listing its items.
    std::vector<double> parseTimes;
    long long parsed = 0;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        FileImage image;
        parsed = 0;
        if (ReadWholeFile(kUsdaPath, &image) == ReadResult::kOk) {
            size_t position = 0;
            FoodListItem item;
            std::string_view data(image.Data(), image.Size());
            while (NextFoodListItem(data, FoodFile::kUsda, &position, &item))
                ++parsed;
        }
        QueryPerformanceCounter(&end);
        parseTimes.push_back(Milliseconds(start, end));
    }

    std::vector<double> loadTimes;
    std::vector<double> searchTimes;
    long long items = 0;
    long long matches = 0;
    int ok = 1;
    for (int run = 0; run < kRuns && ok; ++run) {
        SendMessageA(usdaList, LB_RESETCONTENT, 0, 0);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        ok = LoadUsdaFoods(usdaList);
        QueryPerformanceCounter(&end);
        loadTimes.push_back(Milliseconds(start, end));
        items = SendMessageA(usdaList, LB_GETCOUNT, 0, 0);
    }
    std::vector<double> quietTimes;
    for (int run = 0; run < kRuns && ok; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        matches = Search(usdaList, results, kSearchText, false);
        QueryPerformanceCounter(&end);
        searchTimes.push_back(Milliseconds(start, end));
        QueryPerformanceCounter(&start);
        Search(usdaList, results, kSearchText, true);
        QueryPerformanceCounter(&end);
        quietTimes.push_back(Milliseconds(start, end));
    }
    DestroyWindow(window);

    if (hadTable) {
        ReplaceFileContents(kUsdaPath, saved.Data(), saved.Size());
    } else {
        DeleteFileA(kUsdaPath);
    }
    if (!ok) {
        std::fprintf(stderr, "bench_fooddb: LoadUsdaFoods failed\n");
        return 1;
    }
    Report("LoadUsdaFoods (SR28)", loadTimes, items, "items");
    Report("  its file reading, listing", parseTimes, parsed, "items");
    Report("search \"chicken\" (USDA)", searchTimes, matches, "matches");
    Report("  the same, results unpainted", quietTimes, matches, "matches");
    return 0;
}
