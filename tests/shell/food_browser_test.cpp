// The food browser: page switches, the search and Delete, on the real main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "platform/handles_win.h"
#include "resources/resource.h"
#include "shell/food_browser_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"

namespace {

std::string MyFood(const char* name) {
    std::string line = name;
    for (int k = 1; k < 32; ++k)
        line += "^1";
    return line + "^1^Cup^^99^\r\n";
}

std::string UsdaFood(const char* id, const char* name) {
    std::string line = std::string("~") + id + "~^~" + name + "~";
    for (int k = 2; k < 33; ++k)
        line += "^1";
    return line + "^100^~1 cup~^10^~1 tbsp~^0\r\n";
}

const std::string kMyFoods = MyFood("Zucchini Bread") + MyFood("apple  pie") + MyFood("Banana") +
                             MyFood("Pineapple Chunks") + MyFood("Apple") + MyFood("Banana");
const std::string kUsda = UsdaFood("1", "APPLES,RAW") + UsdaFood("2", "CHICKEN,ROASTED") +
                          UsdaFood("3", "PIE,APPLE") + UsdaFood("4", "TAPIOCA");

class FoodBrowser : public MainWindowTest {
protected:
    void SetUp() override { SetUpWith(kUsda, kMyFoods); }
    void ShowPage(int page) {
        SendMessageA(g_controls.foodTabs, TCM_SETCURSEL, page, 0);
        NMHDR header = {g_controls.foodTabs, 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(window_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }
    void Search(int database, const char* text) {
        SendMessageA(g_controls.databaseChooser, CB_SETCURSEL, database, 0);
        SetWindowTextA(g_controls.searchBox, text);
        SendMessageA(window_, WM_COMMAND, IDC_SEARCH_BUTTON, 0);
    }
    static std::vector<std::string> Items(HWND list) {
        std::vector<std::string> items;
        int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    // The line each item of a list points at, by its item data.
    static std::vector<std::string> Lines(HWND list, const std::string& file) {
        std::vector<std::string> lines;
        int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            size_t offset = static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, i, 0));
            lines.push_back(file.substr(offset, file.find('^', offset) - offset));
        }
        return lines;
    }

};

TEST_F(FoodBrowser, PagesShowTheirOwnControls) {
    struct Expectation {
        HWND* control;
        bool shown[3];
    } const table[] = {
        {&g_controls.myFoodsList, {true, false, false}},
        {&g_controls.usdaList, {false, true, false}},
        {&g_controls.resultsList, {false, false, true}},
        {&g_controls.searchBox, {false, false, true}},
        {&g_controls.lookForLabel, {false, false, true}},
        {&g_controls.inDatabaseLabel, {false, false, true}},
        {&g_controls.databaseChooser, {false, false, true}},
        {&g_controls.searchButton, {false, false, true}},
        {&g_controls.addButton, {true, false, false}},
        {&g_controls.editButton, {true, false, false}},
        {&g_controls.deleteButton, {true, false, false}},
    };
    for (int page : {2, 1, 0, 2}) {
        ShowPage(page);
        for (const Expectation& e : table)
            EXPECT_EQ(IsWindowVisible(*e.control) != 0, e.shown[page])
                << "page " << page << " " << TextOf(*e.control);
    }
}

TEST_F(FoodBrowser, ListsHoldEveryFoodSortedWithItsLineOffset) {
    EXPECT_EQ(Items(g_controls.myFoodsList),
              (std::vector<std::string>{"Apple", "apple  pie", "Banana", "Banana", "Pineapple Chunks",
                                        "Zucchini Bread"}));
    EXPECT_EQ(Lines(g_controls.myFoodsList, kMyFoods), Items(g_controls.myFoodsList));
    EXPECT_EQ(Items(g_controls.usdaList),
              (std::vector<std::string>{"~APPLES,RAW~", "~CHICKEN,ROASTED~", "~PIE,APPLE~", "~TAPIOCA~"}));
    EXPECT_EQ(Lines(g_controls.usdaList, kUsda)[1], "~2~");
}

TEST_F(FoodBrowser, SearchFindsTheTextAnywhereInAnyCase) {
    MessageBoxRecorder boxes;
    Search(0, "APPLE");  // start, middle, end, any case
    EXPECT_EQ(Items(g_controls.resultsList),
              (std::vector<std::string>{"Apple", "apple  pie", "Pineapple Chunks"}));
    EXPECT_EQ(Lines(g_controls.resultsList, kMyFoods), Items(g_controls.resultsList));
    EXPECT_EQ(g_searchedDatabase, 0);
    Search(1, "apple");
    EXPECT_EQ(Items(g_controls.resultsList), (std::vector<std::string>{"~APPLES,RAW~", "~PIE,APPLE~"}));
    EXPECT_EQ(Lines(g_controls.resultsList, kUsda), (std::vector<std::string>{"~1~", "~3~"}));
    EXPECT_EQ(g_searchedDatabase, 1);
    // The list texts keep their quotes: a search may start with one.
    Search(1, "~pi");
    EXPECT_EQ(Items(g_controls.resultsList), (std::vector<std::string>{"~PIE,APPLE~"}));
    // Blanks count like any character.
    Search(0, "  ");
    EXPECT_EQ(Items(g_controls.resultsList), (std::vector<std::string>{"apple  pie"}));
    Search(0, "nana");
    EXPECT_EQ(Items(g_controls.resultsList).size(), 2u);  // both Bananas, each with its own line
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FoodBrowser, SearchMessages) {
    MessageBoxRecorder boxes;
    SetWindowTextA(g_controls.searchBox, "apple");
    SendMessageA(window_, WM_COMMAND, IDC_SEARCH_BUTTON, 0);  // no database chosen yet
    ASSERT_TRUE(OneMessage(boxes, "Please Select Database", "", MB_OK));
    EXPECT_EQ(g_searchedDatabase, kNoSearch);

    Search(1, "chicken");
    ASSERT_EQ(Items(g_controls.resultsList).size(), 1u);
    boxes.Clear();
    Search(0, "");  // an empty box keeps the last results and their database
    ASSERT_TRUE(OneMessage(boxes, "Empty Search Box", "Error", MB_ICONWARNING));
    EXPECT_EQ(Items(g_controls.resultsList).size(), 1u);
    EXPECT_EQ(g_searchedDatabase, 1);

    boxes.Clear();
    Search(1, "chickenchickenchickenchicken");  // longer than every description
    ASSERT_TRUE(OneMessage(boxes, "String not found", "", MB_OK));
    EXPECT_TRUE(Items(g_controls.resultsList).empty());
}

TEST_F(FoodBrowser, EnterInTheSearchBoxSearchesLikeTheButton) {
    MessageBoxRecorder boxes;
    SendMessageA(g_controls.databaseChooser, CB_SETCURSEL, 1, 0);
    SendMessageA(g_controls.searchBox, WM_CHAR, VK_RETURN, 1);
    ASSERT_TRUE(OneMessage(boxes, "Empty Search Box"));
    SetWindowTextA(g_controls.searchBox, "tapioca");
    SendMessageA(g_controls.searchBox, WM_CHAR, VK_RETURN, 1);
    EXPECT_EQ(Items(g_controls.resultsList), (std::vector<std::string>{"~TAPIOCA~"}));
    EXPECT_EQ(TextOf(g_controls.searchBox), "tapioca");  // the Enter did not reach the edit
    EXPECT_EQ(SendMessageA(g_controls.searchBox, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
    SetWindowTextA(g_controls.searchBox, "roasted");
    SendMessageA(window_, WM_COMMAND, IDM_SEARCH_ALT, 0);
    EXPECT_EQ(Items(g_controls.resultsList), (std::vector<std::string>{"~CHICKEN,ROASTED~"}));
}

TEST_F(FoodBrowser, SwitchingPagesKeepsTheResults) {
    Search(1, "apple");
    ShowPage(0);
    ShowPage(1);
    ShowPage(2);
    EXPECT_EQ(Items(g_controls.resultsList).size(), 2u);
    EXPECT_EQ(TextOf(g_controls.searchBox), "apple");
}

TEST_F(FoodBrowser, DeleteAsksAndRemovesOnlyTheSelectedLine) {
    MessageBoxRecorder boxes;
    // Nothing selected: the question is still asked; Yes then changes nothing.
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0), 1);
    ASSERT_TRUE(OneMessage(
            boxes, "Are you sure you want to permanently delete this item?", "", MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(ReadInstalledFile("mtmyfood"), kMyFoods);

    int second = static_cast<int>(SendMessageA(g_controls.myFoodsList, LB_FINDSTRINGEXACT, -1,
                                               reinterpret_cast<LPARAM>("Banana"))) +
                 1;
    SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, second, 0);
    size_t offset = static_cast<size_t>(SendMessageA(g_controls.myFoodsList, LB_GETITEMDATA, second, 0));
    boxes.QueueAnswer(IDNO);
    EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0), 0);
    EXPECT_EQ(ReadInstalledFile("mtmyfood"), kMyFoods);

