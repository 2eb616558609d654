// A summary of days: log documents, one a day, side by side with their TOTAL records, and the average
// day. Nothing of it touches the log the window shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"

constexpr int kMaxSummaryDays = 1000;
// Whether that many logs are more than a summary takes: the one place the limit is checked.
inline bool TooManyDays(size_t count) {
    return count > static_cast<size_t>(kMaxSummaryDays);
}

// Which view modes a summary computes, one bit each.
constexpr unsigned SummaryView(int viewMode) {
    return viewMode == kPercentView ? 2u : 1u;
}
constexpr unsigned kBothSummaryViews = 3u;

struct SummaryDay {
    std::string path;
    std::string title;  // the file name without its folder
    bool readable = false;
    int entries = 0;
    EntryNutrients totals[2] = {};  // the TOTAL record, by view mode (kAmountsView, kPercentView)
};

struct DaySummary {
    std::vector<SummaryDay> days;  // in the order of their titles
    int readableDays = 0;
    EntryNutrients average[2] = {};  // by view mode, as the totals
    int32_t meanEntriesTenths = 0;
};

// Reads every document as Open does, computes its TOTAL record in the views asked for and averages the
// readable days. A document that cannot be read or is damaged becomes a day that is left out of the
// average; a saved empty log is a day without entries. 0 for no paths or more than kMaxSummaryDays.
int SummarizeDays(const std::vector<std::string>& paths, unsigned views, DaySummary* summary);
// The average and the readable day count from the summary's days, in the views asked for.
void AverageDays(unsigned views, DaySummary* summary);

// "Summary of 6 days (1 could not be read)".
std::string SummaryTitle(const DaySummary& summary);
// The table: "Log", "Entries" and the nutrient headers of the view mode, then a row per day and the
// AVERAGE row (row number days.size()). The nutrient cells are those of the log's TOTAL row.
int SummaryColumnCount(ColumnChoice choice);
void FormatSummaryHeaders(int viewMode, ColumnChoice choice, LogRowTexts* out);
void FormatSummaryRow(const DaySummary& summary, int row, int viewMode, ColumnChoice choice,
                      LogRowTexts* out);
// The whole table as CSV, each record ended by CR LF.
void FormatSummaryCsv(const DaySummary& summary, int viewMode, ColumnChoice choice, std::string* out);
