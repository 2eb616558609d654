// The Find Food window: opened with Ctrl+F, searched as it is typed, and a result added to the log.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "foodlog/add_food_win.h"
#include "foodlog/log_table.h"
#include "resources/resource.h"
#include "shell/find_food_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"

namespace {

std::string UsdaLine(const char* record, const char* name) {
    std::string line = std::string("~") + record + "~^~" + name + "~^50^100^10";
    for (int slot = 3; slot < 31; ++slot)
        line += "^0";
    return line + "^227^~1 cup~^15^~1 tbsp~^0\r\n";
}

std::string MyFoodLine(const char* name) {
    std::string line = std::string(name) + "^^80^3";
    for (int slot = 3; slot < 31; ++slot)
        line += "^";
    return line + "^1^slice^^^\r\n";
}

const std::string kUsda = UsdaLine("09003", "APPLES,RAW,WITH SKIN") +
                          UsdaLine("18301", "PIE,APPLE,COMM PREP") +
                          UsdaLine("05062", "CHICKEN,BROILER OR FRYERS,BRST,SKINLESS,BNLESS,MEAT ONLY,RAW") +
                          UsdaLine("11935", "CATSUP");
const std::string kDescriptions =
    "09003^0900^Y^^Apples, raw, with skin^Includes USDA commodity food A343\r\n"
    "18301^1800^Y^^Pie, apple, commercially prepared^\r\n"
    "05062^0500^Y^^Chicken, broiler or fryers, breast, skinless, boneless, meat only, raw^\r\n"
    "11935^1100^Y^^Catsup^Ketchup\r\n";

class FindFood : public MainWindowTest {
protected:
    void SetUp() override {
        databases_ = std::make_unique<InstalledDatabases>(kUsda, MyFoodLine("Apple crumble, grandma's"));
        InstallFile("LONGDESC.txt", kDescriptions);
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        if (FindFoodWindow()) DestroyWindow(FindFoodWindow());
        MainWindowTest::TearDown();
        RemoveInstalledFile("LONGDESC.txt");
        databases_.reset();
    }
    // A key as the message loop gets it: offered to the shortcuts, then to the Find Food window.
    void Press(HWND target, int key, bool control = false) {
        MSG message = {target, WM_KEYDOWN, static_cast<WPARAM>(key), 1, 0, {}};
        BYTE saved[256], held[256];
        GetKeyboardState(saved);
        std::copy(saved, saved + 256, held);
        if (control) held[VK_CONTROL] = 0x80;
        SetKeyboardState(held);
        if (!TranslateShortcut(window_, &message) && !IsFindFoodMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        SetKeyboardState(saved);
        PumpMessages();
    }
    HWND SearchText() { return GetDlgItem(FindFoodWindow(), IDC_FIND_TEXT); }
    HWND Results() { return GetDlgItem(FindFoodWindow(), IDC_FIND_LIST); }
    void Type(const char* text) { SetWindowTextA(SearchText(), text); }
    std::vector<std::string> Shown() {
        std::vector<std::string> rows;
        int count = static_cast<int>(SendMessageA(Results(), LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row)
            rows.push_back(ListCell(Results(), row, 0) + " | " + ListCell(Results(), row, 1));
        return rows;
    }
    std::vector<RECT> RowRects() {
        std::vector<RECT> rects(static_cast<size_t>(SendMessageA(Results(), LVM_GETITEMCOUNT, 0, 0)));
        for (size_t row = 0; row < rects.size(); ++row) {
            rects[row].left = LVIR_BOUNDS;
            SendMessageA(Results(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rects[row]));
        }
        return rects;
    }
    // Every row that `change` gave other text, took away or added is to be drawn again; and where the
    // list is to draw over its header's place, the header is to be drawn after it.
    template <typename Change>
    void ExpectChangedRowsRedrawn(const char* what, Change change) {
        UpdateWindow(Results());
        std::vector<std::string> before = Shown();
        std::vector<RECT> rects = RowRects();
        change();
        std::vector<std::string> after = Shown();
        std::vector<RECT> afterRects = RowRects();
        if (afterRects.size() > rects.size()) rects = afterRects;
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(Results(), update, FALSE);
        RECT client = {};
        GetClientRect(Results(), &client);
        for (size_t row = 0; row < rects.size() && rects[row].top < client.bottom; ++row) {
            bool changed = row >= before.size() || row >= after.size() || before[row] != after[row];
            LONG bottom = std::min(rects[row].bottom, client.bottom);  // of a row half in view, the half
            POINT middle = {(rects[row].left + rects[row].right) / 2, (rects[row].top + bottom) / 2};
            EXPECT_TRUE(!changed || PtInRegion(update, middle.x, middle.y)) << what << ", row " << row;
        }
        HWND header = reinterpret_cast<HWND>(SendMessageA(Results(), LVM_GETHEADER, 0, 0));
        RECT place = {}, pending = {};
        GetClientRect(header, &place);
        EXPECT_TRUE(!RectInRegion(update, &place) || GetUpdateRect(header, &pending, FALSE)) << what;
        DeleteObject(update);
    }
    std::unique_ptr<InstalledDatabases> databases_;
};

TEST_F(FindFood, CtrlFOpensItResultsShowAsTypedAndEscClosesIt) {
    Press(window_, 'F', true);
    ASSERT_NE(FindFoodWindow(), nullptr);
    EXPECT_EQ(GetFocus(), SearchText());
    Type("apple pie");
    std::vector<std::string> shown = Shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0], "Pie, apple, commercially prepared | USDA");
    Type("apple");  // the whole name first, the user's own ahead of the USDA's at equal fit
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Apples, raw, with skin | USDA",
                                                 "Apple crumble, grandma's | My Foods",
                                                 "Pie, apple, commercially prepared | USDA"}));
    Type("ketchup");  // the USDA's common name, shown where it found the food
    EXPECT_EQ(Shown(), std::vector<std::string>{"Catsup (Ketchup) | USDA"});
    Press(SearchText(), VK_DOWN);
    EXPECT_EQ(GetFocus(), Results());
    Press(Results(), VK_ESCAPE);
    EXPECT_EQ(FindFoodWindow(), nullptr);
}

