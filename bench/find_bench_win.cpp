#include "bench/find_bench_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "fooddb/food_finder.h"
#include "platform/file_io.h"
#include "resources/resource.h"
#include "shell/find_food_win.h"

namespace {

// What people look for, as they would type it.
constexpr const char* kQueries[] = {
    "chicken breast", "greek yogurt", "tomato", "peanut butter", "banana", "apple", "egg", "milk",
    "white rice", "brown rice", "bread", "cheddar cheese", "butter", "olive oil", "orange juice",
    "coffee", "tea", "sugar", "oatmeal", "broccoli", "carrot", "potato", "sweet potato", "salmon",
    "tuna", "ground beef", "bacon", "ham", "turkey", "pork chop", "spinach", "lettuce", "onion",
    "garlic", "avocado", "strawberries", "blueberries", "grapes", "almonds", "walnuts", "pasta",
    "spaghetti", "pizza", "hamburger", "french fries", "ketchup", "mayonnaise", "honey", "cereal",
    "corn", "beans", "black beans", "lentils", "tofu", "soy milk", "ice cream", "chocolate",
    "cookie", "popcorn", "hot dog", "shrimp", "cottage cheese", "sour cream", "mushrooms", "cucumber",
};

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string FileText(const char* path) {
    FileImage image;
    if (ReadWholeFile(path, &image) != ReadResult::kOk) return std::string();
    return std::string(image.Data(), image.Size());
}

uint64_t Mix(uint64_t digest, const std::string& text) {
    for (unsigned char c : text)
        digest = (digest ^ c) * 1099511628211ull;
    return (digest ^ 0xFF) * 1099511628211ull;
}

std::string RowText(HWND list, int row, int column) {
    char text[512] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Whether the list shows the finder's own results for the text, in its order; each row goes into
// the digest.
bool ListsFinderResults(HWND list, const std::string& typed, const FoodIndex* const* indexes, uint64_t* digest,
                        double* finderTime) {
    std::vector<FoundFood> expected;
    double start = Now();
    FindFoods(typed, indexes, 2, kMaxFoundFoods, &expected);
    *finderTime = Now() - start;
    size_t rows = static_cast<size_t>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    bool same = rows == expected.size();
    for (size_t row = 0; same && row < rows; ++row) {
        std::string text = RowText(list, static_cast<int>(row), 0);
        std::string database = expected[row].index == indexes[0] ? "My Foods" : "USDA";
        same = text == FoundFoodText(expected[row]) && RowText(list, static_cast<int>(row), 1) == database;
        *digest = Mix(Mix(*digest, text), database);
    }
    if (!same) std::printf("Find Food: the list of \"%s\" is not the finder's\n", typed.c_str());
    return same;
}

void PrintKeystrokes(const char* what, std::vector<double> times, size_t queries) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.2f ms  max %7.2f ms  (%zu keystrokes of %zu queries)\n", what,
                times[times.size() / 2], times.back(), times.size(), queries);
}

}  // namespace

bool BenchFindFood(HWND owner) {
    FoodIndex usda, myFoods;
    IndexUsdaFoods(FileText(kUsdaPath), FileText(kUsdaDescriptionsPath), &usda);
    IndexMyFoods(FileText(kMyFoodsPath), &myFoods);
    const FoodIndex* indexes[] = {&myFoods, &usda};
    ShowFindFood(owner);
    HWND find = FindFoodWindow();
    HWND text = GetDlgItem(find, IDC_FIND_TEXT);
    HWND list = GetDlgItem(find, IDC_FIND_LIST);
    std::vector<double> times, finderTimes;
    uint64_t digest = 14695981039346656037ull;
    bool same = true;
    // The queries are typed three times over, and each keystroke keeps its least time: a moment in
    // which the machine was busy elsewhere is not what is measured. The digest is of the first round.
    const size_t queries = sizeof kQueries / sizeof *kQueries;
    std::vector<std::vector<double>> least(queries), leastFinder(queries);
    for (int round = 0; round < 3; ++round) {
        for (size_t q = 0; q < queries; ++q) {
            SetWindowTextA(text, "");
            RedrawWindow(find, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            std::string typed;
            for (const char* c = kQueries[q]; *c; ++c) {
                typed.push_back(*c);
                double start = Now();
                SendMessageA(text, WM_CHAR, static_cast<unsigned char>(*c), 1);
                RedrawWindow(find, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                double took = Now() - start, finder = 0;
                uint64_t again = 0;
                same = ListsFinderResults(list, typed, indexes, round == 0 ? &digest : &again, &finder) && same;
                size_t key = typed.size() - 1;
                if (round == 0) {
                    least[q].push_back(took);
                    leastFinder[q].push_back(finder);
                }
                least[q][key] = std::min(least[q][key], took);
                leastFinder[q][key] = std::min(leastFinder[q][key], finder);
            }
        }
    }
    for (size_t q = 0; q < queries; ++q) {
        times.insert(times.end(), least[q].begin(), least[q].end());
        finderTimes.insert(finderTimes.end(), leastFinder[q].begin(), leastFinder[q].end());
    }
    DestroyWindow(find);
    PrintKeystrokes("Find Food: a keystroke to painted", times, queries);
    PrintKeystrokes("  of which the finder alone", finderTimes, queries);
    std::printf("%-34s %016llx%s\n", "  digest of every list shown", static_cast<unsigned long long>(digest),
                same ? "" : "  (NOT the finder's results)");
    return same;
}
