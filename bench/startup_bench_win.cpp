#include "bench/startup_bench_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/startup_marks_win.h"
#include "shell/main_window_win.h"

namespace {

constexpr char kFolder[] = "C:\\Program Files\\Meal-Tally";
constexpr DWORD kPatienceMs = 20000;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindVisibleMainWindow(HWND window, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[32] = "";
    if (process != search->process || !IsWindowVisible(window)) return TRUE;
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "MealTally") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// Milliseconds from CreateProcess until the process shows its main window, which is then closed;
// -1 when it never does. `output`, when given, receives what the process writes to its stdout.
double TimeStart(const char* exe, const char* arguments, std::string* output) {
    std::string commandLine = std::string("\"") + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (output) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION process = {};
    double start = Now();
    BOOL started = CreateProcessA(exe, &commandLine[0], nullptr, nullptr, output != nullptr, 0, nullptr, kFolder,
                                  &startup, &process);
    if (writeEnd) CloseHandle(writeEnd);
    if (!started) {
        if (readEnd) CloseHandle(readEnd);
        return -1;
    }
    Search search = {process.dwProcessId, nullptr};
    double elapsed = -1;
    while (Now() - start < kPatienceMs) {
        EnumWindows(FindVisibleMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            elapsed = Now() - start;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    // The steps mode closes itself after its first paint; the others are closed as the close box does.
    if (search.found && !output) PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (output) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) output->append(buffer, got);
        CloseHandle(readEnd);
    }
    if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

// The timer fires once the message loop runs, when start-up is over.
void CALLBACK CloseOnceRunning(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageA(g_mainWindow, WM_CLOSE, 0, 0);
}

}  // namespace

int PrintStartupSteps() {
    // The process's creation time and this moment on the counter's scale: the marks are counter readings.
    FILETIME creation, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &creation, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    double nowMs = Now();
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    double createdMs = nowMs - static_cast<double>(ticks(now) - ticks(creation)) / 10000.0;
    SetTimer(nullptr, 0, 10, CloseOnceRunning);
    RunPlatelog(GetModuleHandleA(nullptr), "", SW_SHOW);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < StartupMarkCount(); ++i) {
        double at = 1000.0 * static_cast<double>(StartupMarks()[i].counter) / static_cast<double>(frequency.QuadPart);
        std::printf("%s\t%.2f\n", StartupMarks()[i].step, at - createdMs);
    }
    return 0;
}

void RunStartupBenchmark(const char* programExe, const char* floorExe, const char* benchExe, int runs) {
    std::vector<double> floor, program;
    TimeStart(floorExe, "", nullptr);  // the first start of a session loads what every later one finds ready
    for (int run = 0; run < runs; ++run) {
        floor.push_back(TimeStart(floorExe, "", nullptr));
        program.push_back(TimeStart(programExe, "", nullptr));
    }
    double floorMedian = Median(floor), programMedian = Median(program);
    std::printf("%-34s median %7.2f ms  (%d runs, alternating)\n", "start-up of the floor program", floorMedian, runs);
    std::printf("%-34s median %7.2f ms  (%d runs, alternating)\n", "start-up of platelog.exe (SR28)", programMedian,
                runs);
    std::printf("%-34s %.2f\n", "  platelog over the floor", floorMedian > 0 ? programMedian / floorMedian : 0.0);

    // Each step's median time since the step before, the first since process creation.
    std::vector<std::string> steps;
    std::vector<std::vector<double>> times;
    for (int run = 0; run < runs; ++run) {
        std::string output;
        TimeStart(benchExe, "--start-steps", &output);
        double previous = 0;
        size_t step = 0;
        for (size_t at = 0; at < output.size();) {
            size_t end = output.find('\n', at);
            if (end == std::string::npos) end = output.size();
            std::string line = output.substr(at, end - at);
            at = end + 1;
            size_t tab = line.find('\t');
            if (tab == std::string::npos) continue;
            double since = std::atof(line.c_str() + tab + 1);
            if (steps.size() <= step) {
                steps.push_back(line.substr(0, tab));
                times.emplace_back();
            }
            times[step++].push_back(since - previous);
            previous = since;
        }
    }
    std::printf("where platelog's start-up goes (medians of %d runs, each step since the one before):\n", runs);
    for (size_t i = 0; i < steps.size(); ++i)
        std::printf("  %-40s %7.2f ms\n", i == 0 ? "process creation to WinMain" : steps[i].c_str(), Median(times[i]));
}
