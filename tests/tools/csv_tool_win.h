// Running the real platelog-csv as its own process beside the program's windows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

// Runs the tool with the arguments and returns its exit code (1234 when it could not be run).
inline DWORD RunCsvTool(const std::string& arguments) {
    std::string commandLine = "platelog-csv.exe " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(PLATELOG_CSV_EXE, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << PLATELOG_CSV_EXE;
        return 1234;
    }
    DWORD exitCode = 1234;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}
