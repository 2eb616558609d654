// The summary of days: the average of the readable days by the one rounding rule, and the Open dialog's
// list of chosen files. (Reading the days is proven against the program's own log in the window's test.)
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
        {{{true, 1, 1}, {true, 2, 2}, {true, 3, 3}, {true, 4, 4}, {true, 5, 5}, {true, 6, 6}, {true, 8, 50}},
         4,
         "10.1"},  // 29 / 7 = 4.14 and 71 / 7 = 10.14: down
        {{{true, 1000, 50},
          {true, 1000, 0},
          {true, 1000, 3},
          {true, 1000, 0},
          {true, 1001, 0},
          {true, 1001, 0},
          {true, 1002, 0}},
         1001,
         "7.6"},  // 7004 / 7 = 1000.57, 53 / 7 = 7.57: up
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

TEST(SplitChosenFiles, ReadsTheFolderAndNamesAndRefusesACutList) {
    using S = std::string;
    const struct {
        S answer;
        ChosenFiles result;
        std::vector<S> paths;
    } cases[] = {
        {S("C:\\logs\0a.mtf\0b c.mtf\0\0", 23), ChosenFiles::kOk, {"C:\\logs\\a.mtf", "C:\\logs\\b c.mtf"}},
        {S("C:\\\0a.mtf\0b.mtf\0\0", 17), ChosenFiles::kOk, {"C:\\a.mtf", "C:\\b.mtf"}},
        {S("C:\\logs\\one.mtf\0\0", 17), ChosenFiles::kOk, {"C:\\logs\\one.mtf"}},
        {S("\0\0", 2), ChosenFiles::kNone, {}},
        {S("C:\\logs\0a.mtf\0b.m", 17), ChosenFiles::kCut, {}},
        {S("C:\\logs\0a.mtf\0", 14), ChosenFiles::kCut, {}},
    };
    for (const auto& c : cases) {
        std::vector<S> paths = {"left over"};
        EXPECT_EQ(SplitChosenFiles(c.answer.data(), c.answer.size(), &paths), c.result) << c.answer;
        EXPECT_EQ(paths, c.result == ChosenFiles::kOk ? c.paths : std::vector<S>{}) << c.answer;
    }
    for (int names : {kMaxSummaryDays, kMaxSummaryDays + 1}) {
        S answer("D:\\days", 8);
        for (int i = 0; i < names; ++i)
            answer += std::to_string(i) + ".mtf" + S(1, '\0');
        answer.push_back('\0');
        std::vector<S> paths;
        EXPECT_EQ(SplitChosenFiles(answer.data(), answer.size(), &paths),
                  names > kMaxSummaryDays ? ChosenFiles::kTooMany : ChosenFiles::kOk);
    }
}

}  // namespace
