// The real platelog.exe: it starts, shows its window and ends cleanly on WM_CLOSE.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct Search {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    // Visible: the window exists during its creation, before its caption is set.
    if (processId == search->processId && std::string(className) == "MealTally" && IsWindowVisible(window)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD processId, HANDLE process) {
    for (int i = 0; i < 200; ++i) {
        Search search = {processId, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window) return search.window;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

TEST(Program, StartsUntitledAndExitsWithZeroOnClose) {
    char commandLine[] = "platelog.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(PLATELOG_EXE, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << PLATELOG_EXE;
    HWND window = WaitForMainWindow(process.dwProcessId, process.hProcess);
    ASSERT_NE(window, nullptr);
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "MealTally - (untitled)");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
