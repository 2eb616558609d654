// The Open dialog's list of chosen logs: a folder and names, one path, or a list the dialog had to cut.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logdoc/day_summary.h"
#include "shell/chosen_files.h"

namespace {

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
