// The main window, created in-process under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shell/main_window_win.h"

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(MainWindow, OpensUntitledAndClosesCleanly) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static bool registered = RegisterMainWindowClass(instance);
    ASSERT_TRUE(registered);
    HWND window = CreateMainWindow(instance);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ClassOf(window), "MealTally");
    EXPECT_EQ(TextOf(window), "MealTally - (untitled)");
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

}  // namespace
