#include "foodlog/log_cells.h"

#include <cstdio>
#include <cstring>

const char kTotalRowLabel[] = "   TOTAL";

void FormatMilliUnits(char* text, size_t size) {
    char* digits = text[0] == '-' ? text + 1 : text;
    size_t room = size - static_cast<size_t>(digits - text);
    size_t n = std::strlen(digits);
    // Whole part: the digits before the last three, or "0"; then the last three, zero-padded.
    char formatted[64];
    size_t whole = n > 3 ? n - 3 : 0;
    if (whole > 40) return;  // not the text of a 32-bit integer
    int length = whole > 0
                     ? std::snprintf(formatted, sizeof formatted, "%.*s.", static_cast<int>(whole), digits)
                     : std::snprintf(formatted, sizeof formatted, "0.");
    for (size_t pad = n; pad < 3; ++pad)
        formatted[length++] = '0';
    std::snprintf(formatted + length, sizeof formatted - length, "%s", digits + whole);
    std::snprintf(digits, room, "%s", formatted);
}

void FormatQuantity(float quantity, char* text, size_t size) {
    std::snprintf(text, size, "%.2f", static_cast<double>(quantity));
}

void FormatNutrient(int32_t value, int slot, char* text, size_t size) {
    std::snprintf(text, size, "%d", static_cast<int>(value));
    if (KindOfSlot(slot) == SlotKind::kMilliUnit) FormatMilliUnits(text, size);
}

const char* MeasureCellText(const LogEntry& entry) {
    switch (entry.measure) {
        case kMeasureFirst:
            return entry.servingText1;
        case kMeasureSecond:
            if (entry.source != kSourceMyFoods) return entry.servingText2;
            {
                const char* name = MeasureTableName(entry.measureIndex);
                return name ? name : "";
            }
        default:
            return kMeasureTable[kGramsMeasureRow].name;
    }
}
