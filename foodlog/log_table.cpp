#include "foodlog/log_table.h"

#include <cstring>

LogEntry g_logEntries[kMaxLogEntries];
EntryNutrients g_entryNutrients[kMaxLogEntries + 1];
int g_entryCount = 0;
int g_viewMode = kPercentView;
int g_modified = 0;

const MeasureName kMeasureTable[kMeasureTableSize] = {
    {"Cup", 3},      {"fl oz", 5},       {"mL", 2},    {"Ounces", 6},
    {"Teaspoon", 8}, {"Tablespoon", 10}, {"grams", 5}, {"per serving", 11},
};

SlotKind KindOfSlot(int slot) {
    switch (slot) {
        case kCalories:
        case kCalcium:
        case kPhosphorus:
        case kSodium:
        case kPotassium:
        case kMagnesium:
        case kVitaminA:
        case kFolate:
        case kCholesterol:
            return SlotKind::kWholeUnit;
        default:
            return SlotKind::kMilliUnit;
    }
}

const char* MeasureTableName(int row) {
    if (row < 0 || row >= kMeasureTableSize) return nullptr;
    return kMeasureTable[row].name;
}

void ResetLogState() {
    std::memset(g_logEntries, 0, sizeof g_logEntries);
    std::memset(g_entryNutrients, 0, sizeof g_entryNutrients);
    g_entryCount = 0;
    g_viewMode = kPercentView;
    g_modified = 0;
}
