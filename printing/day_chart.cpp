#include "printing/day_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/nutrients.h"
#include "logdoc/log_document.h"
#include "platform/text.h"
#include "printing/summary_bars.h"

namespace {

constexpr int kMostSteps = 4;
constexpr int kTitleLines = 2;
constexpr int kChartLines = 18;  // the printed chart's height, its title and labels included

bool IsMilli(int slot) {
    return KindOfSlot(slot) == SlotKind::kMilliUnit;
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
std::vector<std::string> ChartTitle(const DaySummary& summary, int slot, int viewMode, bool anyOver,
                                    bool anyUnread) {
    std::vector<std::string> phrases = {
        std::string(LogHeaderText(kFirstNutrientPosition + slot, viewMode)) + " by day.",
        "Dashed line: the average, " + AverageText(summary.average[viewMode].amounts[slot], slot, viewMode) +
            "."};
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
        if (!lines.back().empty() && static_cast<int>(lines.size()) < most && textWidth &&
            textWidth(longer) > width) {
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
    const std::string suffix = std::string(".") + kLogExtension;
    if (title.size() > suffix.size() && EndsWithAsciiNoCase(title, suffix))
        return title.substr(0, title.size() - suffix.size());
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

namespace {

// What the chart's axis must reach: the highest day, the average and, where it is drawn, 100 %.
struct ChartScale {
    int32_t average = 0;
    bool anyOver = false;
    bool anyUnread = false;
    bool fullLine = false;
    int64_t step = 1;
    int64_t marks = 1;
    int64_t axisTop = 1;
};

ChartScale ScaleOf(const DaySummary& summary, int slot, int viewMode) {
    ChartScale scale;
    scale.average = summary.average[viewMode].amounts[slot];
    int64_t highest = std::max<int64_t>(scale.average, 0);
    for (const SummaryDay& day : summary.days) {
        if (!day.readable) {
            scale.anyUnread = true;
            continue;
        }
        highest = std::max<int64_t>(highest, day.totals[viewMode].amounts[slot]);
        scale.anyOver = scale.anyOver || IsOverDailyValue(day.totals[kPercentView].amounts[slot], slot);
    }
    scale.fullLine = ShowsDailyValueLine(slot, viewMode);
    if (scale.fullLine) highest = std::max<int64_t>(highest, FullDailyValue(slot));
    scale.step = AxisStep(highest, slot);
    scale.marks = std::max<int64_t>(1, (highest + scale.step - 1) / scale.step);
    scale.axisTop = scale.marks * scale.step;
    return scale;
}

// Where the chart's parts stand in its area.
struct ChartFrame {
    int line = 0;
    int gap = 0;
    int tick = 0;
    int days = 0;
    int plotLeft = 0, plotRight = 0, plotTop = 0, plotBottom = 0;
    int64_t axisTop = 1;
    std::vector<std::string> title;
    int PlotWidth() const { return plotRight - plotLeft; }
    int Y(int64_t value) const {
        if (value <= 0) return plotBottom;
        return plotBottom -
               static_cast<int>(std::llround(static_cast<double>(value) * (plotBottom - plotTop) / axisTop));
    }
    int DayLeft(int i) const {
        return plotLeft + static_cast<int>(static_cast<int64_t>(i) * PlotWidth() / days);
    }
};

int WidthOf(const DrawingArea& metrics, const std::string& text) {
    return metrics.textWidth ? metrics.textWidth(text) : 0;
}

ChartFrame FrameOf(const DaySummary& summary, int slot, int viewMode, const ChartScale& scale,
                   const DrawingArea& metrics) {
    const PrintRect& area = metrics.area;
    ChartFrame frame;
    frame.line = metrics.lineHeight;
    frame.days = static_cast<int>(summary.days.size());
    frame.axisTop = scale.axisTop;
    frame.gap = std::max(2, frame.line / 3);
    int axisWidth = 0;
    for (int64_t mark = 0; mark <= scale.marks; ++mark)
        axisWidth = std::max(axisWidth, WidthOf(metrics, AxisText(mark * scale.step, scale.step, slot)));
    frame.plotLeft = area.left + axisWidth + frame.gap;
    frame.plotRight = area.right - frame.gap;
    frame.title = BreakTitle(ChartTitle(summary, slot, viewMode, scale.anyOver, scale.anyUnread),
                             area.right - area.left, kTitleLines, metrics.textWidth);
    const int titleHeight = static_cast<int>(frame.title.size()) * frame.line;
    frame.plotTop = area.top + titleHeight + frame.line / 2 + frame.line / 2;  // and half a mark's text
    frame.tick = std::max(1, frame.line / 4);
    frame.plotBottom = area.bottom - frame.line - frame.tick;
    return frame;
}

void AddTitleAndAxis(const ChartFrame& frame, const ChartScale& scale, int slot, const PrintRect& area,
                     std::vector<PrintStep>* steps) {
    const int line = frame.line;
    for (size_t i = 0; i < frame.title.size(); ++i) {
        const int top = area.top + static_cast<int>(i) * line;
        steps->push_back({PrintStepKind::kText,
                          area.left,
                          top,
                          0,
                          0,
                          {area.left, top, area.right, top + line},
                          frame.title[i]});
    }
    for (int64_t mark = 0; mark <= scale.marks; ++mark) {
        const int at = frame.Y(mark * scale.step);
        if (mark > 0)
            steps->push_back(Line(PrintStepKind::kGridLine, frame.plotLeft, at, frame.plotRight, at));
        steps->push_back(Step(PrintStepKind::kNumber,
                              {area.left, at - line / 2, frame.plotLeft - frame.gap, at + line - line / 2},
                              AxisText(mark * scale.step, scale.step, slot)));
    }
}

void AddBars(const DaySummary& summary, const ChartFrame& frame, int slot, int viewMode,
             std::vector<PrintStep>* steps) {
    for (int i = 0; i < frame.days; ++i) {
        const SummaryDay& day = summary.days[static_cast<size_t>(i)];
        const int left = frame.DayLeft(i);
        const int room = frame.DayLeft(i + 1) - left;
        const int space = room >= 4 ? room / 4 : 0;
        const int barLeft = left + space / 2;
        const int barRight = std::max(barLeft + 1, left + room - (space - space / 2));
        if (!day.readable) {
            // However thin the bars, the shade stays wide enough to be seen.
            const int shade = std::max(barRight - barLeft, std::max(3, frame.line / 4));
            const int shadeLeft = (barLeft + barRight - shade) / 2;
            steps->push_back(Step(PrintStepKind::kUnreadDay,
                                  {shadeLeft, frame.plotTop, shadeLeft + shade, frame.plotBottom}));
            continue;
        }
        const int top = frame.Y(day.totals[viewMode].amounts[slot]);
        if (top >= frame.plotBottom) continue;
        const bool over = IsOverDailyValue(day.totals[kPercentView].amounts[slot], slot);
        steps->push_back(Step(over ? PrintStepKind::kOverBar : PrintStepKind::kBar,
                              {barLeft, top, barRight, frame.plotBottom}));
    }
}

void AddLines(const DaySummary& summary, const ChartFrame& frame, const ChartScale& scale, int slot,
              std::vector<PrintStep>* steps) {
    steps->push_back(
        Line(PrintStepKind::kRule, frame.plotLeft, frame.plotBottom, frame.plotRight, frame.plotBottom));
    if (scale.fullLine) {
        const int at = frame.Y(FullDailyValue(slot));
        steps->push_back(Line(PrintStepKind::kRule, frame.plotLeft, at, frame.plotRight, at));
    }
    if (summary.readableDays > 0) {
        const int at = frame.Y(scale.average);
        steps->push_back(Line(PrintStepKind::kAverageLine, frame.plotLeft, at, frame.plotRight, at));
    }
}

// Every k-th day has its label, k as small as lets the widest label fit between its neighbours.
void AddDayLabels(const DaySummary& summary, const ChartFrame& frame, const DrawingArea& metrics,
                  std::vector<PrintStep>* steps) {
    const PrintRect& area = metrics.area;
    const int days = frame.days;
    int labelWidth = 0;
    std::vector<std::string> labels(static_cast<size_t>(days));
    for (int i = 0; i < days; ++i) {
        labels[static_cast<size_t>(i)] = DayLabel(summary.days[static_cast<size_t>(i)].title);
        labelWidth = std::max(labelWidth, WidthOf(metrics, labels[static_cast<size_t>(i)]));
    }
    const double pitch = static_cast<double>(frame.PlotWidth()) / days;
    const int labelGap = std::max(4, frame.line / 2);
    int every = 1;
    while (every < days && every * pitch < std::min(labelWidth, frame.PlotWidth() / 2) + labelGap + 2)
        ++every;
    const int room = std::min(std::min(labelWidth, static_cast<int>(every * pitch) - labelGap - 2),
                              area.right - area.left);
    if (room <= 0) return;
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
        const int centre = (frame.DayLeft(i) + frame.DayLeft(i + 1)) / 2;
        const int left = std::max(area.left, std::min(centre - room / 2, area.right - room));
        if (!marked.empty() && left < marked.back().left + room + labelGap) {
            if (i + every < days || marked.size() == 1) continue;
            marked.pop_back();
        }
        marked.push_back({i, centre, left});
    }
    const int bottom = frame.plotBottom, tick = frame.tick;
    for (const DayMark& mark : marked) {
        steps->push_back(Line(PrintStepKind::kRule, mark.centre, bottom, mark.centre, bottom + tick));
        steps->push_back(Step(PrintStepKind::kLabel,
                              {mark.left, bottom + tick, mark.left + room, bottom + tick + frame.line},
                              labels[static_cast<size_t>(mark.day)]));
    }
}

}  // namespace

int LayOutDayChart(const DaySummary& summary, int slot, int viewMode, const DrawingArea& metrics,
                   std::vector<PrintStep>* steps) {
    if (slot < 0 || slot >= kNutrientCount) return 0;
    viewMode = viewMode == kPercentView ? kPercentView : kAmountsView;
    if (metrics.lineHeight <= 0 || summary.days.empty()) return 0;
    const ChartScale scale = ScaleOf(summary, slot, viewMode);
    const ChartFrame frame = FrameOf(summary, slot, viewMode, scale, metrics);
    if (frame.PlotWidth() < 1 || frame.plotBottom - frame.plotTop < frame.line) return 0;
    AddTitleAndAxis(frame, scale, slot, metrics.area, steps);
    AddBars(summary, frame, slot, viewMode, steps);
    AddLines(summary, frame, scale, slot, steps);
    AddDayLabels(summary, frame, metrics, steps);
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
    LayOutDayChart(*drawing.summary, drawing.slot, drawing.viewMode,
                   {{left, top, right, chartBottom}, line, textWidth}, pass);
    const int captionTop = chartBottom + line;
    pass->push_back({PrintStepKind::kText,
                     left,
                     captionTop,
                     0,
                     0,
                     {left, captionTop, right, captionTop + line},
                     drawing.barsCaption});
    const int barsTop = captionTop + line + line / 2;
    LayOutSummaryBars(drawing.summary->average[kPercentView],
                      {{left, barsTop, right, barsTop + barsHeight}, line, textWidth}, pass);
    pass->push_back({PrintStepKind::kEndPage, 0, 0, 0, 0, {}, {}});
}
