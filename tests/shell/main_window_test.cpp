// The main window: its children, layout, splitter, closing and the string table.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "resources/resource.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"

namespace {

struct ExpectedChild {
    HWND* handle;
    const char* className;
    int id;
    DWORD exStyle;
    DWORD style;
    bool visible;
    const char* text;  // nullptr: not checked
};

using MainWindow = MainWindowTest;

TEST_F(MainWindow, ChildrenHaveTheirClassesIdsStylesAndVisibility) {
    // A list box drops WS_VSCROLL while it has nothing to scroll, so it is not looked for here.
    constexpr DWORD kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_SORT | LBS_NOINTEGRALHEIGHT;
    HWND logListView = LogListView();
    const ExpectedChild expected[] = {
        {&g_controls.toolbar, "ToolbarWindow32", IDC_TOOLBAR, 0, WS_CHILD | WS_BORDER | CCS_ADJUSTABLE, true,
         nullptr},
        {&g_controls.statusBar, "msctls_statusbar32", IDC_STATUSBAR, 0, WS_CHILD | SBARS_SIZEGRIP, true,
         nullptr},
        {&g_controls.foodTabs, "SysTabControl32", 0, 0, WS_CHILD | WS_CLIPSIBLINGS, true, ""},
        {&g_controls.myFoodsList, "ListBox", IDC_MYFOODS_LIST, WS_EX_CLIENTEDGE, kList, true, nullptr},
        {&g_controls.usdaList, "ListBox", IDC_USDA_LIST, WS_EX_CLIENTEDGE, kList & ~WS_VISIBLE, false,
         nullptr},
        {&g_controls.resultsList, "ListBox", IDC_RESULTS_LIST, WS_EX_CLIENTEDGE, kList & ~WS_VISIBLE, false,
         nullptr},
        {&logListView, "SysListView32", 0, WS_EX_CLIENTEDGE, WS_CHILD | LVS_REPORT | LVS_EDITLABELS, true,
         nullptr},
        {&g_controls.addButton, "Button", IDC_ADD_BUTTON, 0, WS_CHILD, true, "Add"},
        {&g_controls.deleteButton, "Button", IDC_DELETE_BUTTON, 0, WS_CHILD, true, "Delete"},
        {&g_controls.editButton, "Button", IDC_EDIT_BUTTON, 0, WS_CHILD, true, "Edit"},
        {&g_controls.searchButton, "Button", IDC_SEARCH_BUTTON, 0, WS_CHILD, false, "Search"},
        {&g_controls.searchBox, "Edit", IDC_SEARCH_BOX, WS_EX_CLIENTEDGE, WS_CHILD | ES_AUTOVSCROLL, false,
         ""},
        // The ComboBoxEx draws its own frame and takes WS_BORDER off itself.
        {&g_controls.databaseChooser, "ComboBoxEx32", IDC_DATABASE_CHOOSER, 0, WS_CHILD | CBS_DROPDOWNLIST,
         false, nullptr},
        {&g_controls.lookForLabel, "Static", 0, 0, WS_CHILD, false, "Look for:"},
        {&g_controls.inDatabaseLabel, "Static", 0, 0, WS_CHILD, false, "In database:"},
    };
    int children = 0;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, 15);
    for (const ExpectedChild& e : expected) {
        HWND child = *e.handle;
        ASSERT_NE(child, nullptr) << e.className;
        EXPECT_EQ(GetParent(child), window_) << e.className;
        EXPECT_STRCASEEQ(ClassOf(child).c_str(), e.className);
        EXPECT_EQ(GetDlgCtrlID(child), e.id) << e.className;
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE));
        EXPECT_EQ(style & e.style, e.style) << e.className << " " << std::hex << style;
        EXPECT_EQ(exStyle & e.exStyle, e.exStyle) << e.className;
        EXPECT_EQ(IsWindowVisible(child) != 0, e.visible) << e.className;
        if (e.text) {
            EXPECT_EQ(TextOf(child), e.text) << e.className;
        }
    }
    // The search box scrolls neither way, so only what fits can be typed.
    DWORD searchStyle = static_cast<DWORD>(GetWindowLongPtrA(g_controls.searchBox, GWL_STYLE));
    EXPECT_EQ(searchStyle & ES_AUTOHSCROLL, 0u);
    EXPECT_EQ(SendMessageA(g_controls.databaseChooser, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(g_controls.databaseChooser, CB_GETCURSEL, 0, 0), CB_ERR);
    char name[32] = {};
    SendMessageA(g_controls.databaseChooser, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, "My Foods");
    SendMessageA(g_controls.databaseChooser, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, "USDA");
    EXPECT_EQ(SendMessageA(g_controls.foodTabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(g_controls.usdaList, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(g_controls.searchBox, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(MainWindow, LayoutKeepsThePageControlsAboveTheTabs) {
    // Each layout pass raises the lists, search controls and log in one batch, then the buttons and labels.
    std::vector<HWND> expected = {
        g_controls.editButton,   g_controls.deleteButton, g_controls.addButton, g_controls.inDatabaseLabel,
        g_controls.lookForLabel, g_controls.searchButton, LogListView(),        g_controls.databaseChooser,
        g_controls.searchBox,    g_controls.resultsList,  g_controls.usdaList,  g_controls.myFoodsList,
        g_controls.toolbar,      g_controls.statusBar,    g_controls.foodTabs};
    std::vector<HWND> order;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(child);
    EXPECT_EQ(order, expected);
}

// The window is shown as it was made, so what it makes must stand where a layout of its size puts it.
TEST_F(MainWindow, AWindowAsMadeStandsWhereALayoutOfItsSizePutsIt) {
    DestroyWindow(window_);
    window_ = CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    const HWND shown[] = {g_controls.toolbar,      g_controls.statusBar, g_controls.foodTabs,
                          g_controls.myFoodsList,  LogListView(),        g_controls.addButton,
                          g_controls.deleteButton, g_controls.editButton};
    std::vector<RECT> made;
    for (HWND child : shown)
        made.push_back(ChildRect(child));
    EXPECT_EQ(GetWindow(g_controls.foodTabs, GW_HWNDNEXT), nullptr)
        << "the tab control is not below its page";

    RECT frame = {};
    GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, 0, 0, width + 1, height + 1, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    for (size_t i = 0; i < made.size(); ++i) {
        RECT laidOut = ChildRect(shown[i]);
        EXPECT_TRUE(EqualRect(&made[i], &laidOut)) << "child " << i << " made at x " << made[i].left;
    }
}

TEST_F(MainWindow, DefaultLayoutPlacesPaneButtonsAndLists) {
    RECT client = ClientRect();
    RECT status;
    GetClientRect(g_controls.statusBar, &status);
    RECT toolbar;
    GetWindowRect(g_controls.toolbar, &toolbar);
    int top = toolbar.bottom - toolbar.top;
    int bottom = client.bottom - status.bottom;
    struct {
        HWND button;
        int x, width;
    } buttons[] = {{g_controls.addButton, 3, 115},
                   {g_controls.deleteButton, 119, 115},
                   {g_controls.editButton, 235, 112}};
    for (const auto& b : buttons) {
        RECT r = ChildRect(b.button);
        EXPECT_EQ(r.left, b.x) << TextOf(b.button);
        EXPECT_EQ(r.right - r.left, b.width) << TextOf(b.button);
        EXPECT_EQ(r.top, bottom - kButtonRowOffset) << TextOf(b.button);
        EXPECT_EQ(r.bottom - r.top, kButtonHeight);
    }
    RECT log = ChildRect(LogListView());
    EXPECT_EQ(log.left, kDefaultSplitter - 1);
    EXPECT_EQ(log.top, top);
    EXPECT_EQ(log.right, client.right - 1);
    EXPECT_EQ(log.bottom - log.top, bottom - top);
    RECT tabs = ChildRect(g_controls.foodTabs);
    EXPECT_EQ(tabs.left, 0);
    EXPECT_EQ(tabs.top, top);
    EXPECT_EQ(tabs.right, kDefaultSplitter);
    EXPECT_EQ(tabs.bottom - tabs.top, bottom - top);
    // The lists fill the tab control's display area; the hidden ones are placed like the shown one.
    RECT display;
    GetWindowRect(g_controls.foodTabs, &display);
    SendMessageA(g_controls.foodTabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&display), 2);
    RECT mine = ChildRect(g_controls.myFoodsList);
    RECT usda = ChildRect(g_controls.usdaList);
    RECT results = ChildRect(g_controls.resultsList);
    EXPECT_EQ(mine.left, display.left);
    EXPECT_EQ(mine.top, display.top);
    EXPECT_EQ(mine.right - mine.left, display.right - display.left);
    EXPECT_EQ(mine.bottom - mine.top, bottom - top - kMyFoodsListMargin);
    EXPECT_EQ(usda.top, display.top);
    EXPECT_EQ(usda.bottom - usda.top, bottom - top - kUsdaListMargin);
    EXPECT_EQ(results.top, display.top + kResultsListTop);
    EXPECT_EQ(results.bottom - results.top, bottom - top - kResultsListMargin);
    EXPECT_EQ(ChildRect(g_controls.searchBox).top, display.top + kSearchBoxTop);
    EXPECT_EQ(ChildRect(g_controls.searchButton).top, display.top + kSearchButtonTop);
    EXPECT_EQ(ChildRect(g_controls.lookForLabel).top, display.top + kLookForLabelTop);
    EXPECT_EQ(ChildRect(g_controls.inDatabaseLabel).top, display.top + kInDatabaseLabelTop);
    RECT label = ChildRect(g_controls.inDatabaseLabel);
    EXPECT_EQ(label.left, kPaneLeft);
    EXPECT_EQ(label.right - label.left, kInDatabaseLabelWidth);
}

TEST_F(MainWindow, SplitterGrabZoneIsTheFourPixelsLeftOfTheBoundary) {
    for (int x = kDefaultSplitter - 6; x <= kDefaultSplitter + 1; ++x) {
        SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 300));
        bool grabbed = GetCapture() == window_;
        EXPECT_EQ(grabbed, x >= kDefaultSplitter - 4 && x <= kDefaultSplitter - 1) << x;
        SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(x, 300));
        EXPECT_NE(GetCapture(), window_);
        EXPECT_EQ(g_splitter, kDefaultSplitter);
    }
}

TEST_F(MainWindow, DraggingTheSplitterRelaysOutBothPanes) {
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kDefaultSplitter - 2, 300));
    SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(450, 300));
    EXPECT_EQ(g_splitter, 450);
    EXPECT_EQ(ChildRect(LogListView()).left, 449);
    EXPECT_EQ(ChildRect(g_controls.foodTabs).right, 450);
    RECT edit = ChildRect(g_controls.editButton);
    EXPECT_EQ(edit.left, 2 * (450 / 3) + 3);
    EXPECT_EQ(edit.right - edit.left, 450 - (2 * (450 / 3) + 3) - 3);
    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(450, 300));
    // Released: moves no longer drag, and the new boundary has its own grab zone.
    SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(200, 300));
    EXPECT_EQ(g_splitter, 450);
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(448, 300));
    EXPECT_EQ(GetCapture(), window_);
    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(448, 300));
}

