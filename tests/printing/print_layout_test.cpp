// The printout's page geometry: pages per pass, column bands, the alignment rule and the row
// positions with their 1.3 / 2.3 / 1.6 line offsets cut toward zero.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "foodlog/log_columns.h"
#include "printing/print_layout.h"

namespace {

// A page of 5100 units with 20-unit printer characters (margin 140) and 6-pixel screen characters.
// A line height of 97 makes every row offset a fraction, so each position shows the cut.
constexpr PrintMetrics kMetrics = {5100, 97, 20, 6, 6600};

PrintText Text(const std::string& text, int width) {
    return {text, width};
}

// A column whose texts all measure 10 units per character.
PrintColumn Column(const std::string& header, int screenWidth, const std::vector<std::string>& cells) {
    PrintColumn column{Text(header, 10 * static_cast<int>(header.size())), screenWidth, {}};
    for (const std::string& cell : cells)
        column.cells.push_back(Text(cell, 10 * static_cast<int>(cell.size())));
    return column;
}

std::vector<PrintStep> Pass(const std::vector<PrintColumn>& columns, int entries,
                            const PrintMetrics& metrics = kMetrics) {
    std::vector<PrintStep> steps;
    EXPECT_EQ(LayOutPass(columns, entries, metrics, &steps), 1);
    return steps;
}

int Count(const std::vector<PrintStep>& steps, PrintStepKind kind) {
    int count = 0;
    for (const PrintStep& step : steps)
        count += step.kind == kind;
    return count;
}

// The texts of each page, in drawing order.
std::vector<std::vector<std::string>> PageTexts(const std::vector<PrintStep>& steps) {
    std::vector<std::vector<std::string>> pages;
    for (const PrintStep& step : steps) {
        if (step.kind == PrintStepKind::kStartPage) pages.emplace_back();
        if (step.kind == PrintStepKind::kText) pages.back().push_back(step.text);
    }
    return pages;
}

void ExpectText(const PrintStep& step, const char* text, int x, int y, PrintRect clip) {
    EXPECT_EQ(step.kind, PrintStepKind::kText);
    EXPECT_EQ(step.text, text);
    EXPECT_EQ(step.x, x) << text;
    EXPECT_EQ(step.y, y) << text;
    EXPECT_EQ(std::tie(step.clip.left, step.clip.top, step.clip.right, step.clip.bottom),
              std::tie(clip.left, clip.top, clip.right, clip.bottom))
        << text;
}

void ExpectRule(const PrintStep& step, int left, int right, int y) {
    EXPECT_EQ(step.kind, PrintStepKind::kRule);
    EXPECT_EQ(step.x, left);
    EXPECT_EQ(step.x2, right);
    EXPECT_EQ(step.y, y);
    EXPECT_EQ(step.y2, y);
}

TEST(PrintLayout, OneEntryPrintsHeaderRuleEntryRuleAndTotalBelow) {
    // 120 px = 20 characters = 400 units from the margin at 140; 60 px = 10 characters = 200 units.
    std::vector<PrintColumn> columns = {Column("Description", 120, {"APPLE", "TOTAL"}),
                                        Column("Calories", 60, {"52", "52"})};
    std::vector<PrintStep> steps = Pass(columns, 1);
    ASSERT_EQ(steps.size(), 2u + 2 * 5);
    EXPECT_EQ(steps.front().kind, PrintStepKind::kStartPage);
    EXPECT_EQ(steps.back().kind, PrintStepKind::kEndPage);

    ExpectText(steps[1], "Description", 140, 0, {140, 0, 540, 97});
    ExpectRule(steps[2], 140, 540, 102);
    ExpectText(steps[3], "APPLE", 140, 126, {140, 126, 540, 223});  // 1.3 and 2.3 lines, cut
    ExpectRule(steps[4], 140, 540, 228);                            // 223.1 + 5, cut
    ExpectText(steps[5], "TOTAL", 140, 252, {140, 252, 540, 349});  // row 1 at 2.6 lines: 0.3 lower

    // Narrower texts of the next column end at its right edge.
    ExpectText(steps[6], "Calories", 740 - 80, 0, {540, 0, 740, 97});
    ExpectRule(steps[7], 540, 740, 102);
    ExpectText(steps[8], "52", 740 - 20, 126, {540, 126, 740, 223});
    ExpectRule(steps[9], 540, 740, 228);
    ExpectText(steps[10], "52", 740 - 20, 252, {540, 252, 740, 349});
}

TEST(PrintLayout, AllColumnsSpillOntoASecondPageWithTheHeaderAndEveryRow) {
    std::vector<PrintColumn> columns;
    for (int position = 0; position < kFieldPositions; ++position)
        columns.push_back(Column("H" + std::to_string(position), kColumnWidths[position],
                                 {"a" + std::to_string(position), "b" + std::to_string(position),
                                  "TOTAL" + std::to_string(position)}));
    std::vector<PrintStep> steps = Pass(columns, 2);
    EXPECT_EQ(Count(steps, PrintStepKind::kStartPage), 2);
    EXPECT_EQ(Count(steps, PrintStepKind::kEndPage), 2);
    // Two rules a column: under the header and under the last entry.
    EXPECT_EQ(Count(steps, PrintStepKind::kRule), 2 * kFieldPositions);

    // The first page holds positions 0..18 (usable width 4820); the second starts again at the margin.
    std::vector<std::vector<std::string>> pages = PageTexts(steps);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 19u * 4);
    EXPECT_EQ(pages[1].size(), 15u * 4);
    EXPECT_EQ(pages[1][0], "H19");
    EXPECT_EQ(pages[1][1], "a19");
    EXPECT_EQ(pages[1][3], "TOTAL19");
    EXPECT_EQ(pages[1].back(), "TOTAL33");
    size_t secondPage = 0;
    while (steps[secondPage].kind != PrintStepKind::kEndPage)
        ++secondPage;
    const PrintStep& header = steps[secondPage + 2];
    EXPECT_EQ(header.text, "H19");
    EXPECT_EQ(header.clip.left, 140);
    EXPECT_EQ(header.clip.right, 140 + 10 * 20);
    // No band reaches past the usable width.
    for (const PrintStep& step : steps) {
        if (step.kind == PrintStepKind::kText) {
            EXPECT_LE(step.clip.right, 5100 - 140) << step.text;
        }
    }
}

