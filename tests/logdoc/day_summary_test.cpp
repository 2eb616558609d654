// The summary of days: the average of the readable days by the one rounding rule, each day the TOTAL
// record its document gives when opened, and the Open dialog's list of chosen files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "logdoc/day_summary.h"
#include "tests/logdoc/document_samples.h"
#include "tests/test_files.h"

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
        {{{true, 0, 0}, {true, 1, 0}}, 1, "0.0"},
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

TEST(DaySummary, EachDayIsItsDocumentsTotalRecordInTheOrderOfTheNames) {
    std::vector<LogEntry> log = {samples::Food("RICE", 150, kMeasureGrams, kSourceUsda),
                                 samples::Food("Soup", 2, kMeasureNone, kSourceMyFoods)};
    log[1].values[kIron] = 10000;  // a label's 10 %, which the amounts view turns into 1.8 mg
    std::string damaged = samples::Encode(log.data(), 2);
    damaged[20] ^= 1;
    const std::pair<const char*, std::string> files[] = {
        {"summary-b.mtf", samples::Encode(log.data(), 2)},
        {"summary-C.mtf", damaged},
        {"summary-a.mtf", samples::Encode(nullptr, 0)},  // a saved empty log: a day without entries
    };
    std::vector<std::string> paths = {TempPath("summary-0-missing.mtf")};
    for (const auto& file : files) {
        paths.push_back(TempPath(file.first));
        WriteFileBytes(paths.back(), file.second);
    }
    DaySummary summary;
    ASSERT_EQ(SummarizeDays(paths, kBothSummaryViews, &summary), 1);
    ASSERT_EQ(summary.days.size(), 4u);
    const char* titles[] = {"summary-0-missing.mtf", "summary-a.mtf", "summary-b.mtf", "summary-C.mtf"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(summary.days[i].title, titles[i]);
        EXPECT_EQ(summary.days[i].readable, i == 1 || i == 2) << titles[i];
    }
    EXPECT_EQ(summary.days[2].entries, 2);
    EXPECT_EQ(SummaryTitle(summary), "Summary of 2 days (2 could not be read)");
    for (int view : {kAmountsView, kPercentView}) {
        SetViewMode(view);
        ReplaceEntries(log.data(), 2);
        ComputeTotals();
        EXPECT_EQ(
            std::memcmp(&summary.days[2].totals[view], &NutrientsAt(kTotalsRecord), sizeof(EntryNutrients)),
            0);
        for (int slot = 0; slot < kNutrientCount; ++slot)
            EXPECT_EQ(summary.days[1].totals[view].amounts[slot], 0);
    }
    ResetLogState();
    for (size_t i = 1; i < paths.size(); ++i)
        std::remove(paths[i].c_str());
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
