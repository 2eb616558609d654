#include "foodlog/log_view_win.h"

#include <commctrl.h>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "foodlog/nutrients.h"

static int FillLogRow(int row, int record);

namespace {

HWND g_logListView;

void SetCellText(int row, int column, const char* text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(g_logListView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void AttachLogListView(HWND listView) {
    g_logListView = listView;
}

HWND LogListView() {
    return g_logListView;
}

int RefreshLogRows() {
    SendMessageA(g_logListView, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < EntryCount(); ++i)
        FillLogRow(i, i);
    return 1;
}

int RefreshTotalRow() {
    ComputeTotals();
    FillLogRow(EntryCount(), kTotalsRecord);
    return 1;
}

int RefreshLog() {
    // A list view that repaints and re-measures its scroll bars after every cell is many times
    // slower than the rebuild itself, so painting is off until both steps are done. Switching it
    // back on re-measures the scroll bars twice, and a visible window's scroll bars are redrawn
    // at each step; with the window marked hidden for that moment, they are drawn once, by the
    // next paint. Marking it hidden validates its children too, and the list view's erase then
    // covers the header, so the children are drawn again in whole.
    bool shown = (GetWindowLongPtrA(g_logListView, GWL_STYLE) & WS_VISIBLE) != 0;
    SendMessageA(g_logListView, WM_SETREDRAW, FALSE, 0);
    if (shown) DefWindowProcA(g_logListView, WM_SETREDRAW, FALSE, 0);
    RefreshLogRows();
    RefreshTotalRow();
    SendMessageA(g_logListView, WM_SETREDRAW, TRUE, 0);
    if (shown) {
        DefWindowProcA(g_logListView, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(g_logListView, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return 1;
}

// Insert row `row` showing entry `record`, or the totals record when `record` is above 49.
static int FillLogRow(int row, int record) {
    if (EntryCount() <= 0) return 1;
    LogRowTexts texts;
    FormatLogRow(record, ColumnChoice::kColumnSet, &texts);

    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = texts.cells[0];
    SendMessageA(g_logListView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < texts.count; ++column)
        SetCellText(row, column, texts.cells[column]);
    return 1;
}
