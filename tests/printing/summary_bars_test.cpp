// The bars of a summary: a bar per nutrient with a Daily Value, as long as its percent on the track's
// scale, cut at the track's end, with the 100 % line half way along the track.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "printing/summary_bars.h"

namespace {

// Nine rows of 16-pixel lines with 6 pixels between them fit 192 pixels: two columns of 300.
constexpr BarMetrics kMetrics = {{10, 20, 610, 212}, 16, 150};

struct Bar {
    std::string label;
    const BarStep* bar = nullptr;
    const BarStep* line = nullptr;
};

std::vector<Bar> Bars(const std::vector<BarStep>& steps) {
    std::vector<Bar> bars;
    for (const BarStep& step : steps) {
        if (step.kind == BarStepKind::kText) bars.push_back({step.text});
        if (step.kind == BarStepKind::kBar) bars.back().bar = &step;
        if (step.kind == BarStepKind::kLine) bars.back().line = &step;
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
    std::vector<BarStep> steps;
    ASSERT_EQ(LayOutSummaryBars(percents, kMetrics, &steps), 1);
    std::vector<Bar> bars = Bars(steps);
    ASSERT_EQ(bars.size(), 18u);
    for (const BarStep& step : steps)
        EXPECT_TRUE(step.rect.left >= 10 && step.rect.right <= 610 && step.rect.top >= 20 &&
                    step.rect.bottom <= 212)
            << step.text;
    // Calcium is the first bar of the first column, Vitamin C the last of the second (slots 7 and 26).
    const struct {
        int index;
        const char* label;
        int barRight;  // 0 for no bar
    } expected[] = {
        // Each track runs from 150 + 6 past the column's left to 6 short of its right: 138 wide.
        {0, "Calcium 0%", 0},
        {2, "Iron 100.000%", 10 + 156 + 69},
        {3, "Sodium 50%", 10 + 156 + 35},  // 34.5, to the nearest pixel
        {10, "Thiamin -5.000%", 0},
        {17, "Vitamin C 250.000%", 310 + 156 + 138},
    };
    for (const auto& e : expected) {
        const Bar& bar = bars[e.index];
        EXPECT_EQ(bar.label, e.label);
        ASSERT_NE(bar.line, nullptr) << e.label;
        int trackLeft = (e.index < 9 ? 10 : 310) + 156;
        EXPECT_EQ(bar.line->rect.left, trackLeft + 69) << e.label;
        EXPECT_EQ(bar.line->rect.right, bar.line->rect.left) << e.label;
        EXPECT_EQ(bar.bar ? bar.bar->rect.right : 0, e.barRight) << e.label;
        if (bar.bar) {
            EXPECT_EQ(bar.bar->rect.left, trackLeft) << e.label;
        }
    }
    EXPECT_EQ(bars[9].label.rfind("Vitamin E ", 0), 0u);  // a bar though the log has no column for it
    // An area lower than a line has no room for any bar.
    steps.clear();
    EXPECT_EQ(LayOutSummaryBars(percents, {{0, 0, 600, 15}, 16, 150}, &steps), 0);
    EXPECT_TRUE(steps.empty());
}

}  // namespace
