// Dragging foods from the three lists into the log through the Food Quantity dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "foodlog/add_food_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "logdoc/log_document.h"
#include "logdoc/log_document_win.h"
#include "resources/resource.h"
#include "shell/food_browser_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"

namespace {

// A USDA line: 100 Calories, 10 g protein and 200 mg calcium per 100 g; the two measures as given.
std::string UsdaLine(const char* name, const char* weight1, const char* measure1, const char* weight2,
                     const char* measure2) {
    std::string line = std::string("~90000~^~") + name + "~^50^100^10";
    for (int slot = 3; slot < 31; ++slot)
        line += slot == 7 ? "^200" : "^0";
    return line + "^" + weight1 + "^" + measure1 + "^" + weight2 + "^" + measure2 + "^0\r\n";
}

// A My Foods line: 80 Calories, 3 g protein and 10 % calcium a serving.
std::string MyFoodLine(const char* name, const char* amount, const char* measure, const char* serving3,
                       const char* serving4) {
    std::string line = std::string(name) + "^^80^3";
    for (int slot = 3; slot < 31; ++slot)
        line += slot == 7 ? "^10" : "^";
    return line + "^" + amount + "^" + measure + "^" + serving3 + "^" + serving4 + "^\r\n";
}

class DragDrop : public MainWindowTest {
protected:
    void SetUp() override {
        SetUpWith(
            UsdaLine("APPLE PIE", "227", "~1 cup~", "15", "~1 tbsp~") +
                UsdaLine("BROTH", "0", "~~", "0", "~~") + UsdaLine("CELERY", "0", "~~", "40", "~1 stalk~"),
            MyFoodLine("Toast", "1", "slice", "", "99") + MyFoodLine("Cereal", "2", "Cup", "4", "5") +
                MyFoodLine("Mystery", "1", "", "", "99") + MyFoodLine("Odd", "1", "Cup", "1", "91"));
    }

    int IndexOf(HWND list, const char* text) {
        return static_cast<int>(SendMessageA(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text)));
    }
    POINT LogCenterOnScreen() {
        RECT client;
        GetClientRect(LogListView(), &client);
        POINT p = {client.right / 2, client.bottom / 2};
        ClientToScreen(LogListView(), &p);
        return p;
    }
    // Press on the item, move to the screen point and release there.
    void Drag(HWND list, int index, POINT screen) {
        RECT item = {};
        SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
        LPARAM down = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, down);
        POINT p = screen;
        ScreenToClient(list, &p);
        LPARAM at = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
    }
    void DragToLog(HWND list, const char* food) {
        int index = IndexOf(list, food);
        ASSERT_GE(index, 0) << food;
        Drag(list, index, LogCenterOnScreen());
    }
    void Search(int database, const char* text) {
        SendMessageA(g_controls.databaseChooser, CB_SETCURSEL, database, 0);
        SetWindowTextA(g_controls.searchBox, text);
        SendMessageA(window_, WM_COMMAND, IDC_SEARCH_BUTTON, 0);
    }

    // A food of each list, after a search of the USDA foods for "broth", and the list's limit message.
    struct LimitCase {
        HWND list;
        const char* food;
        const char* message;
    };
    static std::vector<LimitCase> LimitCases() {
        return {{g_controls.myFoodsList, "Toast", "Cannot exceed 50 items in Main Window!"},
                {g_controls.usdaList, "~BROTH~", "Cannot exceed 50 items in Main Window!"},
                {g_controls.resultsList, "~BROTH~", "Exceeded 50 items in Main Window!"}};
    }
};

std::vector<std::string> MeasureRows() {
    std::vector<std::string> rows;
    HWND list = MeasureList();
    int count = list ? static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

// Answers the Food Quantity dialog: checks its measure rows, types the quantity, picks a row (or
// none) and presses OK.
std::function<void(HWND)> Answer(std::vector<std::string> expectedRows, const char* quantity, int row,
                                 int button = IDOK) {
    return [=](HWND dialog) {
        EXPECT_EQ(TextOf(dialog), "Dialog");
        EXPECT_EQ(MeasureRows(), expectedRows);
        RECT list = {};
        GetWindowRect(MeasureList(), &list);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&list), 2);
        EXPECT_EQ(list.left, kMeasureListX);
        EXPECT_EQ(list.top, kMeasureListY);
        EXPECT_EQ(list.right - list.left, kMeasureListWidth);
        SetDlgItemTextA(dialog, IDC_QUANTITY_EDIT, quantity);
        if (row >= 0) SendMessageA(MeasureList(), CB_SETCURSEL, row, 0);
        PostMessageA(dialog, WM_COMMAND, button, 0);
    };
}

