#include "shell/toolbar_win.h"

#include <commctrl.h>

#include "platform/handles_win.h"
#include "platform/window_win.h"
#include "resources/resource.h"

const char kStatusNote[] = "**NOTE: Percentage values are based on a 2,000 Calorie Diet.";

namespace {

constexpr int kStandardImageCount = 15;  // IDB_STD_LARGE_COLOR: image indexes 0..14
constexpr int kOwnImageCount = 2;        // bitmap 125: percent sign, balance
constexpr int kPercentImage = kStandardImageCount;
constexpr int kBalanceImage = kStandardImageCount + 1;

struct ToolbarButton {
    int image;
    int command;
    BYTE state;
    BYTE style;
    const char* tip;
};

constexpr ToolbarButton kToolbarButtons[] = {
    {STD_FILENEW, IDM_FILE_NEW, TBSTATE_ENABLED, TBSTYLE_BUTTON, "New"},
    {STD_FILEOPEN, IDM_FILE_OPEN, TBSTATE_ENABLED, TBSTYLE_BUTTON, "Open"},
    {STD_FILESAVE, IDM_FILE_SAVE, TBSTATE_ENABLED, TBSTYLE_BUTTON, "Save"},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, nullptr},
    {kPercentImage, IDM_VIEW_PERCENT, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK, "Percent of Daily Values"},
    {kBalanceImage, IDM_VIEW_AMOUNTS, TBSTATE_ENABLED, TBSTYLE_CHECK, "Amounts"},
};
constexpr int kToolbarButtonCount = sizeof kToolbarButtons / sizeof kToolbarButtons[0];
constexpr int kStatusParts = 2;

}  // namespace

HWND CreateToolbar(HWND mainWindow) {
    HWND toolbar = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_BORDER | CCS_ADJUSTABLE | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, mainWindow,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)), AppInstance(), nullptr);
    if (!toolbar) return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP standard = {HINST_COMMCTRL, IDB_STD_LARGE_COLOR};
    SendMessageA(toolbar, TB_ADDBITMAP, kStandardImageCount, reinterpret_cast<LPARAM>(&standard));
    TBADDBITMAP own = {AppInstance(), IDB_TOOLBAR};
    SendMessageA(toolbar, TB_ADDBITMAP, kOwnImageCount, reinterpret_cast<LPARAM>(&own));

    TBBUTTON buttons[kToolbarButtonCount] = {};
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        buttons[i].iBitmap = kToolbarButtons[i].image;
        buttons[i].idCommand = kToolbarButtons[i].command;
        buttons[i].fsState = kToolbarButtons[i].state;
        buttons[i].fsStyle = kToolbarButtons[i].style;
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, kToolbarButtonCount, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar, SW_SHOW);
    return toolbar;
}

LRESULT SetToolbarTip(NMTTDISPINFOA* request) {
    for (const ToolbarButton& button : kToolbarButtons) {
        if (button.tip && static_cast<UINT_PTR>(button.command) == request->hdr.idFrom) {
            request->lpszText = const_cast<char*>(button.tip);
            request->hinst = nullptr;
            break;
        }
    }
    return 0;
}

HWND CreateStatusBar(HWND mainWindow) {
    HWND statusBar = CreateWindowExA(
        0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, mainWindow,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR)), AppInstance(), nullptr);
    if (!statusBar) return nullptr;
    // The parts follow the first client width only: later layouts just re-dock the bar.
    RECT client;
    GetClientRect(mainWindow, &client);
    int half = (client.right - client.left) / kStatusParts;
    UniqueLocal memory(LocalAlloc(LHND, kStatusParts * sizeof(int)));
    if (memory) {
        int* parts = static_cast<int*>(LocalLock(memory.get()));
        if (parts) {
            for (int i = 0; i < kStatusParts; ++i)
                parts[i] = (i + 1) * half;
            SendMessageA(statusBar, SB_SETPARTS, kStatusParts, reinterpret_cast<LPARAM>(parts));
            LocalUnlock(memory.get());
        }
    }
    SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(kStatusNote));
    return statusBar;
}
