#include "foodlog/log_cells.h"

#include <cstdio>
#include <cstring>

#include "resources/log_headers.h"

const char kTotalRowLabel[] = "   TOTAL";

namespace {

constexpr const char* kAmountsHeaders[kFieldPositions] = {
    LOG_HEADER_A0,  LOG_HEADER_A1,  LOG_HEADER_A2,  LOG_HEADER_A3,  LOG_HEADER_A4,  LOG_HEADER_A5,
    LOG_HEADER_A6,  LOG_HEADER_A7,  LOG_HEADER_A8,  LOG_HEADER_A9,  LOG_HEADER_A10, LOG_HEADER_A11,
    LOG_HEADER_A12, LOG_HEADER_A13, LOG_HEADER_A14, LOG_HEADER_A15, LOG_HEADER_A16, LOG_HEADER_A17,
    LOG_HEADER_A18, LOG_HEADER_A19, LOG_HEADER_A20, LOG_HEADER_A21, LOG_HEADER_A22, LOG_HEADER_A23,
    LOG_HEADER_A24, LOG_HEADER_A25, LOG_HEADER_A26, LOG_HEADER_A27, LOG_HEADER_A28, LOG_HEADER_A29,
    LOG_HEADER_A30, LOG_HEADER_A31, LOG_HEADER_A32, LOG_HEADER_A33,
};
constexpr const char* kPercentHeaders[kFieldPositions] = {
    LOG_HEADER_P0,  LOG_HEADER_P1,  LOG_HEADER_P2,  LOG_HEADER_P3,  LOG_HEADER_P4,  LOG_HEADER_P5,
    LOG_HEADER_P6,  LOG_HEADER_P7,  LOG_HEADER_P8,  LOG_HEADER_P9,  LOG_HEADER_P10, LOG_HEADER_P11,
    LOG_HEADER_P12, LOG_HEADER_P13, LOG_HEADER_P14, LOG_HEADER_P15, LOG_HEADER_P16, LOG_HEADER_P17,
    LOG_HEADER_P18, LOG_HEADER_P19, LOG_HEADER_P20, LOG_HEADER_P21, LOG_HEADER_P22, LOG_HEADER_P23,
    LOG_HEADER_P24, LOG_HEADER_P25, LOG_HEADER_P26, LOG_HEADER_P27, LOG_HEADER_P28, LOG_HEADER_P29,
    LOG_HEADER_P30, LOG_HEADER_P31, LOG_HEADER_P32, LOG_HEADER_P33,
};

}  // namespace

void PutCell(LogRowTexts* out, const char* text) {
    if (out->count < kFieldPositions) std::snprintf(out->cells[out->count++], kCellTextSize, "%s", text);
}

void PutHeaders(int viewMode, ColumnChoice choice, int firstPosition, LogRowTexts* out) {
    for (int position = firstPosition; position < kFieldPositions; ++position)
        if (IsPositionChosen(position, choice)) PutCell(out, LogHeaderText(position, viewMode));
}

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

const char* LogHeaderText(int position, int viewMode) {
    if (position < 0 || position >= kFieldPositions) return "";
    return viewMode == kPercentView ? kPercentHeaders[position] : kAmountsHeaders[position];
}

void FormatLogHeaders(int viewMode, ColumnChoice choice, LogRowTexts* out) {
    out->count = 0;
    PutHeaders(viewMode, choice, 0, out);
}

void FormatLogRow(int record, ColumnChoice choice, LogRowTexts* out) {
    bool total = record >= kMaxLogEntries || record < 0;
    const LogEntry* entry = total ? nullptr : &EntryAt(record);
    const EntryNutrients& nutrients = NutrientsAt(total ? kTotalsRecord : record);
    out->count = 0;
    PutCell(out, total ? kTotalRowLabel : entry->name);
    if (total) {
        PutCell(out, "");
    } else {
        FormatQuantity(entry->quantity, out->cells[out->count++], kCellTextSize);
    }
    PutCell(out, total ? "" : MeasureCellText(*entry));
    FormatNutrientCells(nutrients, choice, out);
}

void FormatNutrientCells(const EntryNutrients& nutrients, ColumnChoice choice, LogRowTexts* out) {
    for (int position = kFirstNutrientPosition; position < kFieldPositions; ++position) {
        if (!IsPositionChosen(position, choice) || out->count >= kFieldPositions) continue;
        int slot = position - kFirstNutrientPosition;
        FormatNutrient(nutrients.amounts[slot], slot, out->cells[out->count++], kCellTextSize);
    }
}
