#include "printing/summary_bars.h"

#include <algorithm>
#include <cstdio>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/nutrients.h"

namespace {

constexpr int kGap = 6;  // at the least; a third of a line on a page's finer lines
constexpr int kBarInset = 2;  // above and below a bar, inside its line, at the least

// The bar's length in the track: the percent on the track's scale, never past either end.
int BarLength(int32_t amount, int slot, int trackWidth) {
    double percent = KindOfSlot(slot) == SlotKind::kMilliUnit ? amount / 1000.0 : amount;
    double length = percent / kBarScalePercent * trackWidth;
    if (!(length > 0)) return 0;
    if (length >= trackWidth) return trackWidth;
    return static_cast<int>(length + 0.5);
}

int DailyValueSlots(int* slots) {
    int count = 0;
    for (int slot = 0; slot < kNutrientCount; ++slot)
        if (kDailyValueTable[slot].value != 0) slots[count++] = slot;
    return count;
}

int GapFor(int lineHeight) {
    return std::max(kGap, lineHeight / 3);
}

}  // namespace

std::string WholePercentText(int32_t percent, int slot) {
    int32_t whole = KindOfSlot(slot) == SlotKind::kMilliUnit ? RoundQuotient(percent / 1000.0) : percent;
    char text[32];
    std::snprintf(text, sizeof text, "%ld %%", static_cast<long>(whole));
    return text;
}

int32_t FullDailyValue(int slot) {
    return KindOfSlot(slot) == SlotKind::kMilliUnit ? 100000 : 100;
}

bool IsOverDailyValue(int32_t percent, int slot) {
    if (slot < 0 || slot >= kNutrientCount || kDailyValueTable[slot].value == 0) return false;
    return percent > FullDailyValue(slot);
}

std::string NutrientName(int slot) {
    std::string header = LogHeaderText(kFirstNutrientPosition + slot, kPercentView);
    size_t open = header.find(" (");
    if (open != std::string::npos) header.resize(open);
    return header;
}

int SummaryBarsHeight(int lineHeight, int columns) {
    int slots[kNutrientCount];
    int count = DailyValueSlots(slots);
    if (columns < 1) columns = 1;
    int rows = (count + columns - 1) / columns;
    const int gap = GapFor(lineHeight);
    return rows * (lineHeight + gap) - gap;
}

int LayOutSummaryBars(const EntryNutrients& percents, const DrawingArea& metrics, std::vector<PrintStep>* steps) {
    int slots[kNutrientCount];
    const int count = DailyValueSlots(slots);
    const PrintRect& area = metrics.area;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int line = metrics.lineHeight;
    const int gap = GapFor(line);
    const int inset = std::max(kBarInset, line / 8);
    const int pitch = line + gap;
    if (line <= 0 || width <= 0 || height < line) return 0;
    // Rows as far as the height goes (the last needs no gap below it), then the columns they need.
    const int rowsFit = (height + gap) / pitch;
    const int columns = (count + rowsFit - 1) / rowsFit;
    const int rows = (count + columns - 1) / columns;
    const int columnWidth = width / columns;
    std::string labels[kNutrientCount];
    int labelWidth = 0;
    for (int i = 0; i < count; ++i) {
        labels[i] = NutrientName(slots[i]) + " " + WholePercentText(percents.amounts[slots[i]], slots[i]);
        if (metrics.textWidth) labelWidth = std::max(labelWidth, metrics.textWidth(labels[i]));
    }
    if (labelWidth > columnWidth / 2) labelWidth = columnWidth / 2;

    for (int i = 0; i < count; ++i) {
        const int slot = slots[i];
        const int left = area.left + (i / rows) * columnWidth;
        const int top = area.top + (i % rows) * pitch;
        const int bottom = top + line;
        steps->push_back({PrintStepKind::kText, left, top, 0, 0, {left, top, left + labelWidth, bottom}, labels[i]});

        const int trackLeft = left + labelWidth + gap;
        const int trackWidth = left + columnWidth - gap - trackLeft;
        if (trackWidth <= 0) continue;
        const int32_t percent = percents.amounts[slot];
        const int length = BarLength(percent, slot, trackWidth);
        if (length > 0) {
            PrintStepKind kind = IsOverDailyValue(percent, slot) ? PrintStepKind::kOverBar : PrintStepKind::kBar;
            steps->push_back({kind, 0, 0, 0, 0, {trackLeft, top + inset, trackLeft + length, bottom - inset}, {}});
        }
        const int full =
            trackLeft + static_cast<int>(static_cast<int64_t>(trackWidth) * 100 / kBarScalePercent);
        steps->push_back({PrintStepKind::kRule, full, top, full, bottom, {}, {}});
    }
    return 1;
}
