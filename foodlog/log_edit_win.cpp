#include "foodlog/log_edit_win.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "fooddb/food_fields.h"
#include "foodlog/log_cells.h"
#include "foodlog/log_history.h"
#include "foodlog/log_table.h"
#include "foodlog/log_tip_win.h"
#include "foodlog/log_view_win.h"
#include "platform/edit_line_win.h"
#include "platform/message_box_win.h"
#include "platform/window_win.h"

static LRESULT CALLBACK LogListProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam);
static LRESULT CALLBACK QuantityEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

constexpr int kQuantityColumn = 1;
constexpr int kEditTextSize = 256;

WNDPROC g_listViewProc;
WNDPROC g_editorProc;
HWND g_editor;
bool g_editing;
// The last left click in the log; the Delete key and the end of an edit hit-test it again.
LVHITTESTINFO g_lastClick;

int HitTestLastClick(HWND listView) {
    g_lastClick.iItem = -1;
    g_lastClick.iSubItem = -1;
    SendMessageA(listView, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&g_lastClick));
    return g_lastClick.iItem;
}

bool IsEntryRow(int row) {
    return row >= 0 && row < EntryCount();
}

void StartQuantityEdit(HWND listView, int row) {
    RECT cell = {};
    cell.top = kQuantityColumn;
    cell.left = LVIR_BOUNDS;
    SendMessageA(listView, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    g_editor = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_RIGHT | ES_AUTOHSCROLL,
                               0, 0, 40, 20, listView, nullptr, AppInstance(), nullptr);
    if (!g_editor) return;
    g_editorProc = ReplaceWindowProc(g_editor, QuantityEditProc);
    ApplyGuiFont(g_editor);
    MoveWindow(g_editor, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, TRUE);
    char text[kCellTextSize];
    FormatQuantity(EntryAt(row).quantity, text, sizeof text);
    SendMessageA(g_editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(g_editor, EM_SETSEL, 0, -1);
    SetFocus(g_editor);
    g_editing = true;
}

LRESULT OnLButtonDown(HWND listView, WPARAM wParam, LPARAM lParam) {
    g_lastClick.pt.x = LOWORD(lParam);
    g_lastClick.pt.y = HIWORD(lParam);
    int row = HitTestLastClick(listView);
    if (IsEntryRow(row) && !g_editing && g_lastClick.iSubItem == kQuantityColumn) {
        StartQuantityEdit(listView, row);
        return 0;
    }
    return CallWindowProcA(g_listViewProc, listView, WM_LBUTTONDOWN, wParam, lParam);
}

void CloseEditor(HWND listView) {
    bool hadFocus = GetFocus() == g_editor;
    HWND editor = g_editor;
    g_editor = nullptr;
    g_editing = false;
    DestroyWindow(editor);
    if (hadFocus) SetFocus(listView);
}

LRESULT EndQuantityEdit(HWND listView) {
    if (!SendMessageA(g_editor, EM_GETMODIFY, 0, 0)) {
        CloseEditor(listView);
        return 0;
    }
    RECT editorRect, listRect;
    GetWindowRect(g_editor, &editorRect);
    GetWindowRect(listView, &listRect);
    g_lastClick.pt.x = editorRect.left - listRect.left;
    g_lastClick.pt.y = editorRect.top - listRect.top;
    int row = HitTestLastClick(listView);

    char text[kEditTextSize];
    GetEditLine(g_editor, text, sizeof text);
    CloseEditor(listView);

    // The log may have changed under the editor (a New, a deletion): a row that is no longer an
    // entry keeps nothing of the edit.
    if (!IsEntryRow(row)) return 0;
    SetQuantityAsChange(row, ParseReal(text));
    RefreshLog();
    MarkModified();
    return 0;
}

void SetSelected(HWND listView, int row, bool selected) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int SelectedEntries(int* positions) {
    int count = 0;
    int row = -1;
    HWND listView = LogListView();
    while (listView && count < kMaxLogEntries &&
           (row = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                LVNI_SELECTED))) >= 0 &&
           IsEntryRow(row))
        positions[count++] = row;
    return count;
}

void SelectAllEntries() {
    HWND listView = LogListView();
    for (int row = 0; row < EntryCount(); ++row)
        SetSelected(listView, row, true);
    SetSelected(listView, EntryCount(), false);
}

int RemoveSelectedEntries(ChangeKind kind) {
    int positions[kMaxLogEntries];
    int count = SelectedEntries(positions);
    if (count == 0 || !RemoveAsChange(kind, positions, count)) return 0;
    RefreshLog();
    return 1;
}

void DeleteSelectedEntries() {
    int positions[kMaxLogEntries];
    int count = SelectedEntries(positions);
    if (count == 0) return;
    char several[sizeof kDeleteEntriesFormat + 16];
    std::snprintf(several, sizeof several, kDeleteEntriesFormat, count);
    if (ShowMessageBox(LogListView(), count == 1 ? kDeleteEntryQuestion : several, "", MB_YESNO) != IDYES) return;
    if (RemoveSelectedEntries(ChangeKind::kDelete)) MarkModified();
}

void SubclassLogListView(HWND listView) {
    g_editor = nullptr;
    g_editing = false;
    g_lastClick = LVHITTESTINFO{};
    g_lastClick.pt.x = -1;
    g_lastClick.pt.y = -1;
    ForgetDescriptionTip();
    if (!listView) return;
    g_listViewProc = ReplaceWindowProc(listView, LogListProc);
}

HWND QuantityEditor() {
    return g_editor;
}

void FinishQuantityEdit() {
    if (g_editor) SendMessageA(g_editor, WM_KILLFOCUS, 0, 0);
}

static LRESULT CALLBACK LogListProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            return OnLButtonDown(listView, wParam, lParam);
        case WM_MOUSEMOVE:
            TrackDescriptionTip(listView, lParam);
            break;
        case WM_NOTIFY:
            if (AnswerDescriptionTip(listView, reinterpret_cast<NMHDR*>(lParam))) return 0;
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_KILLFOCUS && g_editor && reinterpret_cast<HWND>(lParam) == g_editor)
                return EndQuantityEdit(listView);
            break;
        case WM_KEYDOWN:
            // The log has no keyboard navigation: every key but Delete does nothing here (the Edit menu's
            // shortcut keys reach the main window before the log sees them).
            if (wParam == VK_DELETE) DeleteSelectedEntries();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        default:
            break;
    }
    return CallWindowProcA(g_listViewProc, listView, message, wParam, lParam);
}

static LRESULT CALLBACK QuantityEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            if (wParam == VK_RETURN) {
                // The edit's own focus-loss handling tells the list view, which ends the edit.
                SendMessageA(editor, WM_KILLFOCUS, 0, 0);
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        default:
            break;
    }
    return CallWindowProcA(g_editorProc, editor, message, wParam, lParam);
}
