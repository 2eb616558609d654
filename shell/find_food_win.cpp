#include "shell/find_food_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "fooddb/food_finder.h"
#include "foodlog/add_food_win.h"
#include "foodlog/log_table.h"
#include "platform/file_io.h"
#include "platform/message_box_win.h"
#include "platform/window_win.h"
#include "resources/resource.h"

static INT_PTR CALLBACK FindFoodProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
static LRESULT CALLBACK SearchTextProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

constexpr int kQueryTextSize = 256;
constexpr int kDescriptionColumnWidth = 380;
constexpr int kDatabaseColumnWidth = 70;
constexpr int kMargin = 10;

// What tells that the My Foods file changed: its size and time, for another copy's writes, and the
// loads of its list, for this copy's.
struct FileStamp {
    bool present = false;
    uint64_t size = 0;
    uint64_t written = 0;
    unsigned loads = 0;
    bool operator==(const FileStamp& other) const {
        return present == other.present && size == other.size && written == other.written &&
               loads == other.loads;
    }
};

struct FindState {
    HWND dialog = nullptr;
    WNDPROC editProc = nullptr;
    FoodIndex usda;
    FoodIndex myFoods;
    FileStamp myFoodsStamp;
    bool myFoodsRead = false;
    bool rowsStale = true;  // the listed My Foods results' numbers lead to other foods since a read
    std::vector<FoundFood> found;
};
FindState* g_find;

FileStamp MyFoodsStamp() {
    FileStamp stamp;
    stamp.loads = MyFoodsLoads();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(kMyFoodsPath, GetFileExInfoStandard, &data)) return stamp;
    stamp.present = true;
    stamp.size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    stamp.written = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

std::string_view Contents(const FileImage& image) {
    return std::string_view(image.Data(), image.Size());
}

// A file that cannot be read is searched as an empty one: without descriptions, short names are found.
void IndexUsda(FoodIndex* index) {
    FileImage table;
    FileImage descriptions;
    if (ReadWholeFile(kUsdaPath, &table) != ReadResult::kOk) table.Reset();
    if (ReadWholeFile(kUsdaDescriptionsPath, &descriptions) != ReadResult::kOk) descriptions.Reset();
    IndexUsdaFoods(Contents(table), Contents(descriptions), index);
}

// True when the My Foods foods were read again, which leaves every earlier result's offset stale.
bool FollowMyFoods(FindState* window) {
    FileStamp stamp = MyFoodsStamp();
    if (window->myFoodsRead && stamp == window->myFoodsStamp) return false;
    window->myFoodsStamp = stamp;
    window->myFoodsRead = true;
    FileImage data;
    if (ReadWholeFile(kMyFoodsPath, &data) != ReadResult::kOk) data.Reset();
    IndexMyFoods(Contents(data), &window->myFoods);
    window->rowsStale = true;
    return true;
}

HWND ListOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_FIND_LIST);
}
HWND SearchTextOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_FIND_TEXT);
}

void SelectResult(HWND list, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

bool SameRow(const FoundFood& a, const FoundFood& b) {
    return a.index == b.index && a.food == b.food && a.byCommonName == b.byCommonName;
}

// Rows [first, last) as far as they are in view, in one piece, or an empty rectangle: the list itself
// would invalidate them one by one, and under Wine each costs a round trip whether it is in view or not.
RECT RowsInView(HWND list, size_t first, size_t last) {
    RECT rows = {};
    size_t top = static_cast<size_t>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    size_t end = top + static_cast<size_t>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
    first = std::max(first, top);
    last = std::min(last, end);
    if (first >= last) return rows;
    RECT from = {}, to = {};
    from.left = to.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, first, reinterpret_cast<LPARAM>(&from));
    SendMessageA(list, LVM_GETITEMRECT, last - 1, reinterpret_cast<LPARAM>(&to));
    GetClientRect(list, &rows);
    rows.top = from.top;
    rows.bottom = to.bottom;
    return rows;
}