TEST_F(DragDrop, UsdaFoodsAndMyFoodsInEachMeasure) {
    constexpr int32_t kAny = -1;  // a measure the case does not check
    const HWND usda = g_controls.usdaList, mine = g_controls.myFoodsList;
    struct Case {
        HWND list;
        const char* food;
        std::vector<std::string> rows;
        const char* quantity;
        int row;
        const char* measureCell;
        const char* calories;
        const char* protein;  // nullptr: not checked
        int32_t measure;
    } const cases[] = {
        {usda, "~APPLE PIE~", {"cup", "tbsp", "grams"}, "2", 0, "cup", "454", "45.400", kAny},  // 2 x 227 g
        {usda, "~APPLE PIE~", {"cup", "tbsp", "grams"}, "2", 1, "tbsp", "30", "3.000", kAny},   // 2 x 15 g
        {usda, "~APPLE PIE~", {"cup", "tbsp", "grams"}, "150", 2, "grams", "150", "15.000", kAny},
        {usda, "~APPLE PIE~", {"cup", "tbsp", "grams"}, "150", -1, "grams", "150", "15.000",
         kMeasureNone},  // no pick: grams
        {usda, "~BROTH~", {"grams"}, "50", 0, "grams", "50", "5.000", kAny},
        // its only measure is the second
        {usda, "~CELERY~", {"stalk", "grams"}, "2", 0, "stalk", "80", "8.000", kMeasureSecond},
        {mine, "Toast", {"slice"}, "3", 0, "slice", "240", nullptr, kMeasureFirst},
        // half a serving of 2 cups
        {mine, "Cereal", {"Cup", "Tablespoon"}, "1", 0, "Cup", "40", nullptr, kMeasureFirst},
        // 4 tablespoons a serving
        {mine, "Cereal", {"Cup", "Tablespoon"}, "2", 1, "Tablespoon", "40", nullptr, kMeasureSecond},
        // no pick: one serving
        {mine, "Cereal", {"Cup", "Tablespoon"}, "7", -1, "grams", "80", nullptr, kMeasureNone},
        // an empty first row stays
        {mine, "Mystery", {""}, "1", 0, "", "80", nullptr, kMeasureFirst},
        // a second measure past the table is left out
        {mine, "Odd", {"Cup"}, "1", 0, "Cup", "80", nullptr, kMeasureFirst},
    };
    DialogAnswerer dialogs;
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.food) + " " + c.quantity + " " + c.measureCell);
        dialogs.Queue(Answer(c.rows, c.quantity, c.row));
        DragToLog(c.list, c.food);
        ASSERT_EQ(EntryCount(), row + 1);
        EXPECT_EQ(LogCell(row, 0), c.food);
        EXPECT_EQ(LogCell(row, 2), c.measureCell);
        EXPECT_EQ(LogCell(row, 3), c.calories);
        if (c.protein) {
            EXPECT_EQ(LogCell(row, 4), c.protein);
        }
        if (c.measure != kAny) {
            EXPECT_EQ(EntryAt(row).measure, c.measure);
        }
        EXPECT_EQ(EntryAt(row).source, c.list == usda ? kSourceUsda : kSourceMyFoods);
        ++row;
    }
    EXPECT_EQ(dialogs.Answered(), 12);
    EXPECT_EQ(LogCell(12, 0), "   TOTAL");
    EXPECT_EQ(LogCell(12, 3), "1474");  // 914 of the USDA foods and 560 of My Foods
    // Percent view: a label's 10 % calcium a serving, three slices of Toast.
    EXPECT_EQ(LogCell(6, 8), "30");
}

