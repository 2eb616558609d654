#include "shell/food_browser_win.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <string_view>

#include "fooddb/food_dialogs_win.h"
#include "fooddb/food_files_win.h"
#include "foodlog/add_food_win.h"
#include "foodlog/log_table.h"
#include "foodlog/save_as_food_win.h"
#include "platform/edit_line_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "platform/window_win.h"
#include "resources/resource.h"
#include "shell/main_controls_win.h"
#include "shell/search.h"

int g_searchedDatabase = kNoSearch;

namespace {

HWND g_browserWindow;
const MainControls* g_browserControls;

const MainControls& Controls() {
    return *g_browserControls;
}

constexpr int kSearchTextSize = 256;
constexpr int kItemBufferSize = 260;
WNDPROC g_searchBoxProc;
// The text of the last search that filled the results list, to search again after a change.
std::string g_lastSearch;

constexpr int kPageFoodItems = 0;
constexpr int kPageUsda = 1;
constexpr int kTabTextSize = 256;
constexpr int kTabTextIds[] = {IDS_TAB_FOOD_ITEMS, IDS_TAB_USDA, IDS_TAB_SEARCH};

void ShowControl(HWND control, bool shown) {
    ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

HBRUSH g_pageBrush;

// Visual styles paint the tab page in a colour of their own (white on today's Windows, button face
// without styles); it is read off the tab control's own painting.
HBRUSH PageBrush(HWND tabs) {
    if (g_pageBrush) return g_pageBrush;
    RECT client = {};
    GetClientRect(tabs, &client);
    RECT page = client;
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    if (page.right <= page.left + 2 || page.bottom <= page.top + 2) return nullptr;
    HDC screen = GetDC(tabs);
    UniqueDC memory(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
    ReleaseDC(tabs, screen);
    if (!memory || !bitmap) return nullptr;
    SelectedObject selected(memory.get(), bitmap.get());
    SendMessageA(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
    COLORREF color = GetPixel(memory.get(), page.left + 1, page.top + 1);
    if (color == CLR_INVALID) return nullptr;
    g_pageBrush = CreateSolidBrush(color);
    return g_pageBrush;
}

bool IsOnFoodPage(HWND control) {
    return control == Controls().lookForLabel || control == Controls().inDatabaseLabel ||
           control == Controls().searchButton || control == Controls().addButton ||
           control == Controls().deleteButton || control == Controls().editButton;
}

}  // namespace

LRESULT ColorOnFoodPage(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    HBRUSH brush = IsOnFoodPage(reinterpret_cast<HWND>(lParam)) ? PageBrush(Controls().foodTabs) : nullptr;
    if (!brush) return DefWindowProcA(mainWindow, message, wParam, lParam);
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(brush);
}

void ForgetFoodPageColor() {
    if (g_pageBrush) DeleteObject(g_pageBrush);
    g_pageBrush = nullptr;
}

void SetFoodBrowserControls(HWND mainWindow, const MainControls* controls) {
    g_browserWindow = mainWindow;
    g_browserControls = controls;
}

HWND CreateFoodTabs(HWND mainWindow, const ChildPlace& place) {
    HWND tabs =
        CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.x, place.y,
                        place.width, place.height, mainWindow, nullptr, AppInstance(), nullptr);
    if (!tabs) return nullptr;
    for (int index = 0; index < 3; ++index) {
        char text[kTabTextSize] = "";
        LoadStringA(AppInstance(), kTabTextIds[index], text, sizeof text);
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
    ShowControl(Controls().myFoodsList, foodItems);
    ShowControl(Controls().usdaList, usda);
    ShowControl(Controls().resultsList, search);
    ShowControl(Controls().searchBox, search);
    ShowControl(Controls().lookForLabel, search);
    ShowControl(Controls().inDatabaseLabel, search);
    ShowControl(Controls().databaseChooser, search);
    ShowControl(Controls().searchButton, search);
    ShowControl(Controls().addButton, foodItems);
    ShowControl(Controls().editButton, foodItems);
    ShowControl(Controls().deleteButton, foodItems);
    return 0;
}

// Empties a list box.
static int EmptyListBox(HWND list) {
    // One reset instead of deleting item 0 over and over: a results list can hold the whole USDA table.
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    return 1;
}

int SearchList(HWND source, HWND results, const char* text, size_t length) {
    std::string_view searchText(text, length);
    int count = static_cast<int>(SendMessageA(source, LB_GETCOUNT, 0, 0));
    int found = 0;
    // Emptying and filling a list that redraws on every change costs more than the search itself.
    SendMessageA(results, WM_SETREDRAW, FALSE, 0);
    EmptyListBox(results);
    for (int i = 0; i < count; ++i) {
        // The lists hold descriptions of at most 255 bytes, which fit the buffer.
        char item[kItemBufferSize];
        LRESULT itemLength = SendMessageA(source, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
        if (itemLength == LB_ERR || itemLength >= kItemBufferSize) continue;
        if (!MatchesSearch(std::string_view(item, static_cast<size_t>(itemLength)), searchText)) continue;
        LRESULT index = SendMessageA(results, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        if (index < 0) continue;
        SendMessageA(results, LB_SETITEMDATA, index, SendMessageA(source, LB_GETITEMDATA, i, 0));
        ++found;
    }
    SendMessageA(results, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(results, nullptr, TRUE);
    return found;
}

LRESULT RunSearch(HWND mainWindow) {
    LRESULT database = SendMessageA(Controls().databaseChooser, CB_GETCURSEL, 0, 0);
    if (database != 0 && database != 1) {
        ShowMessageBox(mainWindow, kSelectDatabaseMessage, "", MB_OK);
        return 0;
    }
    char text[kSearchTextSize];
    int copied = GetEditLine(Controls().searchBox, text, sizeof text);
    if (copied == 0) {
        ShowMessageBox(mainWindow, kEmptySearchMessage, "Error", MB_ICONWARNING);
        return 0;
    }

    g_searchedDatabase = static_cast<int>(database);
    SetResultsSource(database == 0 ? kSourceMyFoods : kSourceUsda);
    g_lastSearch.assign(text, static_cast<size_t>(copied));
    HWND source = database == 0 ? Controls().myFoodsList : Controls().usdaList;
    if (SearchList(source, Controls().resultsList, text, static_cast<size_t>(copied)) == 0)
        ShowMessageBox(mainWindow, kNotFoundMessage, "", MB_OK);
    return 0;
}

// After the My Foods file changed: results taken from it are searched again, so no stale line
// offset stays in the results list.
static void RefreshMyFoodsResults() {
    if (g_searchedDatabase != 0) return;
    SearchList(Controls().myFoodsList, Controls().resultsList, g_lastSearch.data(), g_lastSearch.size());
}

static LRESULT CALLBACK SearchBoxProc(HWND searchBox, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_CHAR:
            if (wParam == VK_RETURN) {
                SendMessageA(GetParent(searchBox), WM_COMMAND, IDC_SEARCH_BUTTON, 0);
                return 0;
            }
            break;
        default:
            break;
    }
    return CallWindowProcA(g_searchBoxProc, searchBox, message, wParam, lParam);
}

void SubclassSearchBox(HWND searchBox) {
    g_searchedDatabase = kNoSearch;
    g_lastSearch.clear();
    if (!searchBox) return;
    g_searchBoxProc = ReplaceWindowProc(searchBox, SearchBoxProc);
}

namespace {

WNDPROC g_myFoodsListProc;
constexpr int kHintMargin = 3;

bool IsEmptyList(HWND list) {
    return SendMessageA(list, LB_GETCOUNT, 0, 0) == 0;
}

// The hint in the list's font, in the colour of text that is not there to be acted on.
void DrawHint(HWND list, HDC dc) {
    RECT client = {};
    GetClientRect(list, &client);
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(list), WM_CTLCOLORLISTBOX,
                                                         reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list)));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    InflateRect(&client, -kHintMargin, -kHintMargin);
    DrawTextA(dc, kMyFoodsHint, -1, &client, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (previous) SelectObject(dc, previous);
}

LRESULT CALLBACK MyFoodsHintProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            if (IsEmptyList(list)) {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(list, &paint);
                if (dc) DrawHint(list, dc);
                EndPaint(list, &paint);
                return 0;
            }
            break;
        case WM_PRINTCLIENT:
            if (IsEmptyList(list)) {
                DrawHint(list, reinterpret_cast<HDC>(wParam));
                return 0;
            }
            break;
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_DELETESTRING:
        case LB_RESETCONTENT: {
            // The list redraws only the items it changed; the hint comes or goes over the whole list.
            bool wasEmpty = IsEmptyList(list);
            LRESULT result = CallWindowProcA(g_myFoodsListProc, list, message, wParam, lParam);
            if (wasEmpty != IsEmptyList(list)) InvalidateRect(list, nullptr, TRUE);
            return result;
        }
        case WM_SIZE:
            if (IsEmptyList(list)) InvalidateRect(list, nullptr, TRUE);
            break;
        default:
            break;
    }
    return CallWindowProcA(g_myFoodsListProc, list, message, wParam, lParam);
}

}  // namespace

void ShowHintWhenEmpty(HWND myFoodsList) {
    if (!myFoodsList) return;
    g_myFoodsListProc = ReplaceWindowProc(myFoodsList, MyFoodsHintProc);
    if (IsWindowVisible(myFoodsList)) InvalidateRect(myFoodsList, nullptr, TRUE);
}

void ReloadMyFoods() {
    ReloadMyFoodsList(Controls().myFoodsList);
    RefreshMyFoodsResults();
}

// A list older than the file is filled again and nothing is removed: its offset may now lead to
// another food. A file that could not be read (another copy holds it) or written is said so, as Edit
// says it.
int DeleteMyFood() {
    FoodUpdate result = FoodUpdate::kRefused;
    if (!RemoveMyFood(Controls().myFoodsList, &result)) {
        if (result == FoodUpdate::kStale) {
            ReloadMyFoods();
            ShowMessageBox(g_browserWindow, kStaleFoodMessage, kProgramCaption, MB_OK | MB_ICONWARNING);
        } else if (result == FoodUpdate::kCannotRead || result == FoodUpdate::kCannotWrite) {
            ShowCannotUpdate(result);
        }
        return 0;
    }
    ReloadMyFoods();
    return 1;
}

// The command answers 1 only when the removal failed; declining the question is not a failure.
LRESULT OnDeleteButton(HWND mainWindow) {
    if (ShowMessageBox(mainWindow, kDeleteFoodQuestion, "", MB_YESNO | MB_ICONWARNING) != IDYES) return 0;
    return DeleteMyFood() ? 0 : 1;
}

LRESULT OnAddButton(HWND mainWindow) {
    ShowAddFoodDialog(mainWindow, Controls().myFoodsList, ReloadMyFoods);
    return 0;
}

LRESULT OnSaveLogAsMyFood(HWND mainWindow) {
    ShowSaveLogAsFoodDialog(mainWindow, ReloadMyFoods);
    return 0;
}

LRESULT OnEditButton(HWND mainWindow) {
    ShowEditFoodDialog(mainWindow, Controls().myFoodsList, ReloadMyFoods);
    return 0;
}