void InvalidateRows(HWND list, size_t first, size_t last) {
    RECT rows = RowsInView(list, first, last);
    if (!IsRectEmpty(&rows)) InvalidateRect(list, &rows, TRUE);
}

// The frame of the list, with its scroll bar, drawn again.
void InvalidateFrame(HWND list, const RECT& client) {
    RECT window = {};
    GetWindowRect(list, &window);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&window), 2);
    HRGN frame = CreateRectRgnIndirect(&window);
    HRGN inside = CreateRectRgnIndirect(&client);
    CombineRgn(frame, frame, inside, RGN_DIFF);
    RedrawWindow(list, nullptr, frame, RDW_FRAME | RDW_INVALIDATE);
    DeleteObject(inside);
    DeleteObject(frame);
}

HWND HeaderOf(HWND list) {
    return reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
}

// All of the list's rows, and none of its header: the list does not clip its children, so drawing the
// header's place would rub the header out, and the header itself has not changed.
void InvalidateAllRows(HWND list) {
    RECT rows = {}, header = {};
    GetClientRect(list, &rows);
    GetWindowRect(HeaderOf(list), &header);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
    rows.top = std::max(rows.top, header.bottom);
    RedrawWindow(list, &rows, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}

// A new count makes the list fit its scroll bar to it in several passes, and under Wine each pass
// draws the scroll bar again, milliseconds each. So the count is set while the system draws nothing
// of the list (DefWindowProc's own WM_SETREDRAW, which leaves the list's flag alone: turning that back
// on would fit the scroll bar all over again), and what it changed is drawn once after: the frame and
// the rows that came or went, or all of the list where a scroll bar came or went. Returns whether
// all of it is to be drawn.
bool SetResultCount(HWND list, size_t before, size_t after) {
    // Nothing waiting to be drawn may be lost while the list is hidden.
    RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT was = {}, now = {};
    GetClientRect(list, &was);
    RECT changed = RowsInView(list, after, before);  // rows that go are there only until the count is set
    DefWindowProcA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, after, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    DefWindowProcA(list, WM_SETREDRAW, TRUE, 0);
    GetClientRect(list, &now);
    if (EqualRect(&was, &now)) {
        InvalidateFrame(list, now);
        RECT came = RowsInView(list, before, after);
        UnionRect(&changed, &changed, &came);
        if (!IsRectEmpty(&changed)) InvalidateRect(list, &changed, TRUE);
        return false;
    }
    InvalidateFrame(list, now);
    InvalidateAllRows(list);
    // The columns leave room for the scroll bar, so of the header only the empty end past them changed.
    HWND header = HeaderOf(list);
    RECT last = {}, end = {};
    int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    SendMessageA(header, HDM_GETITEMRECT, columns - 1, reinterpret_cast<LPARAM>(&last));
    GetClientRect(header, &end);
    end.left = last.right;
    if (end.left < end.right) InvalidateRect(header, &end, TRUE);
    return true;
}

// Only the rows whose food changed are drawn again, and the count is set only when it changes.
void ShowChangedRows(HWND list, const std::vector<FoundFood>& before, const std::vector<FoundFood>& after) {
    // A list scrolled away from the top moves as the count shrinks or the best result is shown, so it
    // is drawn whole.
    bool whole = SendMessageA(list, LVM_GETTOPINDEX, 0, 0) != 0;
    if (before.size() != after.size()) whole = SetResultCount(list, before.size(), after.size()) || whole;
    if (!after.empty()) SelectResult(list, 0);
    if (whole) {
        InvalidateAllRows(list);
        return;
    }
    size_t shared = std::min(before.size(), after.size());
    size_t first = 0;
    while (first < shared && SameRow(before[first], after[first])) ++first;
    size_t last = shared;
    while (last > first && SameRow(before[last - 1], after[last - 1])) --last;
    if (first < last) InvalidateRows(list, first, last);
}

// The ranked foods of the search text, the best one selected.
void Search(FindState* window) {
    char text[kQueryTextSize] = "";
    GetWindowTextA(SearchTextOf(window->dialog), text, sizeof text);
    FollowMyFoods(window);
    bool reread = window->rowsStale;
    window->rowsStale = false;
    std::vector<FoundFood> before;
    if (!reread) before.swap(window->found);
    const FoodIndex* indexes[] = {&window->myFoods, &window->usda};
    FindFoods(text, indexes, 2, kMaxFoundFoods, &window->found);
    HWND list = ListOf(window->dialog);
    if (reread) {
        WPARAM count = window->found.size();
        if (static_cast<WPARAM>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) != count)
            SendMessageA(list, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL);
        InvalidateRect(list, nullptr, TRUE);
        if (!window->found.empty()) SelectResult(list, 0);
        return;
    }
    ShowChangedRows(list, before, window->found);
}

