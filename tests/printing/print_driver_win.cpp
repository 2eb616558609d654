// Drives the real platelog.exe through one print on the default printer, as a user would: writes a
// log of the first three foods of a USDA file, starts the program with it, chooses File > Print...,
// presses OK in the Print dialog and waits until the job is over. Prints the number of pages the
// printout must have on the default printer and exits 0 when the program printed without a
// complaint.
// Usage: print_driver <platelog.exe> <ABBREV.txt> <log document to write>
#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foodlog/food_line.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "logdoc/log_document.h"
#include "platform/handles_win.h"
#include "printing/print_job_win.h"
#include "printing/print_layout.h"
#include "resources/resource.h"

namespace {

constexpr int kEntries = 3;
constexpr DWORD kStepTimeout = 60000;

int Fail(const char* what) {
    std::fprintf(stderr, "print_driver: %s\n", what);
    return 1;
}

int WriteLog(const char* usdaPath, const char* documentPath) {
    std::ifstream file(usdaPath, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    std::string data = bytes.str();
    size_t offset = 0;
    for (int i = 0; i < kEntries; ++i) {
        if (offset >= data.size()) return 0;
        if (!AddFoodFromData(data, offset, "100", 3, kMeasureGrams, kSourceUsda)) return 0;
        size_t end = data.find('\n', offset);
        if (end == std::string::npos) return 0;
        offset = end + 1;
    }
    return SaveLogDocument(EntryCount(), documentPath);
}

// The pages the program's log view needs on the default printer: its default columns at their
// default widths, laid out with the printer's own metrics.
int ExpectedPages() {
    PRINTDLGA record = {};
    record.lStructSize = sizeof record;
    record.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&record) || !record.hDC) return 0;
    UniqueGlobal devMode(record.hDevMode);
    UniqueGlobal devNames(record.hDevNames);
    UniqueDC printer(record.hDC);
    SetMapMode(printer.get(), MM_TEXT);
    UniqueFont font(CreatePrinterFont(printer.get(), "arial", 100));
    SelectedObject selected(printer.get(), font.get());
    PrintMetrics metrics = ReadPrintMetrics(printer.get(), GetDesktopWindow());
    std::vector<PrintColumn> columns;
    ResetColumnSet();
    for (int position = 0; position < kFieldPositions; ++position)
        if (IsPositionShown(position))
            columns.push_back({{"", 0}, kColumnWidths[position], std::vector<PrintText>(kEntries + 1)});
    std::vector<PrintStep> steps;
    if (!LayOutPass(columns, kEntries, metrics, &steps)) return 0;
    int pages = 0;
    for (const PrintStep& step : steps)
        pages += step.kind == PrintStepKind::kStartPage;
    return pages;
}

struct Search {
    DWORD process;
    const char* caption;  // nullptr: any dialog
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "", caption[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (process == search->process && std::string(className) == "#32770" && IsWindowVisible(window) &&
        (!search->caption || std::string(caption) == search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(DWORD process, const char* caption, DWORD timeout) {
    for (DWORD waited = 0; waited < timeout; waited += 100) {
        Search search = {process, caption, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    }
    return nullptr;
}

HWND WaitForMainWindow(DWORD process) {
    for (DWORD waited = 0; waited < kStepTimeout; waited += 100) {
        HWND window = FindWindowA(APP_RESOURCE_NAME, nullptr);
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (window && owner == process) return window;
        Sleep(100);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Fail("usage: print_driver <platelog.exe> <ABBREV.txt> <log document>");
    if (!WriteLog(argv[2], argv[3])) return Fail("could not write the log document");
    int pages = ExpectedPages();
    if (pages == 0) return Fail("there is no default printer");

    std::string commandLine = std::string("\"") + argv[1] + "\" " + argv[3];
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return Fail("could not start the program");
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);

    int result = 0;
    HWND mainWindow = WaitForMainWindow(started.dwProcessId);
    HWND printDialog = nullptr;
    if (!mainWindow) {
        result = Fail("the main window did not appear");
    } else {
        PostMessageA(mainWindow, WM_COMMAND, IDM_FILE_PRINT, 0);
        printDialog = WaitForDialog(started.dwProcessId, nullptr, kStepTimeout);
        char caption[256] = "";
        if (printDialog) GetWindowTextA(printDialog, caption, sizeof caption);
        if (!printDialog || std::string(caption) != "Print") {
            result = Fail("the Print dialog did not appear");
        } else {
            PostMessageA(printDialog, WM_COMMAND, IDOK, 0);
            // The job is over when the main window takes input again; a complaint comes after that.
            Sleep(500);
            DWORD waited = 0;
            while ((IsWindow(printDialog) || !IsWindowEnabled(mainWindow)) && waited < kStepTimeout) {
                Sleep(100);
                waited += 100;
            }
            Sleep(500);
            if (waited >= kStepTimeout) result = Fail("the print job did not end");
            HWND complaint = WaitForDialog(started.dwProcessId, "MealTally", 200);
            if (complaint) {
                result = Fail("the program reported that it could not print");
                PostMessageA(complaint, WM_COMMAND, IDOK, 0);
            }
        }
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.get(), kStepTimeout) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        result = Fail("the program did not close");
    }
    std::printf("pages %d\n", pages);
    return result;
}
