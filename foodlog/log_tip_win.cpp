#include "foodlog/log_tip_win.h"

#include "foodlog/log_cells.h"
#include "platform/window_win.h"

namespace {

constexpr int kDescriptionColumn = 0;
constexpr UINT_PTR kToolId = 1;
// What the list view keeps of a cell's width for its margins: a text wider than the rest is cut.
constexpr int kCellMargin = 12;

HWND g_tip;
int g_tipRow = -1;  // the row whose Description cell the tip covers, -1 for none

TTTOOLINFOA Tool(HWND listView) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = listView;
    tool.uId = kToolId;
    return tool;
}

void CellText(HWND listView, int row, char* text, int size) {
    LVITEMA item = {};
    item.iSubItem = kDescriptionColumn;
    item.pszText = text;
    item.cchTextMax = size;
    text[0] = '\0';
    SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool IsCutOff(HWND listView, int row) {
    char text[kCellTextSize];
    CellText(listView, row, text, sizeof text);
    int textWidth = static_cast<int>(SendMessageA(listView, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    int columnWidth = static_cast<int>(SendMessageA(listView, LVM_GETCOLUMNWIDTH, kDescriptionColumn, 0));
    return text[0] && textWidth + kCellMargin > columnWidth;
}

// The tool covers the cell, or nothing; a tip that covered another row is taken down first, so the
// next one is asked for its own text.
void Cover(HWND listView, int row, const RECT& cell) {
    if (row == g_tipRow) return;
    SendMessageA(g_tip, TTM_POP, 0, 0);
    g_tipRow = row;
    TTTOOLINFOA tool = Tool(listView);
    if (row >= 0) tool.rect = cell;
    SendMessageA(g_tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

void ForgetDescriptionTip() {
    g_tip = nullptr;
    g_tipRow = -1;
}

void CreateDescriptionTip(HWND listView) {
    g_tipRow = -1;
    g_tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, listView, nullptr,
                            AppInstance(), nullptr);
    if (!g_tip) return;
    TTTOOLINFOA tool = Tool(listView);
    tool.uFlags = TTF_TRANSPARENT;
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(g_tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TrackDescriptionTip(HWND listView, LPARAM point) {
    if (!g_tip) return;
    MSG relayed = {listView, WM_MOUSEMOVE, 0, point, 0, {}};
    SendMessageA(g_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    LVHITTESTINFO hit = {};
    hit.pt.x = static_cast<short>(LOWORD(point));
    hit.pt.y = static_cast<short>(HIWORD(point));
    SendMessageA(listView, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    RECT cell = {};
    int row = -1;
    if (hit.iItem >= 0 && hit.iSubItem == kDescriptionColumn && IsCutOff(listView, hit.iItem)) {
        cell.top = kDescriptionColumn;
        cell.left = LVIR_LABEL;
        if (SendMessageA(listView, LVM_GETSUBITEMRECT, static_cast<WPARAM>(hit.iItem), reinterpret_cast<LPARAM>(&cell)))
            row = hit.iItem;
    }
    Cover(listView, row, cell);
}

int AnswerDescriptionTip(HWND listView, NMHDR* header) {
    if (!g_tip || header->hwndFrom != g_tip || header->code != TTN_GETDISPINFOA) return 0;
    static char text[kCellTextSize];
    text[0] = '\0';
    if (g_tipRow >= 0) CellText(listView, g_tipRow, text, sizeof text);
    reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = text;
    return 1;
}

HWND DescriptionTip() {
    return g_tip;
}
