// The real platelog.exe: it starts, shows its window and ends cleanly on WM_CLOSE.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "logdoc/log_document.h"

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

struct Started {
    PROCESS_INFORMATION process;
    HWND window;
};

Started Start(std::string commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    Started started = {};
    if (!CreateProcessA(PLATELOG_EXE, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started.process)) {
        ADD_FAILURE() << "cannot start " << PLATELOG_EXE;
        return started;
    }
    started.window = WaitForMainWindow(started.process.dwProcessId, started.process.hProcess);
    return started;
}

// Closes the program like the close box and returns its exit code.
DWORD Close(const Started& started) {
    PostMessageA(started.window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    if (WaitForSingleObject(started.process.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(started.process.hProcess, &exitCode);
    else
        TerminateProcess(started.process.hProcess, 99);
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
    return exitCode;
}

TEST(Program, StartsUntitledAndExitsWithZeroOnClose) {
    Started started = Start("platelog.exe");
    HWND window = started.window;
    ASSERT_NE(window, nullptr);
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "MealTally - (untitled)");
    EXPECT_EQ(Close(started), 0u);
}

TEST(Program, OpensTheDocumentOnItsCommandLine) {
    const char line[] =
        "Toast^^80^3^1^15^1^^2^4^6^150^40^2^3^2^^^0^^8^4^6^2^2^5^0^0^0.2^0.3^0.4^0^1^slice^^99^\r\n";
    ResetLogState();
    ASSERT_EQ(AddFoodFromData(line, 0, "2", 1, kMeasureFirst, kSourceMyFoods), 1);
    ASSERT_EQ(AddFoodFromData(line, 0, "1", 1, kMeasureFirst, kSourceMyFoods), 1);
    std::string path = std::string(PLATELOG_TEMP_DIR) + "/a log with blanks.mtf";
    ASSERT_EQ(SaveLogDocument(EntryCount(), path.c_str()), 1);
    // A shell passes a path with blanks in quotes.
    Started started = Start("platelog.exe \"" + path + "\"");
    ASSERT_NE(started.window, nullptr);
    HWND log = FindWindowExA(started.window, nullptr, "SysListView32", nullptr);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(SendMessageA(log, LVM_GETITEMCOUNT, 0, 0), 3);  // two entries and the TOTAL row
    char caption[256] = {};
    GetWindowTextA(started.window, caption, sizeof caption);
    EXPECT_STREQ(caption, "MealTally - (untitled)");
    EXPECT_EQ(Close(started), 0u);  // opening is no change: closing asks nothing
    DeleteFileA(path.c_str());
}

}  // namespace
