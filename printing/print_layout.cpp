#include "printing/print_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kMarginChars = 7;
constexpr int kRuleGap = 5;
// Row m of the entries spans m + 1.3 to m + 2.3 lines; the TOTAL row sits 0.3 line lower, under the rule.
constexpr double kEntryTop = 1.3;
constexpr double kEntryBottom = 2.3;
constexpr double kTotalTop = 1.6;
constexpr double kTotalBottom = 2.6;

// Products of a line height are worked out in floating point and cut toward zero.
int LinePosition(double lines, int lineHeight, int extra = 0) {
    return static_cast<int>(lines * lineHeight + extra);
}

PrintStep PageStep(PrintStepKind kind) {
    PrintStep step = {};
    step.kind = kind;
    return step;
}

// Column 0 starts at the left margin; elsewhere a text narrower than the band is right-aligned and
// a wider one starts at the band's left edge, cut by the clip at its right edge.
int TextOrigin(int column, const PrintText& text, int left, int width, int margin) {
    if (column == 0) return margin;
    if (text.width < width) return left + width - text.width;
    return left;
}

void AddText(const PrintText& text, int x, int y, const PrintRect& clip, std::vector<PrintStep>* steps) {
    PrintStep step = {};
    step.kind = PrintStepKind::kText;
    step.x = x;
    step.y = y;
    step.clip = clip;
    step.text = text.text;
    steps->push_back(std::move(step));
}

void AddRule(int left, int right, int y, std::vector<PrintStep>* steps) {
    PrintStep step = {};
    step.kind = PrintStepKind::kRule;
    step.x = left;
    step.y = y;
    step.x2 = right;
    step.y2 = y;
    steps->push_back(std::move(step));
}

bool Usable(const std::vector<PrintColumn>& columns, int entryCount, const PrintMetrics& metrics) {
    if (metrics.lineHeight <= 0 || metrics.printerCharWidth <= 0 || metrics.screenCharWidth <= 0) return false;
    if (metrics.pageWidth <= 0 || entryCount < 0) return false;
    for (const PrintColumn& column : columns)
        if (column.screenWidth < 0 || column.cells.size() < static_cast<size_t>(entryCount) + 1) return false;
    return true;
}

// The entry rows a page holds with the TOTAL row under them; a page of unknown height holds them all.
int RowsPerPage(const PrintMetrics& metrics) {
    if (metrics.pageHeight <= 0) return INT32_MAX;
    const int rows = static_cast<int>(metrics.pageHeight / static_cast<double>(metrics.lineHeight) - kTotalBottom);
    return rows < 1 ? 1 : rows;
}

}  // namespace

int PrintMargin(const PrintMetrics& metrics) {
    return kMarginChars * metrics.printerCharWidth;
}

int PrintedColumnWidth(int screenWidth, const PrintMetrics& metrics) {
    if (metrics.screenCharWidth <= 0 || screenWidth <= 0) return 0;
    // 64 bits: a wide column on a fine printer must not overflow.
    int64_t width = static_cast<int64_t>(screenWidth / metrics.screenCharWidth) * metrics.printerCharWidth;
    return width > INT32_MAX / 2 ? INT32_MAX / 2 : static_cast<int>(width);
}

int LayOutPass(const std::vector<PrintColumn>& columns, int entryCount, const PrintMetrics& metrics,
               std::vector<PrintStep>* steps) {
    if (!Usable(columns, entryCount, metrics)) return 0;
    const int margin = PrintMargin(metrics);
    const int usable = metrics.pageWidth - 2 * margin;
    const int line = metrics.lineHeight;
    const int perPage = RowsPerPage(metrics);
    // The columns fall into bands a page wide. Even with nothing on the page yet, a column too wide
    // for any page starts a band: the first one then leaves a blank page before the one it is clipped on.
    std::vector<size_t> bandStarts;
    int64_t x = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        const int width = PrintedColumnWidth(columns[c].screenWidth, metrics);
        if (c == 0 || x + width > usable) {
            if (c == 0 && width > usable) bandStarts.push_back(0);
            bandStarts.push_back(c);
            x = 0;
        }
        x += width;
    }
    if (columns.empty()) bandStarts.push_back(0);
    bandStarts.push_back(columns.size());

    // Each band prints every row, as many rows a page as fit, the header on every page and the TOTAL
    // row under the last.
    for (size_t band = 0; band + 1 < bandStarts.size(); ++band) {
        for (int first = 0; first == 0 || first < entryCount; first += perPage) {
            const int last = std::min(entryCount, first + perPage);  // the rows of this page end before it
            const bool lastPage = last == entryCount;
            steps->push_back(PageStep(PrintStepKind::kStartPage));
            int left = margin;
            for (size_t c = bandStarts[band]; c < bandStarts[band + 1]; ++c) {
                const PrintColumn& column = columns[c];
                const int width = PrintedColumnWidth(column.screenWidth, metrics);
                const int right = left + width;
                const int column0 = static_cast<int>(c);
                AddText(column.header, TextOrigin(column0, column.header, left, width, margin), 0,
                        {left, 0, right, line}, steps);
                AddRule(left, right, line + kRuleGap, steps);
                for (int m = first; m <= last; ++m) {
                    const bool entry = m < last;
                    if (!entry && !lastPage) break;
                    const PrintText& cell = column.cells[static_cast<size_t>(m)];
                    const int row = m - first;
                    const int top = LinePosition(row + (entry ? kEntryTop : kTotalTop), line);
                    const int bottom = LinePosition(row + (entry ? kEntryBottom : kTotalBottom), line);
                    AddText(cell, TextOrigin(column0, cell, left, width, margin), top, {left, top, right, bottom},
                            steps);
                    if (m == entryCount - 1) AddRule(left, right, LinePosition(row + kEntryBottom, line, kRuleGap), steps);
                }
                left = right;
            }
            steps->push_back(PageStep(PrintStepKind::kEndPage));
        }
    }
    return 1;
}

int TableBottom(int entryCount, const PrintMetrics& metrics) {
    const int perPage = RowsPerPage(metrics);
    const int onLastPage = entryCount <= perPage ? entryCount : entryCount - (entryCount - 1) / perPage * perPage;
    return LinePosition(onLastPage + kTotalBottom, metrics.lineHeight);
}

int LayOutJob(const std::vector<PrintColumn>& columns, int entryCount, const PrintMetrics& metrics, int copies,
              std::vector<PrintStep>* steps) {
    if (copies < 1) copies = 1;
    for (int copy = 0; copy < copies; ++copy)
        if (!LayOutPass(columns, entryCount, metrics, steps)) return 0;
    return 1;
}
