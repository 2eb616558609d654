// File > Summary of Days: the Open dialog for several log documents and the modal Summary of Days
// window with their table, the average day's bars, Save as CSV and Print.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

constexpr char kSummaryCaption[] = "Summary of Days";
constexpr char kNoDayReadMessage[] = "None of the chosen logs could be read.";
constexpr char kTooManyLogsMessage[] = "A summary takes at most 1,000 logs. Choose fewer.";
constexpr char kNamesDoNotFitMessage[] =
    "The names of the chosen logs are too long to take them all. Choose fewer logs.";
constexpr char kCsvOverLogFormat[] =
    "%s is one of the logs of the summary. Save the CSV file under another name.";
constexpr char kSummaryPrintFailed[] = "Could not print the summary.";

// The command: the Open dialog for the logs, then the window.
LRESULT ShowDaySummary(HWND owner);
// The window for these documents, in the log's view mode; a message instead when none can be read.
INT_PTR ShowDaySummaryOf(HWND owner, const std::vector<std::string>& paths);

// Test seam: the size of the buffer the Open dialog writes the chosen names into (0: the program's own).
void SetSummaryChoiceSize(size_t size);
