#include "foodlog/log_view_win.h"

#include <commctrl.h>

#include <vector>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "foodlog/nutrients.h"

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

// Update regions of a window's children, kept while the window is validated.
class ChildPaints {
public:
    ChildPaints() = default;
    ChildPaints(const ChildPaints&) = delete;
    ChildPaints& operator=(const ChildPaints&) = delete;
    ~ChildPaints() {
        for (const Pending& paint : pending_)
            DeleteObject(paint.region);
    }
    void Save(HWND child) {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        if (!region) return;
        if (GetUpdateRgn(child, region, FALSE) > NULLREGION) {
            pending_.push_back({child, region});
        } else {
            DeleteObject(region);
        }
    }
    void Restore() const {
        for (const Pending& paint : pending_)
            if (IsWindow(paint.child)) InvalidateRgn(paint.child, paint.region, TRUE);
    }

private:
    struct Pending {
        HWND child;
        HRGN region;
    };
    std::vector<Pending> pending_;
};

BOOL CALLBACK SaveChildPaint(HWND child, LPARAM paints) {
    reinterpret_cast<ChildPaints*>(paints)->Save(child);
    return TRUE;
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
    // next paint.
    bool shown = (GetWindowLongPtrA(g_logListView, GWL_STYLE) & WS_VISIBLE) != 0;
    ChildPaints pending;
    SendMessageA(g_logListView, WM_SETREDRAW, FALSE, 0);
    if (shown) {
        // Marking it hidden validates it and its children; what the children (the header, an
        // open quantity editor) still had to paint is given back afterwards.
        EnumChildWindows(g_logListView, SaveChildPaint, reinterpret_cast<LPARAM>(&pending));
        DefWindowProcA(g_logListView, WM_SETREDRAW, FALSE, 0);
    }
    RefreshLogRows();
    RefreshTotalRow();
    SendMessageA(g_logListView, WM_SETREDRAW, TRUE, 0);
    if (shown) {
        DefWindowProcA(g_logListView, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(g_logListView, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN);
        pending.Restore();
    }
    return 1;
}

int FillLogRow(int row, int record) {
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
