#include "foodlog/log_table.h"

#include <cstring>

#include "foodlog/nutrients.h"

namespace {

LogEntry g_logEntries[kMaxLogEntries];
EntryNutrients g_entryNutrients[kMaxLogEntries + 1];
int g_entryCount = 0;
int g_viewMode = kPercentView;
int g_modified = 0;

bool IsEntryPosition(int position) {
    return position >= 0 && position < g_entryCount;
}

}  // namespace

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

int EntryCount() {
    return g_entryCount;
}

const LogEntry& EntryAt(int position) {
    return g_logEntries[position];
}

const LogEntry* LogEntries() {
    return g_logEntries;
}

const EntryNutrients& NutrientsAt(int record) {
    return g_entryNutrients[record];
}

int ViewMode() {
    return g_viewMode;
}

int IsModified() {
    return g_modified;
}

void ResetLogState() {
    std::memset(g_logEntries, 0, sizeof g_logEntries);
    std::memset(g_entryNutrients, 0, sizeof g_entryNutrients);
    g_entryCount = 0;
    g_viewMode = kPercentView;
    g_modified = 0;
}

void ClearLogEntries() {
    std::memset(g_logEntries, 0, sizeof g_logEntries);
    std::memset(g_entryNutrients, 0, kMaxLogEntries * sizeof g_entryNutrients[0]);
}

void ClearLog() {
    g_entryCount = 0;
}

int AppendEntry(const LogEntry& entry) {
    if (g_entryCount < 0 || g_entryCount >= kMaxLogEntries) return 0;
    g_logEntries[g_entryCount] = entry;
    ComputeEntry(g_entryCount);
    ++g_entryCount;
    return 1;
}

int AppendEntries(const LogEntry* entries, int count) {
    if (count < 0 || count > kMaxLogEntries - g_entryCount || (count > 0 && !entries)) return 0;
    for (int i = 0; i < count; ++i)
        AppendEntry(entries[i]);
    return 1;
}

int RemoveEntry(int position) {
    if (!IsEntryPosition(position)) return 0;
    for (int j = position + 1; j < g_entryCount; ++j) {
        g_logEntries[j - 1] = g_logEntries[j];
        g_entryNutrients[j - 1] = g_entryNutrients[j];
    }
    --g_entryCount;
    return 1;
}

int InsertEntry(int position, const LogEntry& entry) {
    if (position < 0 || position > g_entryCount || g_entryCount >= kMaxLogEntries) return 0;
    for (int j = g_entryCount; j > position; --j) {
        g_logEntries[j] = g_logEntries[j - 1];
        g_entryNutrients[j] = g_entryNutrients[j - 1];
    }
    g_logEntries[position] = entry;
    ComputeEntry(position);
    ++g_entryCount;
    return 1;
}

int ReplaceEntry(int position, const LogEntry& entry) {
    if (!IsEntryPosition(position)) return 0;
    g_logEntries[position] = entry;
    return ComputeEntry(position);
}

int SetQuantity(int position, float quantity) {
    if (!IsEntryPosition(position)) return 0;
    g_logEntries[position].quantity = quantity;
    return ComputeEntry(position);
}

int ReplaceEntries(const LogEntry* entries, int count) {
    if (count < 0 || count > kMaxLogEntries || (count > 0 && !entries)) return 0;
    ClearLogEntries();
    if (count > 0) std::memcpy(g_logEntries, entries, static_cast<size_t>(count) * sizeof entries[0]);
    for (int i = 0; i < count; ++i)
        ComputeEntry(i);
    g_entryCount = count;
    return 1;
}

void SetViewMode(int viewMode) {
    g_viewMode = viewMode;
    for (int i = 0; i < g_entryCount; ++i)
        ComputeEntry(i);
}

void MarkModified() {
    g_modified = 1;
}

void ClearModified() {
    g_modified = 0;
}

int ComputeEntry(int position) {
    if (position < 0 || position >= kMaxLogEntries) return 0;
    ScaleNutrients(g_logEntries[position], &g_entryNutrients[position]);
    return ApplyDailyValues(position);
}

int ApplyDailyValues(int position) {
    if (position < 0 || position >= kMaxLogEntries) return 0;
    ApplyDailyValuesTo(g_logEntries[position].source, g_viewMode, &g_entryNutrients[position]);
    return 1;
}

void ComputeTotals() {
    int count = g_entryCount < 0 ? 0 : (g_entryCount > kMaxLogEntries ? kMaxLogEntries : g_entryCount);
    SumNutrients(g_entryNutrients, count, &g_entryNutrients[kTotalsRecord]);
}

void TotalsInView(int viewMode, EntryNutrients* totals) {
    TotalsOfEntries(g_logEntries, g_entryCount, viewMode, totals);
}