void FocusSearchText(HWND dialog) {
    HWND edit = SearchTextOf(dialog);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

// Whether the My Foods line at the result's offset still is the food it lists, which even a change that
// kept the file's size and time cannot hide.
bool StillListed(const FoundFood& result) {
    const FinderFood& food = result.index->foods[result.food];
    FileImage image;
    size_t at = 0;
    return ReadLineOfFile(kMyFoodsPath, food.offset, &image, &at) == ReadResult::kOk &&
           IsListedMyFood(std::string_view(image.Data(), image.Size()), at, result.index->Text(food));
}

// The Food Quantity dialog for the chosen result, as a drop of it opens it. A My Foods result whose
// line has changed since it was listed is not opened: the search runs again over the file as it is.
void OpenResult(FindState* window, int row) {
    if (row < 0 || static_cast<size_t>(row) >= window->found.size()) return;
    const FoundFood result = window->found[static_cast<size_t>(row)];
    const FinderFood& food = result.index->foods[result.food];
    bool mine = result.index == &window->myFoods;
    if (mine && (FollowMyFoods(window) || !StillListed(result))) {
        window->myFoodsRead = false;  // read again, whatever the file's size and time say
        Search(window);
        ShowMessageBox(window->dialog, kStaleFoodMessage, kProgramCaption, MB_ICONWARNING);
        return;
    }
    // The main window is held too, as while a dropped food's dialog is open: no second dialog meanwhile.
    // While it is held by a dialog of its own (Add New Food, say), nothing is added from here either.
    HWND owner = GetWindow(window->dialog, GW_OWNER);
    if (owner && !IsWindowEnabled(owner)) {
        MessageBeep(MB_OK);
        return;
    }
    bool ownerEnabled = owner && !EnableWindow(owner, FALSE);
    OpenFoodQuantityFor(window->dialog, mine ? kSourceMyFoods : kSourceUsda, static_cast<LPARAM>(food.offset));
    if (ownerEnabled) EnableWindow(owner, TRUE);
    FocusSearchText(window->dialog);
}

int SelectedResult(HWND dialog) {
    return static_cast<int>(SendMessageA(ListOf(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

LRESULT OnDispInfo(FindState* window, NMLVDISPINFOA* info) {
    LVITEMA& item = info->item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= window->found.size())
        return FALSE;
    const FoundFood& result = window->found[static_cast<size_t>(item.iItem)];
    std::string description;
    std::string_view text = result.index == &window->myFoods ? "My Foods" : "USDA";
    if (item.iSubItem == 0) {
        description = FoundFoodText(result);
        text = description;
    }
    if (item.cchTextMax <= 0) return FALSE;
    size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, length);
    item.pszText[length] = '\0';
    return TRUE;
}

void Layout(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    HWND edit = SearchTextOf(dialog);
    RECT box;
    GetWindowRect(edit, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    MoveWindow(edit, box.left, box.top, client.right - kMargin - box.left, box.bottom - box.top, TRUE);
    int top = box.bottom + kMargin / 2;
    HWND list = ListOf(dialog);
    MoveWindow(list, kMargin, top, client.right - 2 * kMargin, client.bottom - kMargin - top, TRUE);
    // The description takes what the database column and a scroll bar leave, so nothing scrolls sideways.
    RECT inside;
    GetClientRect(list, &inside);
    int width = inside.right - kDatabaseColumnWidth - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, width > kDatabaseColumnWidth ? width : kDatabaseColumnWidth);
}

BOOL OnInitDialog(HWND dialog, FindState* window) {
    window->dialog = dialog;
    HWND list = ListOf(dialog);
    // Rows drawn through one buffer neither flicker as they change nor, under Wine, draw as slowly.
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const char* titles[] = {"Description", "Database"};
    const int widths[] = {kDescriptionColumnWidth, kDatabaseColumnWidth};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA item = {};
        item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        item.fmt = LVCFMT_LEFT;
        item.cx = widths[column];
        item.pszText = const_cast<char*>(titles[column]);
        item.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
    HWND edit = SearchTextOf(dialog);
    SendMessageA(edit, EM_LIMITTEXT, kQueryTextSize - 1, 0);
    window->editProc = ReplaceWindowProc(edit, SearchTextProc);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    IndexUsda(&window->usda);
    FollowMyFoods(window);
    SetCursor(previous);
    Layout(dialog);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDC_FIND_TEXT:
            if (HIWORD(wParam) == EN_CHANGE) Search(g_find);
            return TRUE;
        case IDOK:  // Enter, in the list or in the search text: the selected result
            OpenResult(g_find, SelectedResult(dialog));
            return TRUE;
        case IDCANCEL:
            DestroyWindow(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR OnNotify(HWND dialog, NMHDR* header) {
    if (header->idFrom != IDC_FIND_LIST) return FALSE;
    switch (header->code) {
        case LVN_GETDISPINFOA:
            return OnDispInfo(g_find, reinterpret_cast<NMLVDISPINFOA*>(header));
        case NM_DBLCLK: {
            int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
            if (row >= 0) OpenResult(g_find, row);
            return TRUE;
        }
        default:
            (void)dialog;
            return FALSE;
    }
}

}  // namespace

static INT_PTR CALLBACK FindFoodProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_find) return FALSE;
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, g_find);
        case WM_SIZE:
            Layout(dialog);
            return TRUE;
        case WM_ACTIVATE:
            // Another copy of the program may have changed the My Foods file meanwhile.
            if (LOWORD(wParam) != WA_INACTIVE && g_find->dialog && FollowMyFoods(g_find)) Search(g_find);
            return FALSE;
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_NOTIFY:
            return OnNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
        case WM_NCDESTROY:
            delete g_find;
            g_find = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

// Down moves from the search text into the results.
static LRESULT CALLBACK SearchTextProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = g_find ? g_find->editProc : nullptr;
    if (message == WM_KEYDOWN && wParam == VK_DOWN && g_find && !g_find->found.empty()) {
        HWND list = ListOf(g_find->dialog);
        if (SelectedResult(g_find->dialog) < 0) SelectResult(list, 0);
        SetFocus(list);
        return 0;
    }
    return previous ? CallWindowProcA(previous, edit, message, wParam, lParam)
                    : DefWindowProcA(edit, message, wParam, lParam);
}

void ShowFindFood(HWND owner) {
    if (!g_find) {
        g_find = new (std::nothrow) FindState;
        if (!g_find) return;
        if (!CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_FIND_FOOD), owner, FindFoodProc, 0)) {
            delete g_find;
            g_find = nullptr;
            return;
        }
        ShowWindow(g_find->dialog, SW_SHOW);
    }
    SetActiveWindow(g_find->dialog);
    FocusSearchText(g_find->dialog);
}

HWND FindFoodWindow() {
    return g_find ? g_find->dialog : nullptr;
}

void FollowMyFoodsInFind() {
    if (g_find && g_find->dialog && FollowMyFoods(g_find)) Search(g_find);
}

bool IsFindFoodMessage(MSG* message) {
    return g_find && g_find->dialog && IsDialogMessageA(g_find->dialog, message);
}