TEST(PrintLayout, RowsThatDoNotFitAPageGoOnTheNextWithTheHeaderAgainAndTheTotalUnderTheLast) {
    // A page of 1000 units holds 7 rows of 97 under the header, with room for the TOTAL row: 10.3 - 2.6.
    const PrintMetrics shortPage = {5100, 97, 20, 6, 1000};
    const struct {
        int entries;
        std::vector<int> rowsOnPages;
    } cases[] = {{7, {7}}, {8, {7, 1}}, {15, {7, 7, 1}}, {0, {0}}};
    for (const auto& c : cases) {
        std::vector<std::string> cells;
        for (int m = 0; m < c.entries; ++m)
            cells.push_back("r" + std::to_string(m));
        cells.push_back("TOTAL");
        const std::vector<PrintStep> steps = Pass({Column("Log", 100, cells), Column("Calories", 60, cells)}, c.entries, shortPage);
        const std::vector<std::vector<std::string>> pages = PageTexts(steps);
        ASSERT_EQ(pages.size(), c.rowsOnPages.size()) << c.entries;
        int next = 0;
        for (size_t page = 0; page < pages.size(); ++page) {
            const bool last = page + 1 == pages.size();
            const size_t perColumn = 1 + c.rowsOnPages[page] + (last ? 1 : 0);
            ASSERT_EQ(pages[page].size(), 2 * perColumn) << c.entries << " entries, page " << page;
            EXPECT_EQ(pages[page][0], "Log");
            EXPECT_EQ(pages[page][perColumn], "Calories");
            for (int row = 0; row < c.rowsOnPages[page]; ++row)
                EXPECT_EQ(pages[page][1 + row], "r" + std::to_string(next + row));
            next += c.rowsOnPages[page];
            EXPECT_EQ(pages[page][perColumn - 1] == "TOTAL", last);
        }
        // Every text is on its page, and the last page's table ends where a drawing under it may start.
        int lowest = 0;
        for (const PrintStep& step : steps) {
            if (step.kind == PrintStepKind::kStartPage) lowest = 0;
            if (step.kind == PrintStepKind::kText) lowest = std::max(lowest, step.clip.bottom);
            EXPECT_LE(lowest, shortPage.pageHeight);
        }
        EXPECT_EQ(TableBottom(c.entries, shortPage), lowest) << c.entries;
    }
}

TEST(PrintLayout, AFirstColumnWiderThanThePageLeavesOneBlankPageFirst) {
    // 2000 px = 333 characters = 6660 units, wider than the usable 4820.
    std::vector<PrintColumn> columns = {Column("Description", 2000, {"A FOOD", "TOTAL"}),
                                        Column("Calories", 60, {"1", "1"})};
    std::vector<PrintStep> steps = Pass(columns, 1);
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ(steps[0].kind, PrintStepKind::kStartPage);
    EXPECT_EQ(steps[1].kind, PrintStepKind::kEndPage);
    EXPECT_EQ(steps[2].kind, PrintStepKind::kStartPage);
    ExpectText(steps[3], "Description", 140, 0, {140, 0, 140 + 6660, 97});
    // The next column does not fit beside it either: a third page, not a second blank one.
    std::vector<std::vector<std::string>> pages = PageTexts(steps);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(pages[0].empty());
    EXPECT_EQ(pages[1].size(), 3u);
    EXPECT_EQ(pages[2].size(), 3u);
}