    Search(0, "an");  // results from My Foods, offsets into the old file
    ASSERT_EQ(Items(g_controls.resultsList).size(), 2u);
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0), 0);
    std::string expected = kMyFoods;
    expected.erase(offset, MyFood("Banana").size());
    std::string now = ReadInstalledFile("mtmyfood");
    EXPECT_EQ(now, expected);
    EXPECT_EQ(
        Items(g_controls.myFoodsList),
        (std::vector<std::string>{"Apple", "apple  pie", "Banana", "Pineapple Chunks", "Zucchini Bread"}));
    EXPECT_EQ(Lines(g_controls.myFoodsList, now), Items(g_controls.myFoodsList));
    // The results were searched again, so their offsets point into the new file.
    EXPECT_EQ(Items(g_controls.resultsList), (std::vector<std::string>{"Banana"}));
    EXPECT_EQ(Lines(g_controls.resultsList, now), Items(g_controls.resultsList));
}

// Where the first line of the list has ink: a food's name ends soon, the hint of an empty list runs on.
int InkOfFirstLine(HWND list) {
    RECT client = {};
    GetClientRect(list, &client);
    int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    UniqueDC dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), client.right, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectedObject selected(dc.get(), bitmap.get());
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    int right = 0;
    for (int i = 0; i < static_cast<int>(client.right) * height; ++i)
        if (pixels[i] != pixels[client.right - 1]) right = std::max(right, i % static_cast<int>(client.right));
    return right;
}

TEST_F(FoodBrowser, AnEmptyMyFoodsListSaysWhatItIsAndHowToAddToIt) {
    EXPECT_LT(InkOfFirstLine(g_controls.myFoodsList), 60);  // "Apple"
    InstallFile("mtmyfood", "");
    ReloadMyFoodsList(g_controls.myFoodsList);
    EXPECT_GT(InkOfFirstLine(g_controls.myFoodsList), 200);
}

}  // namespace
