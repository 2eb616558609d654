#include "foodlog/log_columns_win.h"

#include <commctrl.h>

#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "foodlog/nutrients.h"
#include "platform/window_win.h"
#include "resources/resource.h"

namespace {

constexpr int kHeaderTextSize = 256;

int HeaderStringId(int position, int viewMode) {
    return (viewMode == kPercentView ? IDS_HEADER_PERCENT_FIRST : IDS_HEADER_AMOUNTS_FIRST) + position;
}

int SetHeader(HWND header, int column, const char* text) {
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = const_cast<char*>(text);
    item.fmt = HDF_STRING | (column == 0 ? HDF_LEFT : HDF_RIGHT);
    return SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item)) != 0;
}

}  // namespace

// The columns go in while the list view shows a list, which lays nothing out for them; turning it into
// the report view then lays the header and scroll bars out once, for fewer calls into the window system
// than inserting into a report view with its drawing off.
HWND CreateLogListView(HWND mainWindow, const ChildPlace& place) {
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | LVS_LIST | LVS_EDITLABELS, place.x, place.y,
                                place.width, place.height, mainWindow, nullptr, AppInstance(), nullptr);
    AttachLogListView(list);
    if (!list) return nullptr;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES);

    int column = 0;
    for (int position = 0; position < kFieldPositions; ++position) {
        if (!IsPositionShown(position)) continue;
        char text[kHeaderTextSize] = "";
        LoadStringA(AppInstance(), HeaderStringId(position, kPercentView), text, sizeof text);
        LVCOLUMNA item = {};
        item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        item.fmt = column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        item.cx = kColumnWidths[position];
        item.pszText = text;
        item.iSubItem = column;
        if (SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item)) == -1) {
            DestroyWindow(list);
            AttachLogListView(nullptr);
            return nullptr;
        }
        ++column;
    }
    LVCOLUMNA closing = {};
    closing.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    closing.fmt = LVCFMT_RIGHT;
    closing.cx = kClosingColumnWidth;
    closing.pszText = const_cast<char*>("");
    closing.iSubItem = column;
    if (SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&closing)) == -1) {
        DestroyWindow(list);
        AttachLogListView(nullptr);
        return nullptr;
    }
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_REPORT);
    return list;
}

// Rewrites every header text for the current view mode; widths stay as the user left them.
static void SetColumnHeaders(HWND header) {
    int column = 0;
    for (int position = 0; position < kFieldPositions; ++position) {
        if (!IsPositionShown(position)) continue;
        char text[kHeaderTextSize] = "";
        LoadStringA(AppInstance(), HeaderStringId(position, ViewMode()), text, sizeof text);
        if (!SetHeader(header, column, text)) return;
        ++column;
    }
    SetHeader(header, column, "");
}

LRESULT SwitchView(HWND toolbar, int viewMode) {
    // The pressed button toggles itself; only the other one is cleared here.
    int other = viewMode == kPercentView ? IDM_VIEW_AMOUNTS : IDM_VIEW_PERCENT;
    SendMessageA(toolbar, TB_CHECKBUTTON, other, FALSE);
    SetViewMode(viewMode);
    SetColumnHeaders(reinterpret_cast<HWND>(SendMessageA(LogListView(), LVM_GETHEADER, 0, 0)));
    RefreshLog();
    return 0;
}
