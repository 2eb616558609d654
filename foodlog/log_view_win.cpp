#include "foodlog/log_view_win.h"

#include <commctrl.h>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "foodlog/nutrients.h"

HWND g_logListView;

namespace {

void SetCellText(int row, int column, const char* text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(g_logListView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int RefreshLogRows() {
    SendMessageA(g_logListView, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < g_entryCount; ++i)
        FillLogRow(i, i);
    return 1;
}

int RefreshTotalRow() {
    ComputeTotals();
    FillLogRow(g_entryCount, kTotalsRecord);
    return 1;
}

int RefreshLog() {
    // A list view that repaints and re-measures its scroll bars after every cell is many times
    // slower than the rebuild itself: it catches up once, when both steps are done.
    SendMessageA(g_logListView, WM_SETREDRAW, FALSE, 0);
    RefreshLogRows();
    RefreshTotalRow();
    SendMessageA(g_logListView, WM_SETREDRAW, TRUE, 0);
    return 1;
}

int FillLogRow(int row, int record) {
    if (g_entryCount <= 0) return 1;
    bool total = record >= kMaxLogEntries || record < 0;
    const LogEntry* entry = total ? nullptr : &g_logEntries[record];
    const EntryNutrients& nutrients = g_entryNutrients[total ? kTotalsRecord : record];

    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(total ? kTotalRowLabel : entry->name);
    SendMessageA(g_logListView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    char text[kCellTextSize] = "";
    if (!total) FormatQuantity(entry->quantity, text, sizeof text);
    SetCellText(row, 1, text);
    SetCellText(row, 2, total ? "" : MeasureCellText(*entry));

    int column = kFirstNutrientPosition;
    for (int position = kFirstNutrientPosition; position < kFieldPositions; ++position) {
        if (!IsPositionShown(position)) continue;
        int slot = position - kFirstNutrientPosition;
        FormatNutrient(nutrients.amounts[slot], slot, text, sizeof text);
        SetCellText(row, column++, text);
    }
    return 1;
}
