// The bars of a summary of days: for each nutrient that has a Daily Value, the average day's share of it,
// laid out as plain drawing steps that the window replays with GDI.
#pragma once

#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "printing/print_layout.h"

// The percentage at the right end of every bar's track; a longer bar is cut there.
constexpr int kBarScalePercent = 200;

struct BarMetrics {
    PrintRect area;  // where the bars may draw
    int lineHeight;  // a line of the label text
    int labelWidth;  // room for the widest label
};

// kText draws `text` at the top left of `rect`, clipped to it; kBar fills `rect`; kLine runs from
// (rect.left, rect.top) to (rect.right, rect.bottom).
enum class BarStepKind { kText, kBar, kLine };
struct BarStep {
    BarStepKind kind;
    PrintRect rect;
    std::string text;
};

// The height that shows every bar in `columns` columns of lines `lineHeight` high.
int SummaryBarsHeight(int lineHeight, int columns);

// One bar per nutrient with a Daily Value, in slot order and in as many columns as the area's height
// needs: the label "<nutrient> <percent>%", a bar as long as the percent in the percent view's record,
// and a line at 100 %. 0, with no steps, when not even one row of bars fits.
int LayOutSummaryBars(const EntryNutrients& percents, const BarMetrics& metrics, std::vector<BarStep>* steps);
