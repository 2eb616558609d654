#include "shell/main_window_win.h"

#include "foodlog/log_table.h"
#include "shell/document_win.h"
#include "shell/message_box_win.h"

HINSTANCE g_instance;
HWND g_mainWindow;

namespace {

LRESULT OnCreate(HWND window) {
    ResetLogState();
    g_documentPath[0] = '\0';
    g_documentTitle[0] = '\0';
    SetDocumentCaption(window, g_documentTitle);
    return 0;
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_PAINT:
            return OnPaint(window);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

int RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, kMainWindowClass);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = kMainWindowClass;
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    HWND window = CreateWindowExA(0, kMainWindowClass, "Meal-Tally", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window) {
        LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
        SetWindowLongPtrA(window, GWL_EXSTYLE, exStyle | WS_EX_DLGMODALFRAME);
    }
    return window;
}

int RunPlatelog(HINSTANCE instance, const char* commandLine, int show) {
    (void)commandLine;
    g_instance = instance;
    if (!RegisterMainWindowClass(instance)) {
        ShowMessageBox(nullptr, "This program requires Windows NT!", "MealTally", MB_ICONERROR);
        return 0;
    }
    g_mainWindow = CreateMainWindow(instance);
    ShowWindow(g_mainWindow, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
