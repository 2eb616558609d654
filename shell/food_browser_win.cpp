#include "shell/food_browser_win.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "shell/main_window_win.h"

namespace {

constexpr int kPageFoodItems = 0;
constexpr int kPageUsda = 1;
constexpr int kTabTextSize = 256;
constexpr int kTabTextIds[] = {IDS_TAB_FOOD_ITEMS, IDS_TAB_USDA, IDS_TAB_SEARCH};

void ShowControl(HWND control, bool shown) { ShowWindow(control, shown ? SW_SHOW : SW_HIDE); }

}  // namespace

HWND CreateFoodTabs(HWND mainWindow) {
    RECT area;
    GetClientRect(mainWindow, &area);
    area.top = 0;
    GetWorkingArea(&area);
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, area.top,
                                g_splitter, area.bottom - area.top, mainWindow, nullptr, g_instance, nullptr);
    if (!tabs) return nullptr;
    for (int index = 0; index < 3; ++index) {
        char text[kTabTextSize] = "";
        LoadStringA(g_instance, kTabTextIds[index], text, sizeof text);
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text;
        item.iImage = -1;
        if (SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)) == -1) {
            DestroyWindow(tabs);
            return nullptr;
        }
    }
    return tabs;
}

LRESULT ShowFoodPage(HWND tabs) {
    int page = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
    bool foodItems = page == kPageFoodItems;
    bool usda = page == kPageUsda;
    bool search = !foodItems && !usda;
    ShowControl(g_controls.myFoodsList, foodItems);
    ShowControl(g_controls.usdaList, usda);
    ShowControl(g_controls.resultsList, search);
    ShowControl(g_controls.searchBox, search);
    ShowControl(g_controls.lookForLabel, search);
    ShowControl(g_controls.inDatabaseLabel, search);
    ShowControl(g_controls.databaseChooser, search);
    ShowControl(g_controls.searchButton, search);
    ShowControl(g_controls.addButton, foodItems);
    ShowControl(g_controls.editButton, foodItems);
    ShowControl(g_controls.deleteButton, foodItems);
    return 0;
}

int EmptyListBox(HWND list) {
    // One reset instead of deleting item 0 over and over: a results list can hold the whole USDA table.
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    return 1;
}
