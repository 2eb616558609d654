// How one nutrient went over the days of a summary: a bar per day, the average and the Daily Value as
// lines, on a round axis. Drawing steps, so that the window and the printout show the same chart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logdoc/day_summary.h"
#include "printing/print_layout.h"

// A day's label under its bar: its file name without ".mtf".
std::string DayLabel(const std::string& title);

// The distance between two marks of an axis that reaches `highest` (a value in its slot's units, as a
// record holds it): 1, 2, 2.5 or 5 times a power of ten, so that the axis has at most four steps.
int64_t AxisStep(int64_t highest, int slot);

// One bar per day in the summary's order, as high as the day's total in the view mode (none for a day
// that could not be read, which is shaded, or for a total of 0 or less); bars over 100 % of the Daily
// Value in their own colour; the average as a dashed line and, in the percent view of a nutrient with
// a Daily Value, 100 % as a rule; a title line above and the labels under the bars, as many as fit
// without touching. 0, with no steps, when the area has no room for a chart.
int LayOutDayChart(const DaySummary& summary, int slot, int viewMode, const DrawingArea& metrics,
                   std::vector<PrintStep>* steps);

// What the Summary of Days prints under its table: the chart of its nutrient, then the average day's
// bars under their caption.
struct SummaryDrawing {
    const DaySummary* summary;
    int slot;
    int viewMode;
    std::string barsCaption;
};
// Appends the drawing to a pass that ends with its table's last page: under the table when it fits
// there, else on a page of its own.
void AppendUnderTable(const SummaryDrawing& drawing, int entryCount, const PrintMetrics& metrics,
                      const std::function<int(const std::string&)>& textWidth, std::vector<PrintStep>* pass);