TEST(PrintLayout, EveryCopyIsTheWholePassAgain) {
    std::vector<PrintColumn> columns;
    for (int position = 0; position < kFieldPositions; ++position)
        columns.push_back(Column("H", kColumnWidths[position], {"x", "y"}));
    std::vector<PrintStep> once = Pass(columns, 1);
    std::vector<PrintStep> twice;
    ASSERT_EQ(LayOutJob(columns, 1, kMetrics, 2, &twice), 1);
    ASSERT_EQ(twice.size(), 2 * once.size());
    for (size_t i = 0; i < twice.size(); ++i) {
        const PrintStep& a = twice[i];
        const PrintStep& b = once[i % once.size()];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.text, b.text);
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
        EXPECT_EQ(a.clip.right, b.clip.right);
    }
    EXPECT_EQ(Count(twice, PrintStepKind::kStartPage), 4);
    // No copy count is one copy.
    std::vector<PrintStep> none;
    ASSERT_EQ(LayOutJob(columns, 1, kMetrics, 0, &none), 1);
    EXPECT_EQ(none.size(), once.size());
}

TEST(PrintLayout, TextsAlignRightInTheirBandAndWideOnesStartAtItsLeftEdge) {
    // Column 1's band is 540..740 (200 units).
    PrintColumn first = Column("D", 120, {"x", "y", "z", "w"});
    first.cells[0].width = 900;  // wider than its band: still at the margin, cut by the clip
    PrintColumn second{Text("Narrow", 60), 60, {Text("wide", 250), Text("exact", 200), Text("less", 199),
                                                Text("TOTAL", 0)}};
    std::vector<PrintStep> steps = Pass({first, second}, 3);
    std::vector<const PrintStep*> texts;
    for (const PrintStep& step : steps)
        if (step.kind == PrintStepKind::kText) texts.push_back(&step);
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts[1]->x, 140);
    EXPECT_EQ(texts[1]->clip.right, 540);
    EXPECT_EQ(texts[3]->x, 140);  // column 0 never right-aligns, even a short text
    EXPECT_EQ(texts[5]->x, 740 - 60);
    EXPECT_EQ(texts[6]->x, 540);  // wider than the band
    EXPECT_EQ(texts[6]->clip.left, 540);
    EXPECT_EQ(texts[6]->clip.right, 740);
    EXPECT_EQ(texts[7]->x, 540);  // exactly as wide
    EXPECT_EQ(texts[8]->x, 541);  // one unit narrower
    EXPECT_EQ(texts[9]->x, 740);  // an empty text ends at the edge too
}

TEST(PrintLayout, AFullLogEndsItsTotalRow52Point6LinesDown) {
    std::vector<std::string> cells;
    for (int m = 0; m < 50; ++m)
        cells.push_back("e" + std::to_string(m));
    cells.push_back("TOTAL");
    std::vector<PrintStep> steps = Pass({Column("Description", 120, cells)}, 50);
    ASSERT_EQ(steps.size(), 2u + 1 + 1 + 50 + 1 + 1);
    for (int m = 0; m < 50; ++m) {
        const PrintStep& row = steps[3 + m];
        EXPECT_EQ(row.text, "e" + std::to_string(m));
        EXPECT_EQ(row.y, static_cast<int>((m + 1.3) * 97));
        EXPECT_EQ(row.clip.bottom, static_cast<int>((m + 2.3) * 97));
    }
    EXPECT_EQ(steps[3 + 49].y, 4879);  // 50.3 lines
    ExpectRule(steps[53], 140, 540, 4981);  // 51.3 lines + 5
    ExpectText(steps[54], "TOTAL", 140, 5005, {140, 5005, 540, 5102});  // 51.6 to 52.6 lines
}

TEST(PrintLayout, MetricsThatCannotLayOutAPageProduceNothing) {
    std::vector<PrintColumn> columns = {Column("D", 120, {"a", "TOTAL"})};
    const PrintMetrics broken[] = {{5100, 0, 20, 6, 6600}, {5100, 97, 0, 6, 6600}, {5100, 97, 20, 0, 6600}, {0, 97, 20, 6, 6600}};
    for (const PrintMetrics& metrics : broken) {
        std::vector<PrintStep> steps;
        EXPECT_EQ(LayOutJob(columns, 1, metrics, 1, &steps), 0);
        EXPECT_TRUE(steps.empty());
    }
    // A column that lacks the TOTAL row's cell.
    std::vector<PrintStep> steps;
    EXPECT_EQ(LayOutPass(columns, 2, kMetrics, &steps), 0);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(PrintedColumnWidth(65, kMetrics), 10 * 20);  // 65 / 6 = 10 characters
    EXPECT_EQ(PrintedColumnWidth(5, kMetrics), 0);
}

}  // namespace
