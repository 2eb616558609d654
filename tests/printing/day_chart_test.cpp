// The chart of one nutrient over the days: bars in proportion, the average and 100 % where the AVERAGE
// cell and the Daily Value put them, no bar for a day that could not be read, labels that never touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "printing/day_chart.h"

namespace {

// Eight pixels a character, lines 20 high.
const DrawingArea kArea = {{0, 0, 1000, 400}, 20, [](const std::string& text) { return 8 * static_cast<int>(text.size()); }};

// Days named 2026-01-01.mtf on, with `values` as their Sodium totals in mg (-1: could not be read); 2400 mg
// is its Daily Value.
DaySummary Days(const std::vector<int32_t>& values) {
    DaySummary summary;
    for (size_t i = 0; i < values.size(); ++i) {
        SummaryDay day;
        char title[32];
        std::snprintf(title, sizeof title, "%04d-%02d-%02d.mtf", 2026 + static_cast<int>(i / 365),
                      1 + static_cast<int>(i / 28 % 12), 1 + static_cast<int>(i % 28));
        day.title = title;
        day.readable = values[i] >= 0;
        day.entries = 1;
        day.totals[kAmountsView].amounts[kSodium] = values[i];
        day.totals[kPercentView].amounts[kSodium] = values[i] * 100 / 2400;
        summary.days.push_back(day);
    }
    AverageDays(kBothSummaryViews, &summary);
    return summary;
}

std::vector<PrintStep> Chart(const DaySummary& summary, int viewMode, const DrawingArea& area = kArea) {
    std::vector<PrintStep> steps;
    EXPECT_EQ(LayOutDayChart(summary, kSodium, viewMode, area, &steps), 1);
    return steps;
}

std::vector<PrintStep> OfKind(const std::vector<PrintStep>& steps, PrintStepKind kind) {
    std::vector<PrintStep> found;
    std::copy_if(steps.begin(), steps.end(), std::back_inserter(found),
                 [kind](const PrintStep& step) { return step.kind == kind; });
    return found;
}

// The chart's baseline (its widest rule), the height a unit takes from its axis mark of `mark`, and its
// other level rules (100 % of the Daily Value).
struct Scale {
    int baseline = 0;
    double perUnit = 0;
    std::vector<int> levels;
};
Scale ScaleOf(const std::vector<PrintStep>& steps, int32_t mark) {
    Scale scale;
    for (const PrintStep& rule : OfKind(steps, PrintStepKind::kRule)) {
        if (rule.y != rule.y2 || rule.x2 - rule.x < 500) continue;
        if (scale.baseline == 0) {
            scale.baseline = rule.y;
        } else {
            scale.levels.push_back(rule.y);
        }
    }
    for (const PrintStep& number : OfKind(steps, PrintStepKind::kNumber))
        if (number.text == std::to_string(mark)) scale.perUnit = (scale.baseline - (number.clip.top + number.clip.bottom) / 2.0) / mark;
    return scale;
}

TEST(DayChart, BarsAreInProportionAndTheLinesAtTheAverageAndTheDailyValue) {
    // Day 3 could not be read, day 5 had none; 3000 mg is over the Daily Value.
    const DaySummary summary = Days({1200, 2400, -1, 3000, 0, 600});
    const std::vector<PrintStep> steps = Chart(summary, kAmountsView);
    const Scale scale = ScaleOf(steps, 1000);
    ASSERT_GT(scale.perUnit, 0);
    EXPECT_TRUE(scale.levels.empty());  // no 100 % line in the amounts view
    std::vector<PrintStep> bars = OfKind(steps, PrintStepKind::kBar);
    const std::vector<PrintStep> over = OfKind(steps, PrintStepKind::kOverBar);
    ASSERT_TRUE(bars.size() == 3 && over.size() == 1);
    bars.insert(bars.begin() + 2, over[0]);
    const int32_t drawn[] = {1200, 2400, 3000, 600};
    for (size_t i = 0; i < bars.size(); ++i) {
        EXPECT_EQ(bars[i].clip.bottom, scale.baseline);
        EXPECT_NEAR(scale.baseline - bars[i].clip.top, drawn[i] * scale.perUnit, 1.0) << drawn[i];
    }
    // The unreadable day is shaded between days 2 and 4, with no bar.
    const std::vector<PrintStep> unread = OfKind(steps, PrintStepKind::kUnreadDay);
    ASSERT_EQ(unread.size(), 1u);
    EXPECT_TRUE(unread[0].clip.left > bars[1].clip.right && unread[0].clip.right < bars[2].clip.left);
    // The average line stands at the AVERAGE cell: the five readable days' 7200 / 5.
    ASSERT_EQ(summary.average[kAmountsView].amounts[kSodium], 1440);
    const std::vector<PrintStep> average = OfKind(steps, PrintStepKind::kAverageLine);
    ASSERT_EQ(average.size(), 1u);
    EXPECT_NEAR(scale.baseline - average[0].y, 1440 * scale.perUnit, 1.0);

    // In the percent view the days are shares of 100, 100 % has its line, and the longer title breaks.
    const std::vector<PrintStep> inPercent = Chart(summary, kPercentView);
    const Scale percent = ScaleOf(inPercent, 100);
    ASSERT_EQ(percent.levels.size(), 1u);
    EXPECT_NEAR(percent.baseline - percent.levels[0], 100 * percent.perUnit, 1.0);
    EXPECT_EQ(OfKind(steps, PrintStepKind::kText).size(), 1u);
    EXPECT_EQ(OfKind(inPercent, PrintStepKind::kText).size(), 2u);
}

TEST(DayChart, TheAxisHasAFewRoundNumbers) {
    const struct {
        int64_t highest;
        int slot;
        int64_t step;
    } cases[] = {
        {2345, kSodium, 1000}, {100, kSodium, 25},     {0, kSodium, 1},
        {7, kCalories, 2},     {0, kThiamin, 250},     {116776, kIron, 50000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AxisStep(c.highest, c.slot), c.step) << c.highest;
    std::vector<PrintStep> steps;
    EXPECT_EQ(LayOutDayChart(Days({}), kSodium, kAmountsView, kArea, &steps), 0);  // no days, no chart
}

TEST(DayChart, LabelsThinOutAndNeverTouchFromTwoDaysToAThousand) {
    for (int days : {2, 7, 90, 365, 1000}) {
        const std::vector<PrintStep> steps = Chart(Days(std::vector<int32_t>(static_cast<size_t>(days), 1000)), kAmountsView);
        std::vector<PrintStep> labels = OfKind(steps, PrintStepKind::kLabel);
        ASSERT_FALSE(labels.empty()) << days;
        EXPECT_EQ(OfKind(steps, PrintStepKind::kBar).size(), static_cast<size_t>(days));
        if (days <= 7) {
            EXPECT_EQ(labels.size(), static_cast<size_t>(days));
        }
        EXPECT_EQ(labels[0].text, "2026-01-01");
        for (size_t i = 1; i < labels.size(); ++i)
            EXPECT_LE(labels[i - 1].clip.right, labels[i].clip.left) << days << " days, label " << i;
        for (const PrintStep& label : labels)
            EXPECT_TRUE(label.clip.left >= 0 && label.clip.right <= 1000 && label.clip.right > label.clip.left);
    }
}

// A label near the chart's right edge moves inside it whole instead of being cut there, and never onto
// the label before it.
TEST(DayChart, TheLastDaysLabelStandsWholeInsideTheChart) {
    for (int width : {230, 300, 420}) {
        const DrawingArea narrow = {{0, 0, width, 400}, 20, kArea.textWidth};
        const std::vector<PrintStep> labels = OfKind(Chart(Days({1000, 1000, 1000}), kAmountsView, narrow), PrintStepKind::kLabel);
        ASSERT_FALSE(labels.empty()) << width;
        EXPECT_EQ(labels.back().text, "2026-01-03") << width;
        for (size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].clip.right - labels[i].clip.left, 80) << width;  // room for all ten characters
            EXPECT_LE(labels[i].clip.right, width) << width;
            if (i > 0) {
                EXPECT_LE(labels[i - 1].clip.right, labels[i].clip.left) << width;
            }
        }
    }
}

