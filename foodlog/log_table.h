// The food log: up to 50 entries, each a snapshot of one food's database line, and the
// computed nutrients of every entry plus the totals record of the TOTAL row.
#pragma once

#include <cstdint>

#include "fooddb/measure_table.h"

constexpr int kNutrientCount = 31;
constexpr int kMaxLogEntries = 50;
constexpr int kTotalsRecord = 50;  // EntryNutrients index of the TOTAL row
constexpr int kNameSize = 256;
constexpr int kServingTextSize = 48;

// The fixed order of the 31 nutrients: in database lines, log entries, columns and totals.
enum NutrientSlot : int {
    kWater = 0,
    kCalories,
    kProtein,
    kTotalFat,
    kCarbohydrates,
    kFiber,
    kAsh,
    kCalcium,
    kPhosphorus,
    kIron,
    kSodium,
    kPotassium,
    kMagnesium,
    kZinc,
    kCopper,
    kManganese,
    kSelenium,
    kVitaminA,
    kVitaminE,
    kThiamin,
    kRiboflavin,
    kNiacin,
    kPantothenicAcid,
    kVitaminB6,
    kFolate,
    kVitaminB12,
    kVitaminC,
    kSaturatedFat,
    kMonounsaturatedFat,
    kPolyunsaturatedFat,
    kCholesterol,
};

// Milli-unit slots count thousandths of their unit; whole-unit slots count whole units.
enum class SlotKind { kMilliUnit, kWholeUnit };
SlotKind KindOfSlot(int slot);

// Which database a food comes from; also the index of the search's database chooser.
enum FoodSource : int32_t { kSourceMyFoods = 0, kSourceUsda = 1 };

// Measure codes that the Food Quantity dialog passes on.
constexpr int32_t kMeasureFirst = 0;
constexpr int32_t kMeasureSecond = 1;
constexpr int32_t kMeasureGrams = 2;
constexpr int32_t kMeasureNone = -1;

struct LogEntry {
    char name[kNameSize];
    int32_t values[kNutrientCount];
    float servingWeight1;
    int32_t reserved1;
    float servingCount1;
    char servingText1[kServingTextSize];
    float servingWeight2;
    int32_t measureIndex;
    float servingCount2;
    char servingText2[kServingTextSize];
    int32_t refuse;
    int32_t reserved2;
    float quantity;
    int32_t measure;
    int32_t source;
};
static_assert(sizeof(LogEntry::name) == 256, "a description holds 255 characters and its terminator");
static_assert(sizeof(LogEntry::servingText1) == 48 && sizeof(LogEntry::servingText2) == 48,
              "a serving text holds 47 characters and its terminator");
static_assert(sizeof(float) == 4, "log documents store IEEE single-precision floats");

struct EntryNutrients {
    int32_t amounts[kNutrientCount];
};

// The view mode decides what EntryNutrients hold for the vitamin and mineral slots.
enum ViewMode : int { kAmountsView = 0, kPercentView = 1 };

// The log is process-wide state owned by this module: 50 entries, the entry count, the computed
// nutrients of every entry plus the totals record, the view mode and the modified flag. Everyone
// else reads it through these functions and changes it through the operations below.
int EntryCount();
const LogEntry& EntryAt(int position);          // position 0..49
const LogEntry* LogEntries();                   // all 50 entries, in log order
const EntryNutrients& NutrientsAt(int record);  // 0..49, or kTotalsRecord
int ViewMode();
int IsModified();

// Back to the start-up state: no entries, every record zero, percent view, unmodified.
void ResetLogState();
// Every field of the 50 entries and of their 50 nutrient records zero; the totals record and the
// entry count stay as they are.
void ClearLogEntries();
// No entries: the count is 0, the records stay as they were (nothing shows them).
void ClearLog();
// Appends the entry as the next one and computes it. 0 when the log is full.
int AppendEntry(const LogEntry& entry);
// Appends the entries after the current ones and computes them. 0, changing nothing, when they do not
// all fit.
int AppendEntries(const LogEntry* entries, int count);
// Removes the entry, moving the later ones up with their nutrients. 0 when there is no such entry.
int RemoveEntry(int position);
// Puts the entry at the position (0..count), moving the later ones down with their nutrients, and
// computes it. 0 when the log is full or the position is outside 0..count.
int InsertEntry(int position, const LogEntry& entry);
// The entry at the position becomes `entry`, computed again. 0 when there is no such entry.
int ReplaceEntry(int position, const LogEntry& entry);
// A new quantity for the entry, which is computed again. 0 when there is no such entry.
int SetQuantity(int position, float quantity);
// The log becomes the first `count` (0..50) of `entries`, every other position cleared, each entry
// computed in the current view mode. 0, changing nothing, for a count outside 0..50.
int ReplaceEntries(const LogEntry* entries, int count);
// The view mode, and every entry computed again in it.
void SetViewMode(int viewMode);
void MarkModified();
void ClearModified();

// The entry's nutrient record from its LogEntry in the current view mode. 0 outside 0..49.
int ComputeEntry(int position);
// The Daily Value step of ComputeEntry, in place on the entry's record. 0 outside 0..49.
int ApplyDailyValues(int position);
// The totals record: slot by slot, the sum over all entries.
void ComputeTotals();
// The totals record the log would hold in the view mode, worked out without changing the log.
void TotalsInView(int viewMode, EntryNutrients* totals);
