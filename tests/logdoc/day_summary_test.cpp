// The summary of days: each day's TOTAL record as opening the document gives it, the average of the
// readable days by the one rounding rule, the table's rows, and the Open dialog's list of files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "logdoc/day_summary.h"
#include "tests/logdoc/document_samples.h"
#include "tests/test_files.h"
#include "tests/tools/csv_rows.h"

namespace {

struct Day {
    bool readable;
    int32_t value;  // in every slot of the day's totals
    int entries;
};

SummaryDay MakeDay(const Day& d) {
    SummaryDay day;
    day.readable = d.readable;
    day.entries = d.entries;
    for (EntryNutrients& totals : day.totals)
        for (int32_t& amount : totals.amounts)
            amount = d.value;
    return day;
}

TEST(DaySummary, AveragesTheReadableDaysByTheOneRoundingRule) {
    const struct {
        std::vector<Day> days;
        int32_t average;
        const char* meanEntries;
    } cases[] = {
        {{{true, 2345, 4}}, 2345, "4.0"},
        {{{true, 2000, 1}, {true, 2000, 2}}, 2000, "1.5"},
        {{{true, 2000, 1}, {true, 2001, 1}}, 2001, "1.0"},  // 2000.5, halfway, rounds up
        {{{true, 1, 0}, {true, 2, 0}}, 2, "0.0"},           // 1.5
        {{{true, 0, 0}, {true, 1, 0}}, 1, "0.0"},           // 0.5
        {{{true, -1, 0}, {true, -2, 0}}, -1, "0.0"},        // -1.5: the ceiling, as the rule has it
        {{{true, 1, 1}, {true, 2, 2}, {true, 3, 3}, {true, 4, 4}, {true, 5, 5}, {true, 6, 6}, {true, 8, 50}},
         4,
         "10.1"},  // 29 / 7 = 4.14; 71 / 7 = 10.14
        {{{true, 1000, 50},
          {true, 1000, 0},
          {true, 1000, 3},
          {true, 1000, 0},
          {true, 1001, 0},
          {true, 1001, 0},
          {true, 1002, 0}},
         1001,
         "7.6"},                                                         // 7004 / 7 = 1000.57; 53 / 7 = 7.57
        {{{true, 10, 3}, {false, 99999, 0}, {true, 13, 2}}, 12, "2.5"},  // 11.5; the unreadable day is out
        {{{true, 2147483647, 50}, {true, 2147483647, 50}}, 2147483647, "50.0"},
    };
    for (const auto& c : cases) {
        DaySummary summary;
        for (const Day& d : c.days)
            summary.days.push_back(MakeDay(d));
        AverageDays(kBothSummaryViews, &summary);
        int readable = 0;
        for (const Day& d : c.days)
            readable += d.readable;
        EXPECT_EQ(summary.readableDays, readable);
        for (int view = 0; view < 2; ++view)
            for (int slot = 0; slot < kNutrientCount; ++slot)
                ASSERT_EQ(summary.average[view].amounts[slot], c.average)
                    << c.meanEntries << " slot " << slot;
        LogRowTexts row;
        FormatSummaryRow(summary, static_cast<int>(summary.days.size()), kAmountsView,
                         ColumnChoice::kColumnSet, &row);
        EXPECT_STREQ(row.cells[0], "AVERAGE");
        EXPECT_STREQ(row.cells[1], c.meanEntries);
    }
}

TEST(DaySummary, TitleCountsTheDaysOfTheAverageAndTheUnreadable) {
    const struct {
        int readable, unreadable;
        const char* title;
    } cases[] = {
        {1, 0, "Summary of 1 day"},
        {7, 0, "Summary of 7 days"},
        {6, 1, "Summary of 6 days (1 could not be read)"},
        {1, 3, "Summary of 1 day (3 could not be read)"},
    };
    for (const auto& c : cases) {
        DaySummary summary;
        for (int i = 0; i < c.readable + c.unreadable; ++i)
            summary.days.push_back(MakeDay({i < c.readable, 5, 1}));
        AverageDays(kBothSummaryViews, &summary);
        EXPECT_EQ(SummaryTitle(summary), c.title);
    }
}

class DaySummaryFiles : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& path : written_)
            std::remove(path.c_str());
        ResetLogState();
    }
    std::string Write(const char* name, const std::string& bytes) {
        std::string path = TempPath(std::string("summary-") + name);
        WriteFileBytes(path, bytes);
        written_.push_back(path);
        return path;
    }
    // The TOTAL record that opening the entries in the view gives.
    static EntryNutrients OpenedTotals(const std::vector<LogEntry>& entries, int viewMode) {
        SetViewMode(viewMode);
        ReplaceEntries(entries.data(), static_cast<int>(entries.size()));
        ComputeTotals();
        return NutrientsAt(kTotalsRecord);
    }
    std::vector<std::string> written_;
};