TEST_F(MainWindow, DraggingFarOutKeepsBothPanesUsable) {
    RECT client = ClientRect();
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kDefaultSplitter - 1, 300));
    // Left of the window a captured mouse reports a negative x.
    SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-300), 300));
    EXPECT_EQ(g_splitter, kMinPaneWidth);
    EXPECT_GE(ChildRect(g_controls.foodTabs).right, kMinPaneWidth);
    SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.right + 500, 300));
    EXPECT_EQ(g_splitter, client.right - kMinPaneWidth);
    RECT log = ChildRect(LogListView());
    EXPECT_GE(log.right - log.left, kMinPaneWidth);
    SendMessageA(window_, WM_LBUTTONUP, 0, 0);
}

TEST_F(MainWindow, ANarrowerWindowAfterADragKeepsBothPanesAndTheGrabZone) {
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kDefaultSplitter - 1, 300));
    SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(900, 300));
    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(900, 300));
    ASSERT_EQ(g_splitter, 900);

    SetWindowPos(window_, nullptr, 0, 0, 600, 768, SWP_NOZORDER | SWP_NOMOVE);
    PumpMessages();
    RECT client = ClientRect();
    ASSERT_LT(client.right, 900);
    int boundary = client.right - kMinPaneWidth;
    RECT log = ChildRect(LogListView());
    EXPECT_EQ(log.left, boundary - 1);
    EXPECT_EQ(log.right - log.left, kMinPaneWidth);
    EXPECT_EQ(ChildRect(g_controls.foodTabs).right, boundary);
    // The grab zone came in with the boundary: a press just left of it starts a drag.
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(boundary - 1, 300));
    EXPECT_EQ(GetCapture(), window_);
    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(boundary - 1, 300));
    EXPECT_NE(GetCapture(), window_);

    // Too narrow for two full panes: each gets half, neither nothing.
    SendMessageA(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(150, 600));
    log = ChildRect(LogListView());
    EXPECT_EQ(ChildRect(g_controls.foodTabs).right, 75);
    EXPECT_EQ(log.right - log.left, 75);

    // Wide again: the panes meet where the user left them.
    SetWindowPos(window_, nullptr, 0, 0, 1024, 768, SWP_NOZORDER | SWP_NOMOVE);
    PumpMessages();
    EXPECT_EQ(ChildRect(g_controls.foodTabs).right, 900);
    EXPECT_EQ(ChildRect(LogListView()).left, 899);
}