TEST_F(DragDrop, SearchResultsOpenTheFormOfTheSearchedDatabase) {
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs;
    Search(1, "pie");
    ASSERT_EQ(SendMessageA(g_controls.resultsList, LB_GETCOUNT, 0, 0), 1);
    dialogs.Queue(Answer({"cup", "tbsp", "grams"}, "1", 1));
    DragToLog(g_controls.resultsList, "~APPLE PIE~");
    ASSERT_EQ(EntryCount(), 1);
    EXPECT_EQ(EntryAt(0).source, kSourceUsda);
    EXPECT_EQ(LogCell(0, 2), "tbsp");
    Search(0, "MYST");
    // A My Foods result skips an empty first row.
    dialogs.Queue(Answer({}, "1", -1));
    DragToLog(g_controls.resultsList, "Mystery");
    ASSERT_EQ(EntryCount(), 2);
    EXPECT_EQ(EntryAt(1).source, kSourceMyFoods);
    EXPECT_EQ(LogCell(1, 3), "80");
    Search(0, "cereal");
    dialogs.Queue(Answer({"Cup", "Tablespoon"}, "2", 1));
    DragToLog(g_controls.resultsList, "Cereal");
    ASSERT_EQ(EntryCount(), 3);
    EXPECT_EQ(EntryAt(2).measure, kMeasureSecond);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(DragDrop, ReleasingOutsideTheLogOpensNothing) {
    DialogAnswerer dialogs;
    int index = IndexOf(g_controls.usdaList, "~BROTH~");
    RECT log;
    GetClientRect(LogListView(), &log);
    POINT topLeft = {0, 0};
    ClientToScreen(LogListView(), &topLeft);
    // Just outside each edge of the log's client area.
    POINT outside[] = {{topLeft.x - 1, topLeft.y + 10},
                       {topLeft.x + 10, topLeft.y - 1},
                       {topLeft.x + log.right + 1, topLeft.y + 10},
                       {topLeft.x + 10, topLeft.y + log.bottom + 1}};
    for (POINT p : outside) {
        Drag(g_controls.usdaList, index, p);
        EXPECT_EQ(EntryCount(), 0);
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_NE(GetCapture(), g_controls.usdaList);
    }
    // Exactly on the edges counts as inside.
    POINT edges[] = {topLeft, {topLeft.x + log.right, topLeft.y + log.bottom}};
    for (POINT p : edges) {
        dialogs.Queue(Answer({"grams"}, "10", 0));
        Drag(g_controls.usdaList, index, p);
    }
    EXPECT_EQ(EntryCount(), 2);
    EXPECT_EQ(dialogs.Answered(), 2);
}

TEST_F(DragDrop, MovingShowsWhereADropWouldLand) {
    HWND list = g_controls.myFoodsList;
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), list);
    POINT p = LogCenterOnScreen();
    ScreenToClient(list, &p);
    SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_NO));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_NE(GetCapture(), list);
    EXPECT_EQ(SendMessageA(list, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

TEST_F(DragDrop, QuantityCheckAndTheModifiedFlag) {
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs;
    for (const char* good : {"1.2.3", "12.", ""}) {
        dialogs.Queue(Answer({"slice"}, good, 0));
        DragToLog(g_controls.myFoodsList, "Toast");
    }
    ASSERT_EQ(EntryCount(), 3);
    EXPECT_EQ(EntryAt(0).quantity, 1.2f);
    EXPECT_EQ(EntryAt(1).quantity, 12.0f);
    EXPECT_EQ(EntryAt(2).quantity, 0.0f);
    EXPECT_EQ(LogCell(2, 3), "0");
    EXPECT_TRUE(boxes.Shown().empty());

    for (const char* bad : {"1,5", "-2", " 2"}) {
        ClearModified();
        boxes.Clear();
        // OK is refused and the dialog stays; Cancel then closes it.
        dialogs.Queue([bad](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_QUANTITY_EDIT, bad);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        DragToLog(g_controls.myFoodsList, "Toast");
        EXPECT_EQ(EntryCount(), 3) << bad;
        EXPECT_EQ(IsModified(), 1) << bad;
        ASSERT_TRUE(OneMessage(
                boxes, "Illegal Character in \"Food Quantity\"", "<none>", MB_ICONWARNING)) << bad;
    }
    ClearModified();
    dialogs.Queue(Answer({"slice"}, "5", 0, IDCANCEL));
    DragToLog(g_controls.myFoodsList, "Toast");
    EXPECT_EQ(IsModified(), 0);
    EXPECT_EQ(EntryCount(), 3);
}

// Past the fiftieth food a drag, Enter and a double-click each show the list's own message.
TEST_F(DragDrop, TheFiftiethFoodIsTheLast) {
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs;
    std::vector<LogEntry> same(49, EntryAt(0));
    ASSERT_EQ(ReplaceEntries(same.data(), 49), 1);
    dialogs.Queue(Answer({"slice"}, "1", 0));
    DragToLog(g_controls.myFoodsList, "Toast");
    ASSERT_EQ(EntryCount(), 50);
    EXPECT_EQ(LogRows(), 51);
    Search(1, "broth");
    for (const LimitCase& l : LimitCases()) {
        SCOPED_TRACE(l.message);
        int index = IndexOf(l.list, l.food);
        ASSERT_GE(index, 0) << l.food;
        boxes.Clear();
        Drag(l.list, index, LogCenterOnScreen());
        ASSERT_TRUE(OneMessage(boxes, l.message, "Program Error!", MB_ICONWARNING, l.list));
        EXPECT_NE(GetCapture(), l.list);
        SendMessageA(l.list, LB_SETCURSEL, index, 0);
        RECT item = {};
        SendMessageA(l.list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
        boxes.Clear();
        SendMessageA(l.list, WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_TRUE(OneMessage(boxes, l.message, "Program Error!", MB_ICONWARNING, l.list)) << "Enter";
        boxes.Clear();
        SendMessageA(l.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(item.left + 5, item.top + 2));
        EXPECT_TRUE(OneMessage(boxes, l.message, "Program Error!", MB_ICONWARNING, l.list)) << "double-click";
    }
    EXPECT_EQ(EntryCount(), 50);
    EXPECT_EQ(dialogs.Answered(), 1);
}

TEST_F(DragDrop, ADialogWithoutAFoodAddsNothing) {
    DialogAnswerer dialogs;
    // The results list is empty: a press there selects nothing.
    dialogs.Queue([](HWND dialog) {
        EXPECT_EQ(MeasureList(), nullptr);
        SetDlgItemTextA(dialog, IDC_QUANTITY_EDIT, "3");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(g_controls.resultsList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    POINT p = LogCenterOnScreen();
    ScreenToClient(g_controls.resultsList, &p);
    SendMessageA(g_controls.resultsList, WM_LBUTTONUP, 0,
                 MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    EXPECT_EQ(dialogs.Answered(), 1);
    EXPECT_EQ(EntryCount(), 0);
    EXPECT_EQ(LogRows(), 0);
}

TEST_F(DragDrop, AFoodWhoseFileWentAwayIsNotAdded) {
    DialogAnswerer dialogs;
    RemoveInstalledFile("ABBREV.txt");
    dialogs.Queue(Answer({"grams"}, "100", 0));
    DragToLog(g_controls.usdaList, "~APPLE PIE~");
    EXPECT_EQ(EntryCount(), 0);
    EXPECT_EQ(dialogs.Answered(), 1);
}

}  // namespace

// An egg has six household measures in the USDA's weight file; its table line holds two of them.
TEST_F(DragDrop, AUsdaFoodOffersEveryUsdaMeasureAndLogsAFurtherOneByItsWeight) {
    std::string egg = UsdaLine("EGG,WHOLE,RAW", "50", "~1 large~", "56", "~1 extra large~");
    egg.replace(1, 5, "90001");
    InstallFile("ABBREV.txt", egg + UsdaLine("BROTH", "0", "~~", "0", "~~"));
    InstallFile("WEIGHTS.txt", "90001^1^1^large^50\r\n90001^2^1^extra large^56\r\n90001^3^1^jumbo^63\r\n"
                               "90001^5^.5^cup (4.86 large eggs)^121.5\r\n90001^6^1^medium^44\r\n"
                               "90002^1^1^bowl^300\r\n");  // of no food of the table
    SendMessageA(g_controls.usdaList, LB_RESETCONTENT, 0, 0);
    LoadUsdaFoods(g_controls.usdaList);
    const std::vector<std::string> all = {"large", "extra large", "grams", "jumbo", "cup (4.86 large eggs)", "medium"};
    DialogAnswerer dialogs;
    dialogs.Queue(Answer(all, "2", 3));  // 2 jumbo
    DragToLog(g_controls.usdaList, "~EGG,WHOLE,RAW~");
    dialogs.Queue(Answer(all, "126", 2));  // the same weight in grams
    DragToLog(g_controls.usdaList, "~EGG,WHOLE,RAW~");
    dialogs.Queue(Answer(all, "1", 4));  // 1 cup: twice the weight of its half cup
    DragToLog(g_controls.usdaList, "~EGG,WHOLE,RAW~");
    dialogs.Queue(Answer({"grams"}, "100", 0));  // a food with no measure: grams alone, the weights aside
    DragToLog(g_controls.usdaList, "~BROTH~");
    ASSERT_EQ(EntryCount(), 4);
    EXPECT_EQ(LogCell(0, 2), "jumbo");
    EXPECT_EQ(LogCell(2, 2), "cup (4.86 large eggs)");
    EXPECT_EQ(EntryAt(0).measure, kMeasureFirst);
    auto rows = [] {  // every cell of the entries and the TOTAL row
        std::vector<std::vector<std::string>> cells(5);
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 34; ++column)
                cells[row].push_back(LogCell(row, column));
        return cells;
    };
    const auto logged = rows();
    // 2 jumbo are the 126 g, nutrient by nutrient.
    EXPECT_TRUE(std::equal(logged[0].begin() + 3, logged[0].end(), logged[1].begin() + 3));
    EXPECT_EQ(logged[2][3], "243");  // Calories: 243 g at 100 a 100 g

    // Saved and opened again, in today's document format: the same rows.
    std::string path = TempFile("eggs.mtf");
    ASSERT_EQ(SaveLogDocument(EntryCount(), path.c_str()), 1);
    ClearLog();
    ASSERT_EQ(OpenLogDocument(path.c_str()), 1);
    EXPECT_EQ(rows(), logged);
    DeleteFileA(path.c_str());
    RemoveInstalledFile("WEIGHTS.txt");  // without it, the other tests see the line's measures alone
}


namespace {

// Keys typed into whatever has the focus, one at a time: each is posted on a timer tick, so the
// dialog's own message loop (and its Tab and Enter handling) sees them as it would see typing.
struct Key {
    UINT virtualKey;  // 0 for a character
    char character;
};
std::vector<Key> g_keys;
size_t g_nextKey;
std::vector<std::string> g_focusClasses;  // the class of the focus before each key

void CALLBACK TypeNextKey(HWND, UINT, UINT_PTR timer, DWORD) {
    if (g_nextKey >= g_keys.size()) {
        KillTimer(nullptr, timer);
        return;
    }
    Key key = g_keys[g_nextKey++];
    HWND focus = GetFocus();
    g_focusClasses.push_back(ClassOf(focus));
    if (key.virtualKey == 0) {
        PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(key.character), 1);
    } else {
        PostMessageA(focus, WM_KEYDOWN, key.virtualKey, 1);
        PostMessageA(focus, WM_KEYUP, key.virtualKey, 0xC0000001);
    }
}

std::vector<Key> Typing(const char* quantity, std::vector<UINT> after) {
    std::vector<Key> keys;
    for (const char* c = quantity; *c; ++c)
        keys.push_back({0, *c});
    for (UINT vk : after)
        keys.push_back({vk, 0});
    return keys;
}

// Answers the Food Quantity dialog from the keyboard alone.
std::function<void(HWND)> TypeInto(std::vector<std::string> expectedRows, std::vector<Key> keys) {
    return [=](HWND) {
        EXPECT_EQ(MeasureRows(), expectedRows);
        g_keys = keys;
        g_nextKey = 0;
        g_focusClasses.clear();
        SetTimer(nullptr, 0, 10, TypeNextKey);
    };
}

}  // namespace

// The dialog opens with the focus on OK; Tab reaches Cancel, the quantity, then the measure list.
TEST_F(DragDrop, EnterOnAUsdaFoodAddsItFromTheKeyboard) {
    MessageBoxRecorder boxes;
    DialogAnswerer dialogs;
    HWND list = g_controls.usdaList;
    SetFocus(list);
    SendMessageA(list, LB_SETCURSEL, IndexOf(list, "~APPLE PIE~"), 0);
    std::vector<Key> keys = {{VK_TAB, 0}, {VK_TAB, 0}};
    for (Key k : Typing("2", {VK_TAB, VK_DOWN, VK_DOWN, VK_RETURN}))
        keys.push_back(k);
    dialogs.Queue(TypeInto({"cup", "tbsp", "grams"}, keys));
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(list, WM_CHAR, '\r', 1);
    ASSERT_EQ(dialogs.Answered(), 1);
    ASSERT_EQ(EntryCount(), 1);
    EXPECT_EQ(LogCell(0, 0), "~APPLE PIE~");
    EXPECT_EQ(LogCell(0, 1), "2.00");
    EXPECT_EQ(LogCell(0, 2), "tbsp");
    EXPECT_EQ(LogCell(0, 3), "30");  // 2 x 15 g
    EXPECT_EQ(EntryAt(0).measure, kMeasureSecond);
    EXPECT_EQ(g_focusClasses, (std::vector<std::string>{"Button", "Button", "Edit", "Edit", "ComboBox",
                                                        "ComboBox", "ComboBox"}));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(IsModified());

    // Enter without a selected food opens nothing; neither does any other key.
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, IndexOf(g_controls.myFoodsList, "Toast"), 0);
    SendMessageA(g_controls.myFoodsList, WM_KEYDOWN, VK_SPACE, 1);
    SendMessageA(g_controls.myFoodsList, WM_CHAR, '\r', 1);
    EXPECT_EQ(dialogs.Answered(), 1);
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(DragDrop, DoubleClickOnAMyFoodsFoodAddsItFromTheKeyboard) {
    DialogAnswerer dialogs;
    HWND list = g_controls.myFoodsList;
    // The list class must report double-clicks at all, or no user could ever send one.
    EXPECT_NE(GetClassLongPtrA(list, GCL_STYLE) & CS_DBLCLKS, 0u);
    RECT item = {};
    SendMessageA(list, LB_GETITEMRECT, IndexOf(list, "Cereal"), reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    std::vector<Key> keys = {{VK_TAB, 0}, {VK_TAB, 0}};
    for (Key k : Typing("3", {VK_TAB, VK_DOWN, VK_RETURN}))
        keys.push_back(k);
    dialogs.Queue(TypeInto({"Cup", "Tablespoon"}, keys));
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    ASSERT_EQ(dialogs.Answered(), 0);  // a single click is no drop
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    ASSERT_EQ(dialogs.Answered(), 1);
    ASSERT_EQ(EntryCount(), 1);
    EXPECT_EQ(LogCell(0, 0), "Cereal");
    EXPECT_EQ(LogCell(0, 2), "Cup");
    EXPECT_EQ(LogCell(0, 3), "120");  // 3 cups: one and a half servings of 2 cups
    EXPECT_EQ(EntryAt(0).measure, kMeasureFirst);
    EXPECT_EQ(EntryAt(0).source, kSourceMyFoods);
    EXPECT_NE(GetCapture(), list);

    // Below the last item: no food, no dialog.
    RECT client;
    GetClientRect(list, &client);
    LPARAM empty = MAKELPARAM(5, client.bottom - 3);
    ASSERT_GE(HIWORD(SendMessageA(list, LB_ITEMFROMPOINT, 0, empty)), 1);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, empty);
    SendMessageA(list, WM_LBUTTONUP, 0, empty);
    EXPECT_EQ(dialogs.Answered(), 1);
    EXPECT_EQ(EntryCount(), 1);
}
