#include "printing/day_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/nutrients.h"
#include "printing/summary_bars.h"

namespace {

constexpr int kMostSteps = 4;
constexpr int kTitleLines = 2;
constexpr int kChartLines = 18;  // the printed chart's height, its title and labels included
constexpr char kLogSuffix[] = ".mtf";

bool IsMilli(int slot) {
    return KindOfSlot(slot) == SlotKind::kMilliUnit;
}

// 100 % of the Daily Value as a percent record holds it.
int32_t FullDailyValue(int slot) {
    return IsMilli(slot) ? 100000 : 100;
}

bool ShowsDailyValueLine(int slot, int viewMode) {
    return viewMode == kPercentView && kDailyValueTable[slot].value != 0;
}

// A mark of the axis with no more decimals than its step needs.
std::string AxisText(int64_t value, int64_t step, int slot) {
    char text[48];
    if (!IsMilli(slot)) {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
        return text;
    }
    int decimals = step % 1000 == 0 ? 0 : step % 100 == 0 ? 1 : step % 10 == 0 ? 2 : 3;
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value) / 1000.0);
    return text;
}

// The average as the title names it: a whole percent of a Daily Value, else the AVERAGE cell's text.
std::string AverageText(int32_t average, int slot, int viewMode) {
    if (ShowsDailyValueLine(slot, viewMode)) return WholePercentText(average, slot);
    char text[kCellTextSize];
    FormatNutrient(average, slot, text, sizeof text);
    return text;
}

// The title and what its lines and colours mean, each a phrase of its own so that the title can break
// between them.
std::vector<std::string> ChartTitle(const DaySummary& summary, int slot, int viewMode, bool anyOver, bool anyUnread) {
    std::vector<std::string> phrases = {
        std::string(LogHeaderText(kFirstNutrientPosition + slot, viewMode)) + " by day.",
        "Dashed line: the average, " + AverageText(summary.average[viewMode].amounts[slot], slot, viewMode) + "."};
    if (ShowsDailyValueLine(slot, viewMode)) phrases.push_back("Solid line: 100 % of the Daily Value.");
    if (anyOver) phrases.push_back("Red: over the Daily Value.");
    if (anyUnread) phrases.push_back("Grey: could not be read.");
    return phrases;
}

// The phrases on as few lines as the width takes, at most `most`; the last line takes what is left.
std::vector<std::string> BreakTitle(const std::vector<std::string>& phrases, int width, int most,
                                    const std::function<int(const std::string&)>& textWidth) {
    std::vector<std::string> lines(1);
    for (const std::string& phrase : phrases) {
        std::string longer = lines.back().empty() ? phrase : lines.back() + " " + phrase;
        if (!lines.back().empty() && static_cast<int>(lines.size()) < most && textWidth && textWidth(longer) > width) {
            lines.push_back(phrase);
        } else {
            lines.back() = longer;
        }
    }
    return lines;
}

PrintStep Step(PrintStepKind kind, PrintRect rect, std::string text = {}) {
    return {kind, rect.left, rect.top, rect.right, rect.bottom, rect, std::move(text)};
}

PrintStep Line(PrintStepKind kind, int x, int y, int x2, int y2) {
    return {kind, x, y, x2, y2, {x, y, x2, y2}, {}};
}

}  // namespace

