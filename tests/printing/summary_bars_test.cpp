// The bars of a summary: a bar per nutrient with a Daily Value, as long as its percent on the track's
// scale, cut at the track's end, with the 100 % line half way along the track.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "printing/summary_bars.h"

namespace {

// Nine rows of 16-pixel lines with 6 pixels between them fit 192 pixels: two columns of 300, with labels
// measured 150 wide.
const DrawingArea kMetrics = {{10, 20, 610, 212}, 16, [](const std::string&) { return 150; }};

struct Bar {
    std::string label;
    const PrintStep* bar = nullptr;
    const PrintStep* line = nullptr;
};

std::vector<Bar> Bars(const std::vector<PrintStep>& steps) {
    std::vector<Bar> bars;
    for (const PrintStep& step : steps) {
        if (step.kind == PrintStepKind::kText) bars.push_back({step.text});
        if (step.kind == PrintStepKind::kBar || step.kind == PrintStepKind::kOverBar) bars.back().bar = &step;
        if (step.kind == PrintStepKind::kRule) bars.back().line = &step;
    }
    return bars;
}

TEST(SummaryBars, ABarIsItsPercentCutAtTheTracksEndWithTheFullLineHalfWay) {
    EntryNutrients percents = {};
    percents.amounts[kCalcium] = 0;    // whole percent
    percents.amounts[kIron] = 100000;  // thousandths of a percent
    percents.amounts[kVitaminC] = 250000;
    percents.amounts[kSodium] = 50;
    percents.amounts[kThiamin] = -5000;  // from a negative quantity: no bar
    percents.amounts[kCalories] = 9999;  // no Daily Value: no bar at all
    percents.amounts[kRiboflavin] = 116776;
    std::vector<PrintStep> steps;
    ASSERT_EQ(LayOutSummaryBars(percents, kMetrics, &steps), 1);
    std::vector<Bar> bars = Bars(steps);
    ASSERT_EQ(bars.size(), 18u);
    for (const PrintStep& step : steps) {
        const PrintRect box = step.kind == PrintStepKind::kRule ? PrintRect{step.x, step.y, step.x2, step.y2} : step.clip;
        EXPECT_TRUE(box.left >= 10 && box.right <= 610 && box.top >= 20 && box.bottom <= 212) << step.text;
    }
    // Calcium is the first bar of the first column, Vitamin C the last of the second (slots 7 and 26).
    const struct {
        int index;
        const char* label;
        int barRight;  // 0 for no bar
    } expected[] = {
        // Each track runs from 150 + 6 past the column's left to 6 short of its right: 138 wide.
        {0, "Calcium 0 %", 0},
        {2, "Iron 100 %", 10 + 156 + 69},
        {3, "Sodium 50 %", 10 + 156 + 35},  // 34.5, to the nearest pixel
        {10, "Thiamin -5 %", 0},
        {11, "Riboflavin 117 %", 310 + 156 + 81},  // whole percent, by the rounding rule
        {17, "Vitamin C 250 %", 310 + 156 + 138},
    };
    for (const auto& e : expected) {
        const Bar& bar = bars[e.index];
        EXPECT_EQ(bar.label, e.label);
        ASSERT_NE(bar.line, nullptr) << e.label;
        int trackLeft = (e.index < 9 ? 10 : 310) + 156;
        EXPECT_EQ(bar.line->x, trackLeft + 69) << e.label;
        EXPECT_EQ(bar.line->x2, bar.line->x) << e.label;
        EXPECT_EQ(bar.bar ? bar.bar->clip.right : 0, e.barRight) << e.label;
        if (bar.bar) {
            EXPECT_EQ(bar.bar->clip.left, trackLeft) << e.label;
            // Past 100 % a bar takes the over colour; exactly 100 % does not.
            EXPECT_EQ(bar.bar->kind == PrintStepKind::kOverBar, e.barRight > trackLeft + 69) << e.label;
        }
    }
    EXPECT_EQ(bars[9].label.rfind("Vitamin E ", 0), 0u);  // a bar though the log has no column for it
    // An area lower than a line has no room for any bar.
    steps.clear();
    EXPECT_EQ(LayOutSummaryBars(percents, {{0, 0, 600, 15}, 16, kMetrics.textWidth}, &steps), 0);
    EXPECT_TRUE(steps.empty());
}

}  // namespace
