// The food log: up to 50 entries, each a snapshot of one food's database line, and the
// computed nutrients of every entry plus the totals record of the TOTAL row.
#pragma once

#include <cstdint>

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

struct MeasureName {
    const char* name;
    int length;
};
constexpr int kMeasureTableSize = 8;
constexpr int kGramsMeasureRow = 6;
constexpr int kNoSecondMeasure = 99;  // My Foods "Serving 4" value of a food without a second measure
extern const MeasureName kMeasureTable[kMeasureTableSize];
// The table row's name, or nullptr when the row is outside the table.
const char* MeasureTableName(int row);

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

// Process-wide log state, owned here.
extern LogEntry g_logEntries[kMaxLogEntries];
extern EntryNutrients g_entryNutrients[kMaxLogEntries + 1];
extern int g_entryCount;
extern int g_viewMode;
extern int g_modified;

// Back to the start-up state: no entries, percent view, unmodified.
void ResetLogState();