std::string DayLabel(const std::string& title) {
    const size_t suffix = sizeof kLogSuffix - 1;
    if (title.size() > suffix) {
        bool match = true;
        for (size_t i = 0; i < suffix; ++i) {
            char c = title[title.size() - suffix + i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            match = match && c == kLogSuffix[i];
        }
        if (match) return title.substr(0, title.size() - suffix);
    }
    return title;
}

int64_t AxisStep(int64_t highest, int slot) {
    // A chart of nothing still has one step: one whole unit.
    if (highest <= 0) highest = IsMilli(slot) ? 1000 : 1;
    const int64_t wanted = (highest + kMostSteps - 1) / kMostSteps;
    for (int64_t power = 1;; power *= 10)
        for (int64_t tenths : {10, 20, 25, 50})
            if (tenths * power % 10 == 0 && tenths * power / 10 >= wanted) return tenths * power / 10;
}

int LayOutDayChart(const DaySummary& summary, int slot, int viewMode, const DrawingArea& metrics,
                   std::vector<PrintStep>* steps) {
    if (slot < 0 || slot >= kNutrientCount) return 0;
    viewMode = viewMode == kPercentView ? kPercentView : kAmountsView;
    const PrintRect& area = metrics.area;
    const int line = metrics.lineHeight;
    const int days = static_cast<int>(summary.days.size());
    auto width = [&](const std::string& text) { return metrics.textWidth ? metrics.textWidth(text) : 0; };
    if (line <= 0 || days == 0) return 0;

    // The axis reaches the highest day, the average and, where it is drawn, 100 %.
    const int32_t average = summary.average[viewMode].amounts[slot];
    int64_t highest = std::max<int64_t>(average, 0);
    bool anyOver = false;
    bool anyUnread = false;
    for (const SummaryDay& day : summary.days) {
        if (!day.readable) {
            anyUnread = true;
            continue;
        }
        highest = std::max<int64_t>(highest, day.totals[viewMode].amounts[slot]);
        anyOver = anyOver || IsOverDailyValue(day.totals[kPercentView].amounts[slot], slot);
    }
    const bool fullLine = ShowsDailyValueLine(slot, viewMode);
    if (fullLine) highest = std::max<int64_t>(highest, FullDailyValue(slot));
    const int64_t step = AxisStep(highest, slot);
    const int64_t marks = std::max<int64_t>(1, (highest + step - 1) / step);
    const int64_t axisTop = marks * step;

    const int gap = std::max(2, line / 3);
    int axisWidth = 0;
    for (int64_t mark = 0; mark <= marks; ++mark)
        axisWidth = std::max(axisWidth, width(AxisText(mark * step, step, slot)));
    const int plotLeft = area.left + axisWidth + gap;
    const int plotRight = area.right - gap;
    const std::vector<std::string> title =
        BreakTitle(ChartTitle(summary, slot, viewMode, anyOver, anyUnread), area.right - area.left, kTitleLines,
                   metrics.textWidth);
    const int titleHeight = static_cast<int>(title.size()) * line;
    const int plotTop = area.top + titleHeight + line / 2 + line / 2;  // and half a mark's text
    const int tick = std::max(1, line / 4);
    const int plotBottom = area.bottom - line - tick;
    const int plotWidth = plotRight - plotLeft;
    const int plotHeight = plotBottom - plotTop;
    if (plotWidth < 1 || plotHeight < line) return 0;
    auto y = [&](int64_t value) {
        if (value <= 0) return plotBottom;
        return plotBottom - static_cast<int>(std::llround(static_cast<double>(value) * plotHeight / axisTop));
    };

    for (size_t i = 0; i < title.size(); ++i) {
        const int top = area.top + static_cast<int>(i) * line;
        steps->push_back({PrintStepKind::kText, area.left, top, 0, 0, {area.left, top, area.right, top + line}, title[i]});
    }
    for (int64_t mark = 0; mark <= marks; ++mark) {
        const int at = y(mark * step);
        if (mark > 0) steps->push_back(Line(PrintStepKind::kGridLine, plotLeft, at, plotRight, at));
        steps->push_back(Step(PrintStepKind::kNumber, {area.left, at - line / 2, plotLeft - gap, at + line - line / 2},
                              AxisText(mark * step, step, slot)));
    }

    auto dayLeft = [&](int i) { return plotLeft + static_cast<int>(static_cast<int64_t>(i) * plotWidth / days); };
    for (int i = 0; i < days; ++i) {
        const SummaryDay& day = summary.days[static_cast<size_t>(i)];
        const int left = dayLeft(i);
        const int room = dayLeft(i + 1) - left;
        const int space = room >= 4 ? room / 4 : 0;
        const int barLeft = left + space / 2;
        const int barRight = std::max(barLeft + 1, left + room - (space - space / 2));
        if (!day.readable) {
            // However thin the bars, the shade stays wide enough to be seen.
            const int shade = std::max(barRight - barLeft, std::max(3, line / 4));
            const int shadeLeft = (barLeft + barRight - shade) / 2;
            steps->push_back(Step(PrintStepKind::kUnreadDay, {shadeLeft, plotTop, shadeLeft + shade, plotBottom}));
            continue;
        }
        const int top = y(day.totals[viewMode].amounts[slot]);
        if (top >= plotBottom) continue;
        const bool over = IsOverDailyValue(day.totals[kPercentView].amounts[slot], slot);
        steps->push_back(Step(over ? PrintStepKind::kOverBar : PrintStepKind::kBar, {barLeft, top, barRight, plotBottom}));
    }
    steps->push_back(Line(PrintStepKind::kRule, plotLeft, plotBottom, plotRight, plotBottom));
    if (fullLine) {
        const int at = y(FullDailyValue(slot));
        steps->push_back(Line(PrintStepKind::kRule, plotLeft, at, plotRight, at));
    }
    if (summary.readableDays > 0) {
        const int at = y(average);
        steps->push_back(Line(PrintStepKind::kAverageLine, plotLeft, at, plotRight, at));
    }

    // Every k-th day has its label, k as small as lets the widest label fit between its neighbours.
    int labelWidth = 0;
    std::vector<std::string> labels(static_cast<size_t>(days));
    for (int i = 0; i < days; ++i) {
        labels[static_cast<size_t>(i)] = DayLabel(summary.days[static_cast<size_t>(i)].title);
        labelWidth = std::max(labelWidth, width(labels[static_cast<size_t>(i)]));
    }
    const double pitch = static_cast<double>(plotWidth) / days;
    const int labelGap = std::max(4, line / 2);
    int every = 1;
    while (every < days && every * pitch < std::min(labelWidth, plotWidth / 2) + labelGap + 2)
        ++every;
    const int room = std::min(std::min(labelWidth, static_cast<int>(every * pitch) - labelGap - 2),
                              area.right - area.left);
    if (room <= 0) return 1;
    // A label centred under a day near an edge of the chart is moved inside it whole rather than cut at
    // the edge. Moved, the last one may come too near its neighbour, which then gives way: the first
    // and the last day of a chart are the ones that say what it covers.
    struct DayMark {
        int day;
        int centre;
        int left;
    };
    std::vector<DayMark> marked;
    for (int i = 0; i < days; i += every) {
        const int centre = (dayLeft(i) + dayLeft(i + 1)) / 2;
        const int left = std::max(area.left, std::min(centre - room / 2, area.right - room));
        if (!marked.empty() && left < marked.back().left + room + labelGap) {
            if (i + every < days || marked.size() == 1) continue;
            marked.pop_back();
        }
        marked.push_back({i, centre, left});
    }
    for (const DayMark& mark : marked) {
        steps->push_back(Line(PrintStepKind::kRule, mark.centre, plotBottom, mark.centre, plotBottom + tick));
        steps->push_back(Step(PrintStepKind::kLabel,
                              {mark.left, plotBottom + tick, mark.left + room, plotBottom + tick + line},
                              labels[static_cast<size_t>(mark.day)]));
    }
    return 1;
}

void AppendUnderTable(const SummaryDrawing& drawing, int entryCount, const PrintMetrics& metrics,
                      const std::function<int(const std::string&)>& textWidth, std::vector<PrintStep>* pass) {
    if (!drawing.summary || pass->empty() || pass->back().kind != PrintStepKind::kEndPage) return;
    const int line = metrics.lineHeight;
    const int barsHeight = SummaryBarsHeight(line, kSummaryBarColumns);
    const int height = kChartLines * line + 2 * line + line / 2 + barsHeight;
    const int margin = PrintMargin(metrics);
    int top = TableBottom(entryCount, metrics) + 2 * line;
    pass->pop_back();
    if (metrics.pageHeight > 0 && top + height > metrics.pageHeight) {
        pass->push_back({PrintStepKind::kEndPage, 0, 0, 0, 0, {}, {}});
        pass->push_back({PrintStepKind::kStartPage, 0, 0, 0, 0, {}, {}});
        top = 0;
    }
    const int left = margin;
    const int right = metrics.pageWidth - margin;
    const int chartBottom = top + kChartLines * line;
    LayOutDayChart(*drawing.summary, drawing.slot, drawing.viewMode, {{left, top, right, chartBottom}, line, textWidth},
                   pass);
    const int captionTop = chartBottom + line;
    pass->push_back({PrintStepKind::kText, left, captionTop, 0, 0, {left, captionTop, right, captionTop + line},
                     drawing.barsCaption});
    const int barsTop = captionTop + line + line / 2;
    LayOutSummaryBars(drawing.summary->average[kPercentView], {{left, barsTop, right, barsTop + barsHeight}, line, textWidth},
                      pass);
    pass->push_back({PrintStepKind::kEndPage, 0, 0, 0, 0, {}, {}});
}