TEST_F(FindFood, EnterOpensFoodQuantityForThatFoodAndOkAddsExactlyItFromEitherDatabase) {
    SendMessageA(window_, WM_COMMAND, IDM_FOOD_FIND, 0);
    ASSERT_NE(FindFoodWindow(), nullptr);
    struct Case {
        const char* query;
        const char* logName;
        int32_t source;
        LRESULT measureRows;  // its database's form: the USDA's two measures and grams, or the serving
    } const cases[] = {
        {"breast chick", "~CHICKEN,BROILER OR FRYERS,BRST,SKINLESS,BNLESS,MEAT ONLY,RAW~", kSourceUsda, 3},
        {"grandma", "Apple crumble, grandma's", kSourceMyFoods, 1},
    };
    for (const Case& c : cases) {
        DialogAnswerer dialogs;
        dialogs.Ignore(FindFoodWindow());
        dialogs.Queue([&c](HWND dialog) {
            EXPECT_EQ(SendMessageA(MeasureList(), CB_GETCOUNT, 0, 0), c.measureRows) << c.query;
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_QUANTITY_EDIT));
            SetDlgItemTextA(dialog, IDC_QUANTITY_EDIT, "2");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        Type(c.query);
        Press(SearchText(), VK_RETURN);
        ASSERT_EQ(EntryCount(), &c - cases + 1) << c.query;
        EXPECT_EQ(LogCell(EntryCount() - 1, 0), c.logName);
        EXPECT_EQ(EntryAt(EntryCount() - 1).source, c.source);
        EXPECT_EQ(GetFocus(), SearchText());  // ready for the next food
    }
}

TEST_F(FindFood, MyFoodsAddedEditedOrDeletedShowAtOnceAndTheShortNamesServeWithoutDescriptions) {
    RemoveInstalledFile("LONGDESC.txt");
    SendMessageA(window_, WM_COMMAND, IDM_FOOD_FIND, 0);
    Type("apple");
    const std::string usda = "APPLES,RAW,WITH SKIN | USDA";
    EXPECT_EQ(Shown(), (std::vector<std::string>{usda, "Apple crumble, grandma's | My Foods", "PIE,APPLE,COMM PREP | USDA"}));
    // Another copy adds a food and edits one to a name of the same length: seen when Find is used again.
    InstallFile("mtmyfood", MyFoodLine("Apple crumble, grandpa's") + MyFoodLine("Apple juice, fresh"));
    SendMessageA(FindFoodWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(Shown()[1], "Apple juice, fresh | My Foods");
    EXPECT_EQ(Shown()[2], "Apple crumble, grandpa's | My Foods");
    // This copy deletes one: gone from Find as soon as the command is done.
    ReloadMyFoodsList(g_controls.myFoodsList);
    SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, 0, 0);  // the list's first: the crumble
    MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDYES);
    SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{usda, "Apple juice, fresh | My Foods", "PIE,APPLE,COMM PREP | USDA"}));
}