TEST_F(DaySummaryFiles, EachDayIsItsTotalRowAndUnreadableDaysStayOutOfTheAverage) {
    std::vector<LogEntry> monday = {samples::Food("RICE", 150, kMeasureGrams, kSourceUsda),
                                    samples::Food("Soup", 2, kMeasureFirst, kSourceMyFoods)};
    monday[1].servingWeight1 = 1;
    monday[1].values[kIron] = 10000;  // a label's 10 %, which the amounts view turns into 1.8 mg
    std::vector<LogEntry> tuesday = {samples::Food("BEANS", 75, kMeasureGrams, kSourceUsda)};
    std::string damaged = samples::Encode(tuesday.data(), 1);
    damaged[20] ^= 1;
    std::vector<std::string> paths = {
        Write("2026-12-02.mtf", samples::Encode(tuesday.data(), 1)),
        Write("2026-12-04.mtf", damaged),
        Write("2026-12-01.MTF", samples::Encode(monday.data(), 2)),
        Write("2026-12-03.mtf", samples::Encode(nullptr, 0)),  // a saved empty log
        TempPath("summary-2026-12-00-missing.mtf"),
    };
    DaySummary summary;
    ASSERT_EQ(SummarizeDays(paths, kBothSummaryViews, &summary), 1);
    ASSERT_EQ(summary.days.size(), 5u);
    const struct {
        const char* title;
        bool readable;
        int entries;
        const std::vector<LogEntry>* log;
    } expected[] = {
        {"summary-2026-12-00-missing.mtf", false, 0, nullptr}, {"summary-2026-12-01.MTF", true, 2, &monday},
        {"summary-2026-12-02.mtf", true, 1, &tuesday},         {"summary-2026-12-03.mtf", true, 0, nullptr},
        {"summary-2026-12-04.mtf", false, 0, nullptr},
    };
    EntryNutrients sum[2] = {};
    for (size_t i = 0; i < summary.days.size(); ++i) {
        const SummaryDay& day = summary.days[i];
        EXPECT_EQ(day.title, expected[i].title);
        EXPECT_EQ(day.readable, expected[i].readable) << day.title;
        EXPECT_EQ(day.entries, expected[i].entries) << day.title;
        for (int view = 0; view < 2; ++view) {
            EntryNutrients totals = expected[i].log ? OpenedTotals(*expected[i].log, view) : EntryNutrients{};
            EXPECT_EQ(std::memcmp(&day.totals[view], &totals, sizeof totals), 0)
                << day.title << " view " << view;
            for (int slot = 0; slot < kNutrientCount; ++slot)
                sum[view].amounts[slot] += totals.amounts[slot];
        }
    }
    EXPECT_EQ(SummaryTitle(summary), "Summary of 3 days (2 could not be read)");
    for (int view = 0; view < 2; ++view)
        for (int slot = 0; slot < kNutrientCount; ++slot)
            EXPECT_EQ(summary.average[view].amounts[slot], RoundedMean(sum[view].amounts[slot], 3));

    // As CSV: the header, a record per day and AVERAGE, every one with the header's 28 fields.
    std::string text;
    FormatSummaryCsv(summary, kPercentView, ColumnChoice::kColumnSet, &text);
    bool ok = false;
    csv::Rows rows = csv::Parse(text, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(rows.size(), 7u);
    for (const auto& row : rows)
        EXPECT_EQ(row.size(), 28u);
    EXPECT_EQ(rows[0][1], "Entries");
    EXPECT_EQ(rows[0][9], "Iron (%)");
    EXPECT_EQ(rows[1][1], "could not be read");
    EXPECT_EQ(rows[1][2], "");
    EXPECT_EQ(rows[4][1], "0");
    EXPECT_EQ(rows[4][2], "0");
    EXPECT_EQ(rows[6][0], "AVERAGE");
    EXPECT_EQ(rows[6][1], "1.0");
}

TEST(DaySummary, RefusesNoDocumentsAndMoreThanAThousand) {
    DaySummary summary;
    EXPECT_EQ(SummarizeDays({}, kBothSummaryViews, &summary), 0);
    std::vector<std::string> paths(kMaxSummaryDays + 1, "missing.mtf");
    EXPECT_EQ(SummarizeDays(paths, kBothSummaryViews, &summary), 0);
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
        {S(), ChosenFiles::kCut, {}},
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
        EXPECT_EQ(paths.size(), names > kMaxSummaryDays ? 0u : static_cast<size_t>(names));
    }
}

}  // namespace
