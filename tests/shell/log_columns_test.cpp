// Toolbar, status bar, the log's columns and the switch between the two views.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "resources/resource.h"
#include "shell/main_window_win.h"
#include "shell/toolbar_win.h"
#include "tests/shell/gui_harness_win.h"

namespace {

using Toolbar = MainWindowTest;
using StatusBar = MainWindowTest;
using LogColumns = MainWindowTest;

HWND Header() {
    return reinterpret_cast<HWND>(SendMessageA(LogListView(), LVM_GETHEADER, 0, 0));
}

int HeaderFormat(int column) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(Header(), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt;
}

void ClickToolbarButton(HWND window, int command) {
    // A check button toggles itself before the command reaches the window.
    LRESULT checked = SendMessageA(g_controls.toolbar, TB_ISBUTTONCHECKED, command, 0);
    SendMessageA(g_controls.toolbar, TB_CHECKBUTTON, command, !checked);
    SendMessageA(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(g_controls.toolbar));
}

TEST_F(Toolbar, SixButtonsWithTheirImagesCommandsAndStates) {
    struct Expected {
        int image;
        int command;
        BYTE state;
        BYTE style;
    } const expected[] = {
        {STD_FILENEW, IDM_FILE_NEW, TBSTATE_ENABLED, TBSTYLE_BUTTON},
        {STD_FILEOPEN, IDM_FILE_OPEN, TBSTATE_ENABLED, TBSTYLE_BUTTON},
        {STD_FILESAVE, IDM_FILE_SAVE, TBSTATE_ENABLED, TBSTYLE_BUTTON},
        {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP},
        {15, IDM_VIEW_PERCENT, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK},
        {16, IDM_VIEW_AMOUNTS, TBSTATE_ENABLED, TBSTYLE_CHECK},
    };
    ASSERT_EQ(SendMessageA(g_controls.toolbar, TB_BUTTONCOUNT, 0, 0), 6);
    for (int i = 0; i < 6; ++i) {
        TBBUTTON button = {};
        ASSERT_TRUE(SendMessageA(g_controls.toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.iBitmap, expected[i].image) << i;
        EXPECT_EQ(button.idCommand, expected[i].command) << i;
        EXPECT_EQ(button.fsState & ~TBSTATE_WRAP, expected[i].state) << i;
        EXPECT_EQ(button.fsStyle, expected[i].style) << i;
    }
    // Fifteen standard images, then the percent sign and the balance from the program's bitmap.
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(g_controls.toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_GE(ImageList_GetImageCount(images), 17);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 24);
    EXPECT_EQ(height, 24);
    EXPECT_TRUE(IsWindowVisible(g_controls.toolbar));
}

TEST_F(Toolbar, ViewButtonsUncheckEachOther) {
    ClickToolbarButton(window_, IDM_VIEW_AMOUNTS);
    EXPECT_TRUE(SendMessageA(g_controls.toolbar, TB_ISBUTTONCHECKED, IDM_VIEW_AMOUNTS, 0));
    EXPECT_FALSE(SendMessageA(g_controls.toolbar, TB_ISBUTTONCHECKED, IDM_VIEW_PERCENT, 0));
    EXPECT_EQ(ViewMode(), kAmountsView);
    ClickToolbarButton(window_, IDM_VIEW_PERCENT);
    EXPECT_TRUE(SendMessageA(g_controls.toolbar, TB_ISBUTTONCHECKED, IDM_VIEW_PERCENT, 0));
    EXPECT_FALSE(SendMessageA(g_controls.toolbar, TB_ISBUTTONCHECKED, IDM_VIEW_AMOUNTS, 0));
    EXPECT_EQ(ViewMode(), kPercentView);
    // The button of the view in force toggles itself off; the view stays.
    ClickToolbarButton(window_, IDM_VIEW_PERCENT);
    EXPECT_FALSE(SendMessageA(g_controls.toolbar, TB_ISBUTTONCHECKED, IDM_VIEW_PERCENT, 0));
    EXPECT_FALSE(SendMessageA(g_controls.toolbar, TB_ISBUTTONCHECKED, IDM_VIEW_AMOUNTS, 0));
    EXPECT_EQ(ViewMode(), kPercentView);
    EXPECT_EQ(LogHeader(8), "Calcium (%)");
}

TEST_F(StatusBar, ShowsTheNoteInTwoPartsOfTheFirstWidth) {
    char text[256] = {};
    SendMessageA(g_controls.statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "**NOTE: Percentage values are based on a 2,000 Calorie Diet.");
    EXPECT_EQ(LOWORD(SendMessageA(g_controls.statusBar, SB_GETTEXTLENGTHA, 1, 0)), 0);
    int parts[4] = {};
    ASSERT_EQ(SendMessageA(g_controls.statusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
    // The parts were set once, from the client width at creation.
    int first = parts[0];
    EXPECT_EQ(parts[1], 2 * first);
    SetWindowPos(window_, nullptr, 0, 0, 1200, 900, SWP_NOZORDER | SWP_NOMOVE);
    PumpMessages();
    int after[4] = {};
    SendMessageA(g_controls.statusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(after));
    EXPECT_EQ(after[0], first);
    EXPECT_EQ(after[1], 2 * first);
    RECT status = {};
    GetWindowRect(g_controls.statusBar, &status);
    RECT client = ClientRect();
    EXPECT_EQ(status.right - status.left, client.right);  // re-docked to the new width
}

TEST_F(LogColumns, HeadersWidthsAndAlignmentsInBothViews) {
    // Each column's header in the percent view and in the amounts view, and its width.
    struct Column {
        const char* percent;
        const char* amounts;
        int width;
    } const columns[] = {
        {"Description", "Description", 120},
        {"Quantity", "Quantity", 60},
        {"Measure", "Measure", 60},
        {"Calories", "Calories", 60},
        {"Protein (g)", "Protein (g)", 70},
        {"Total Fat (g)", "Total Fat (g)", 80},
        {"Carbohydrates (g)", "Carbohydrates (g)", 110},
        {"Fiber (g)", "Fiber (g)", 60},
        {"Calcium (%)", "Calcium (mg)", 75},
        {"Phosphorus (%)", "Phosphorus (mg)", 95},
        {"Iron (%)", "Iron (mg)", 60},
        {"Sodium (%)", "Sodium (mg)", 75},
        {"Potassium (%)", "Potassium (mg)", 90},
        {"Magnesium (%)", "Magnesium (mg)", 90},
        {"Zinc (%)", "Zinc (mg)", 60},
        {"Copper (%)", "Copper (mg)", 75},
        {"Vitamin A (%)", "Vitamin A (IU)", 80},
        {"Thiamin (%)", "Thiamin (mg)", 75},
        {"Riboflavin (%)", "Riboflavin (mg)", 90},
        {"Niacin (%)", "Niacin (mg)", 70},
        {"Pantothenic Acid (%)", "Pantothenic Acid (mg)", 120},
        {"Vitamin B6 (%)", "Vitamin B6 (mg)", 90},
        {"Folate (%)", "Folate (mcg)", 75},
        {"Vitamin B12 (%)", "Vitamin B12 (mcg)", 100},
        {"Vitamin C (%)", "Vitamin C (mg)", 85},
        {"Saturated Fat (g)", "Saturated Fat (g)", 100},
        {"Monounsaturated Fat (g)", "Monounsaturated Fat (g)", 100},
        {"Polyunsaturated Fat (g)", "Polyunsaturated Fat (g)", 100},
        {"Cholestrol (mg)", "Cholestrol (mg)", 90},
        {"", "", 60},
    };
    ASSERT_EQ(SendMessageA(Header(), HDM_GETITEMCOUNT, 0, 0), 30);
    for (int c = 0; c < 30; ++c) {
        EXPECT_EQ(LogHeader(c), columns[c].percent) << c;
        EXPECT_EQ(SendMessageA(LogListView(), LVM_GETCOLUMNWIDTH, c, 0), columns[c].width) << c;
        EXPECT_EQ(HeaderFormat(c) & HDF_JUSTIFYMASK, c == 0 ? HDF_LEFT : HDF_RIGHT) << c;
    }
    SendMessageA(window_, WM_COMMAND, IDM_VIEW_AMOUNTS, 0);
    for (int c = 0; c < 30; ++c) {
        EXPECT_EQ(LogHeader(c), columns[c].amounts) << c;
        EXPECT_EQ(HeaderFormat(c) & HDF_JUSTIFYMASK, c == 0 ? HDF_LEFT : HDF_RIGHT) << c;
    }
}

TEST_F(LogColumns, UserWidthsSurviveAViewSwitch) {
    SendMessageA(LogListView(), LVM_SETCOLUMNWIDTH, 8, 133);
    SendMessageA(LogListView(), LVM_SETCOLUMNWIDTH, 0, 250);
    SendMessageA(window_, WM_COMMAND, IDM_VIEW_AMOUNTS, 0);
    EXPECT_EQ(LogHeader(8), "Calcium (mg)");
    EXPECT_EQ(SendMessageA(LogListView(), LVM_GETCOLUMNWIDTH, 8, 0), 133);
    EXPECT_EQ(SendMessageA(LogListView(), LVM_GETCOLUMNWIDTH, 0, 0), 250);
    SendMessageA(window_, WM_COMMAND, IDM_VIEW_PERCENT, 0);
    EXPECT_EQ(LogHeader(8), "Calcium (%)");
    EXPECT_EQ(SendMessageA(LogListView(), LVM_GETCOLUMNWIDTH, 8, 0), 133);
}

TEST_F(LogColumns, SwitchingTheViewRecomputesEveryEntryAndTheTotal) {
    const char line[] =
        "~1~^~TEST "
        "FOOD~^50^200^10^5^20^2^1^300^100^2.5^240^350^40^1.5^0.2^0.1^5^500^3^0.75^0.85^2^1^0.2^40^0.6^6^1^"
        "1^1^30^100^~1 cup~^10^~1 tbsp~^0\r\n";
    ASSERT_EQ(AddFoodFromData(line, 0, "100", 3, kMeasureGrams, kSourceUsda), 1);
    ASSERT_EQ(AddFoodFromData(line, 0, "50", 2, kMeasureGrams, kSourceUsda), 1);
    RefreshLogRows();
    RefreshTotalRow();
    ASSERT_EQ(SendMessageA(LogListView(), LVM_GETITEMCOUNT, 0, 0), 3);
    // Percent view: calcium 300 mg is 30 %, iron 2.5 mg of 18 is 13.889 %.
    EXPECT_EQ(LogCell(0, 8), "30");
    EXPECT_EQ(LogCell(0, 10), "13.889");
    EXPECT_EQ(LogCell(1, 8), "15");
    EXPECT_EQ(LogCell(2, 0), "   TOTAL");
    EXPECT_EQ(LogCell(2, 8), "45");
    SendMessageA(window_, WM_COMMAND, IDM_VIEW_AMOUNTS, 0);
    ASSERT_EQ(SendMessageA(LogListView(), LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(LogCell(0, 8), "300");
    EXPECT_EQ(LogCell(0, 10), "2.500");
    EXPECT_EQ(LogCell(1, 8), "150");
    EXPECT_EQ(LogCell(2, 8), "450");
    EXPECT_EQ(LogCell(0, 3), "200");  // Calories read the same in both views
    SendMessageA(window_, WM_COMMAND, IDM_VIEW_PERCENT, 0);
    EXPECT_EQ(LogCell(0, 8), "30");
    EXPECT_EQ(LogCell(2, 10), "20.833");  // 13.889 + 6.944: the total sums the shown cells
}

TEST_F(LogColumns, SwitchingAnEmptyLogLeavesItWithoutRows) {
    SendMessageA(window_, WM_COMMAND, IDM_VIEW_AMOUNTS, 0);
    EXPECT_EQ(SendMessageA(LogListView(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(LogHeader(8), "Calcium (mg)");
}

}  // namespace
