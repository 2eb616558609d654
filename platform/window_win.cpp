#include "platform/window_win.h"

namespace {
HINSTANCE g_instance;
HFONT g_guiFont;
}  // namespace

HINSTANCE AppInstance() {
    return g_instance;
}

void SetAppInstance(HINSTANCE instance) {
    g_instance = instance;
}

void TakeGuiFont() {
    g_guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void ReleaseGuiFont() {
    DeleteObject(g_guiFont);
    g_guiFont = nullptr;
}

void ApplyGuiFont(HWND control) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_guiFont), FALSE);
    if (IsWindowVisible(control)) InvalidateRect(control, nullptr, TRUE);
}

WNDPROC ReplaceWindowProc(HWND window, WNDPROC procedure) {
    if (!window) return nullptr;
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}