TEST(DayChart, PrintedUnderTheTableWhereItFitsElseOnAPageOfItsOwn) {
    const DaySummary summary = Days({1200, 2400});
    const SummaryDrawing drawing = {&summary, kSodium, kAmountsView, "Average day"};
    const PrintMetrics metrics = {5100, 100, 40, 6, 6600};
    for (int rows : {2, 40}) {
        std::vector<PrintStep> pass = {{PrintStepKind::kStartPage, 0, 0, 0, 0, {}, {}},
                                       {PrintStepKind::kEndPage, 0, 0, 0, 0, {}, {}}};
        AppendUnderTable(drawing, rows, metrics, kArea.textWidth, &pass);
        EXPECT_EQ(pass.back().kind, PrintStepKind::kEndPage);
        EXPECT_EQ(OfKind(pass, PrintStepKind::kStartPage).size(), rows == 2 ? 1u : 2u) << rows;
        int lowest = 0;
        for (const PrintStep& step : pass)
            if (step.kind == PrintStepKind::kText || step.kind == PrintStepKind::kBar) lowest = std::max(lowest, step.clip.bottom);
        EXPECT_LE(lowest, metrics.pageHeight) << rows;
        EXPECT_EQ(OfKind(pass, PrintStepKind::kBar).size(), 3u) << rows;  // two days and the average's Sodium
    }
}

}  // namespace
