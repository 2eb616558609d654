// The summary of days: the average of the readable days by the one rounding rule. (Reading the days is
// proven against the program's own log in the window's test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "logdoc/day_summary.h"

namespace {

TEST(DaySummary, AveragesTheReadableDaysByTheOneRoundingRule) {
    struct Day {
        bool readable;
        int32_t value;  // in every slot of the day's totals, in both views
        int entries;
    };
    const struct {
        std::vector<Day> days;
        int32_t average;
        const char* meanEntries;
    } cases[] = {
        {{{true, 2345, 4}}, 2345, "4.0"},
        {{{true, 2000, 1}, {true, 2001, 2}}, 2001, "1.5"},  // 2000.5: halfway rounds up
        // 29 / 7 = 4.14 and 71 / 7 = 10.14: down
        {{{true, 1, 1}, {true, 2, 2}, {true, 3, 3}, {true, 4, 4}, {true, 5, 5}, {true, 6, 6}, {true, 8, 50}},
         4, "10.1"},
        // 7004 / 7 = 1000.57, 53 / 7 = 7.57: up
        {{{true, 1000, 50}, {true, 1000, 0}, {true, 1000, 3}, {true, 1000, 0}, {true, 1001, 0},
          {true, 1001, 0}, {true, 1002, 0}},
         1001, "7.6"},
        {{{true, 10, 3}, {false, 99999, 9}, {true, 13, 2}}, 12, "2.5"},  // 11.5: the unreadable day is out
    };
    for (const auto& c : cases) {
        DaySummary summary;
        for (const Day& d : c.days) {
            SummaryDay day;
            day.readable = d.readable;
            day.entries = d.entries;
            for (EntryNutrients& totals : day.totals)
                std::fill(std::begin(totals.amounts), std::end(totals.amounts), d.value);
            summary.days.push_back(day);
        }
        AverageDays(kBothSummaryViews, &summary);
        for (const EntryNutrients& average : summary.average)
            for (int slot = 0; slot < kNutrientCount; ++slot)
                ASSERT_EQ(average.amounts[slot], c.average) << c.meanEntries << ", slot " << slot;
        LogRowTexts row;
        FormatSummaryRow(summary, static_cast<int>(c.days.size()), kPercentView, ColumnChoice::kColumnSet,
                         &row);
        EXPECT_STREQ(row.cells[0], "AVERAGE");
        EXPECT_STREQ(row.cells[1], c.meanEntries);
    }
}

}  // namespace