TEST_F(MainWindow, LosingTheMouseEndsADrag) {
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kDefaultSplitter - 1, 300));
    ASSERT_EQ(GetCapture(), window_);
    ReleaseCapture();
    SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(500, 300));
    EXPECT_EQ(g_splitter, kDefaultSplitter);
}

TEST_F(MainWindow, MinimizingLeavesChildrenWhereTheyWere) {
    RECT log = ChildRect(LogListView());
    RECT add = ChildRect(g_controls.addButton);
    SendMessageA(window_, WM_SIZE, SIZE_MINIMIZED, 0);
    RECT logAfter = ChildRect(LogListView());
    RECT addAfter = ChildRect(g_controls.addButton);
    EXPECT_TRUE(EqualRect(&log, &logAfter));
    EXPECT_TRUE(EqualRect(&add, &addAfter));
    // Restoring lays out again for the size it reports.
    SendMessageA(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    logAfter = ChildRect(LogListView());
    EXPECT_EQ(logAfter.right - logAfter.left, 800 - kDefaultSplitter);
}

TEST_F(MainWindow, ClosingAnUnchangedLogAsksNothing) {
    MessageBoxRecorder boxes;
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(boxes.Shown().empty());
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(MainWindow, ClosingAChangedLogAsksAndCancelKeepsTheWindow) {
    MessageBoxRecorder boxes;
    MarkModified();
    boxes.QueueAnswer(IDCANCEL);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(window_));
    ASSERT_TRUE(OneMessage(
            boxes, "Save current changes in (untitled)?", "MealTally", MB_YESNOCANCEL | MB_ICONQUESTION, window_));
    // Exit (command 0 from the menu) takes the same road; No closes without saving.
    boxes.QueueAnswer(IDNO);
    SendMessageA(window_, WM_COMMAND, IDM_FILE_EXIT, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST_F(MainWindow, ShutdownAsksTheSameQuestion) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(SendMessageA(window_, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_TRUE(boxes.Shown().empty());
    MarkModified();
    boxes.QueueAnswer(IDCANCEL);
    EXPECT_EQ(SendMessageA(window_, WM_QUERYENDSESSION, 0, 0), 0);
    boxes.QueueAnswer(IDNO);
    EXPECT_EQ(SendMessageA(window_, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(MainWindow, ControlNotificationsWithIdZeroDoNotClose) {
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(g_controls.lookForLabel));
    EXPECT_TRUE(IsWindow(window_));
}

// The headers the log shows are read back from its columns (log_columns_test.cpp); the table's other
// texts are read here.
TEST(StringTable, HoldsEveryTextExactly) {
    struct Entry {
        int id;
        const char* text;
    } const entries[] = {
        {8, "Food Items"}, {9, "USDA"}, {10, "Search"}, {49, "Description"},
        {50, "Water"}, {51, "Calories"}, {52, "Protein"}, {53, "Total Fat"},
        {54, "Carbohydrates"}, {55, "Fiber"}, {56, "Ash"}, {57, "Cacium"},
        {58, "Phosphorus"}, {59, "Iron"}, {60, "Sodium"}, {61, "Potasium"},
        {62, "Magnesium"}, {63, "Zinc"}, {64, "Copper"}, {65, "Manganese"},
        {66, "Selenium"}, {67, "Vitamin A"}, {68, "Vitamin E"}, {69, "Thiamin"},
        {70, "Riboflavin"}, {71, "Niancin"}, {72, "Panto Acid"}, {73, "Vitamin B6"},
        {74, "Folate"}, {75, "Vitamin B12"}, {76, "Vitamin C"}, {77, "Saturated Fat"},
        {78, "Mono Fat"}, {79, "Poly Fat"}, {80, "Cholestrol"}, {81, "Serving Size Amount"},
        {82, "Serving Size Measure"}, {83, "Serving 3"}, {84, "Serving 4"}, {85, "Refuse"},
        {92, "Water"}, {98, "Ash"}, {107, "Manganese (mg)"}, {108, "Selenium (mcg)"},
        {110, "Vitamin E (mg)"}, {126, "Water"}, {132, "Ash (%)"}, {141, "Manganese (%)"},
        {142, "Selenium (%)"}, {144, "Vitamin E (%)"},
    };
    ASSERT_EQ(sizeof entries / sizeof entries[0], 50u);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const Entry& e : entries) {
        char text[256] = {};
        EXPECT_GT(LoadStringA(instance, e.id, text, sizeof text), 0) << e.id;
        EXPECT_STREQ(text, e.text) << e.id;
    }
    // Nothing between the ranges.
    for (int id : {11, 48, 86, 87, 88, 157}) {
        char text[256] = {};
        EXPECT_EQ(LoadStringA(instance, id, text, sizeof text), 0) << id;
    }
}

}  // namespace
