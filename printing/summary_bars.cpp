#include "printing/summary_bars.h"

#include <cstdint>
#include <cstring>

#include "foodlog/log_cells.h"
#include "foodlog/log_columns.h"
#include "foodlog/nutrients.h"

namespace {

constexpr int kGap = 6;
constexpr int kBarInset = 2;  // above and below a bar, inside its line
constexpr char kPercentSuffix[] = " (%)";

// The nutrient's name as the percent view's header gives it, without its unit.
std::string NutrientName(int slot) {
    std::string header = LogHeaderText(kFirstNutrientPosition + slot, kPercentView);
    size_t suffix = sizeof kPercentSuffix - 1;
    if (header.size() > suffix && header.compare(header.size() - suffix, suffix, kPercentSuffix) == 0)
        header.resize(header.size() - suffix);
    return header;
}

void Add(BarStepKind kind, PrintRect rect, std::string text, std::vector<BarStep>* steps) {
    steps->push_back({kind, rect, std::move(text)});
}

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

}  // namespace

int SummaryBarsHeight(int lineHeight, int columns) {
    int slots[kNutrientCount];
    int count = DailyValueSlots(slots);
    if (columns < 1) columns = 1;
    int rows = (count + columns - 1) / columns;
    return rows * (lineHeight + kGap) - kGap;
}

int LayOutSummaryBars(const EntryNutrients& percents, const BarMetrics& metrics,
                      std::vector<BarStep>* steps) {
    int slots[kNutrientCount];
    const int count = DailyValueSlots(slots);
    const PrintRect& area = metrics.area;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int line = metrics.lineHeight;
    const int pitch = line + kGap;
    if (line <= 0 || width <= 0 || height < line) return 0;
    // Rows as far as the height goes (the last needs no gap below it), then the columns they need.
    const int rowsFit = (height + kGap) / pitch;
    const int columns = (count + rowsFit - 1) / rowsFit;
    const int rows = (count + columns - 1) / columns;
    const int columnWidth = width / columns;
    int labelWidth = metrics.labelWidth;
    if (labelWidth > columnWidth / 2) labelWidth = columnWidth / 2;

    for (int i = 0; i < count; ++i) {
        const int slot = slots[i];
        const int left = area.left + (i / rows) * columnWidth;
        const int top = area.top + (i % rows) * pitch;
        const int bottom = top + line;
        char value[kCellTextSize];
        FormatNutrient(percents.amounts[slot], slot, value, sizeof value);
        Add(BarStepKind::kText, {left, top, left + labelWidth, bottom},
            NutrientName(slot) + " " + value + "%", steps);

        const int trackLeft = left + labelWidth + kGap;
        const int trackWidth = left + columnWidth - kGap - trackLeft;
        if (trackWidth <= 0) continue;
        const int length = BarLength(percents.amounts[slot], slot, trackWidth);
        if (length > 0)
            Add(BarStepKind::kBar, {trackLeft, top + kBarInset, trackLeft + length, bottom - kBarInset}, "",
                steps);
        const int full =
            trackLeft + static_cast<int>(static_cast<int64_t>(trackWidth) * 100 / kBarScalePercent);
        Add(BarStepKind::kLine, {full, top, full, bottom}, "", steps);
    }
    return 1;
}