TEST_F(FindFood, EveryRowAKeystrokeOrAnotherCopysChangeAltersIsDrawnAgain) {
    SendMessageA(window_, WM_COMMAND, IDM_FOOD_FIND, 0);
    ASSERT_TRUE(IsWindowVisible(Results()));
    const char* typed[] = {"a", "apple", "apple p", "apple", "c", "ch", "chicken", "xq", "apple"};
    for (const char* text : typed)
        ExpectChangedRowsRedrawn(text, [&] { Type(text); });
    ASSERT_EQ(Shown()[1], "Apple crumble, grandma's | My Foods");
    // The same food number of a My Foods file read again is another food.
    ExpectChangedRowsRedrawn("My Foods read again", [&] {
        InstallFile("mtmyfood", MyFoodLine("Apple crumble, grandpa's"));
        SendMessageA(FindFoodWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
    });
    EXPECT_EQ(Shown()[1], "Apple crumble, grandpa's | My Foods");
}

// The scroll bar comes, changes and goes with the count, the list staying shown, and the rows it
// changed are drawn again, the header too where the list draws over its place.
TEST_F(FindFood, ACountThatMovesTheScrollBarRedrawsWhatItChanged) {
    std::string many;
    for (int i = 0; i < 60; ++i)
        many += MyFoodLine(("Apple tart " + std::to_string(i)).c_str()) +
                (i < 40 ? MyFoodLine(("Apple tart big " + std::to_string(i)).c_str()) : "");
    InstallFile("mtmyfood", many);
    SendMessageA(window_, WM_COMMAND, IDM_FOOD_FIND, 0);
    // Both over a page, under one, and back.
    const char* typed[] = {"apple tart", "apple tart big", "apple tart", "apple tart big 1", "apple tart big"};
    for (const char* text : typed) {
        ExpectChangedRowsRedrawn(text, [&] { Type(text); });
        EXPECT_TRUE(IsWindowVisible(Results())) << text;
        SCROLLINFO bar = {sizeof bar, SIF_RANGE, 0, 0, 0, 0, 0};
        GetScrollInfo(Results(), SB_VERT, &bar);
        int count = static_cast<int>(SendMessageA(Results(), LVM_GETITEMCOUNT, 0, 0));
        bool scrolls = count > SendMessageA(Results(), LVM_GETCOUNTPERPAGE, 0, 0);
        EXPECT_EQ(scrolls, (GetWindowLongA(Results(), GWL_STYLE) & WS_VSCROLL) != 0) << text;
        if (scrolls) {
            EXPECT_EQ(bar.nMax + 1, count) << text;
        }
    }
}

TEST_F(FindFood, AMyFoodChangedBehindItsSizeAndTimeIsNeverOpenedThroughItsOldOffset) {
    SendMessageA(window_, WM_COMMAND, IDM_FOOD_FIND, 0);
    Type("grandma");
    ASSERT_EQ(Shown().size(), 1u);
    // Another copy puts another food of the same length where it stood, and the old time back.
    const std::string path = InstallFolderPath("mtmyfood");
    WIN32_FILE_ATTRIBUTE_DATA before = {};
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &before));
    InstallFile("mtmyfood", MyFoodLine("Apple crumble, grandpa's"));
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &before.ftLastWriteTime);
    CloseHandle(file);
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs;  // no Food Quantity may open
    dialogs.Ignore(FindFoodWindow());
    Press(SearchText(), VK_RETURN);
    EXPECT_EQ(EntryCount(), 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, kStaleFoodMessage);
    EXPECT_TRUE(Shown().empty());  // the file as it is has no grandma's crumble
}

}  // namespace
