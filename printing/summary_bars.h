// The bars of a summary of days: for each nutrient that has a Daily Value, the average day's share of it,
// laid out as drawing steps that the window and the printout replay alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "printing/print_layout.h"

// The percentage at the right end of every bar's track; a longer bar is cut there.
constexpr int kBarScalePercent = 200;
// The columns the bars stand in, in the window and on paper.
constexpr int kSummaryBarColumns = 2;

// A share of the Daily Value as a person reads it, "117 %": a percent record's value in whole percent,
// rounded by the program's one rule.
std::string WholePercentText(int32_t percent, int slot);
// 100 % of the Daily Value as a percent record holds it.
int32_t FullDailyValue(int slot);
// Whether a percent record's value is more than the whole Daily Value.
bool IsOverDailyValue(int32_t percent, int slot);
// The nutrient's name without its unit, as the percent view's header gives it.
std::string NutrientName(int slot);

// The height that shows every bar in `columns` columns of lines `lineHeight` high.
int SummaryBarsHeight(int lineHeight, int columns);

// One bar per nutrient with a Daily Value, in slot order and in as many columns as the area's height
// needs: the label "<nutrient> <percent> %", a bar as long as the percent in the percent view's record
// (in the over colour past 100 %), and a rule at 100 %. 0, with no steps, when not even one row of bars
// fits.
int LayOutSummaryBars(const EntryNutrients& percents, const DrawingArea& metrics, std::vector<PrintStep>* steps);
