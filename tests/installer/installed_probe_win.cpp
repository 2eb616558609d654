// Looks at an installed Meal-Tally from the outside, for scripts/check-installers:
//   installed-probe document <ABBREV.txt> <out.mtf>  writes a log document of two foods of the table
//   installed-probe window <seconds>                 waits for Meal-Tally's main window, prints what it
//                                                    shows, then closes it like the close box
// Exit code 0 when it did what was asked, 1 otherwise.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "resources/resource.h"

namespace {

int WriteDocument(const char* tablePath, const char* documentPath) {
    FileImage table;
    if (ReadWholeFile(tablePath, &table) != ReadResult::kOk) {
        std::fprintf(stderr, "cannot read %s\n", tablePath);
        return 1;
    }
    std::string_view data(table.Data(), table.Size());
    const char* secondLine = static_cast<const char*>(std::memchr(table.Data(), '\n', table.Size()));
    if (!secondLine) {
        std::fprintf(stderr, "%s has one line at most\n", tablePath);
        return 1;
    }
    ResetLogState();
    if (!AddFoodFromData(data, 0, "2", 1, kMeasureFirst, kSourceUsda) ||
        !AddFoodFromData(data, static_cast<size_t>(secondLine + 1 - table.Data()), "1", 1, kMeasureFirst,
                         kSourceUsda)) {
        std::fprintf(stderr, "the first two lines of %s are not foods\n", tablePath);
        return 1;
    }
    if (!SaveLogDocument(EntryCount(), documentPath)) {
        std::fprintf(stderr, "cannot write %s\n", documentPath);
        return 1;
    }
    return 0;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    // Visible: the window exists during its creation, before its lists are filled.
    if (std::strcmp(className, "MealTally") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ListWindow(HWND window, LPARAM) {
    char className[64] = {}, text[128] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::fprintf(stderr, "  window %s \"%s\" process %lu%s\n", className, text, static_cast<unsigned long>(processId),
                 IsWindowVisible(window) ? " visible" : "");
    return TRUE;
}

int ReportWindow(int seconds) {
    HWND window = nullptr;
    for (int i = 0; i < seconds * 10 && !window; ++i) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&window));
        if (!window) Sleep(100);
    }
    if (!window) {
        std::fprintf(stderr, "no Meal-Tally window within %d s; the top-level windows:\n", seconds);
        EnumWindows(ListWindow, 0);
        return 1;
    }
    // Let the start-up finish: the lists are filled before the window is shown, the document after.
    Sleep(500);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    char image[MAX_PATH] = "?";
    DWORD imageSize = sizeof image;
    if (process) QueryFullProcessImageNameA(process, 0, image, &imageSize);
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    HWND usda = GetDlgItem(window, IDC_USDA_LIST);
    HWND myFoods = GetDlgItem(window, IDC_MYFOODS_LIST);
    HWND log = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
    std::printf("program=%s\n", image);
    std::printf("caption=%s\n", caption);
    std::printf("my-foods=%ld\n", myFoods ? static_cast<long>(SendMessageA(myFoods, LB_GETCOUNT, 0, 0)) : -1L);
    std::printf("usda=%ld\n", usda ? static_cast<long>(SendMessageA(usda, LB_GETCOUNT, 0, 0)) : -1L);
    std::printf("log-rows=%ld\n", log ? static_cast<long>(SendMessageA(log, LVM_GETITEMCOUNT, 0, 0)) : -1L);

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    if (!process || WaitForSingleObject(process, 20000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &exitCode)) {
        std::fprintf(stderr, "Meal-Tally did not end after WM_CLOSE\n");
        if (process) CloseHandle(process);
        return 1;
    }
    CloseHandle(process);
    std::printf("exit=%lu\n", static_cast<unsigned long>(exitCode));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "document") == 0) return WriteDocument(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "window") == 0) return ReportWindow(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: installed-probe document <ABBREV.txt> <out.mtf> | window <seconds>\n");
    return 1;
}
