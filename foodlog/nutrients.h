// Fixed-point nutrient arithmetic: scaling an entry to its logged quantity and converting
// vitamins and minerals between amounts and percentages of the Daily Values.
#pragma once

#include <cstdint>

#include "foodlog/log_table.h"

// One Daily Value: the stored value and the constant it is used with (1000 where the
// value is kept in tenths of its unit, 100 otherwise). A value of 0 means no Daily Value.
struct DailyValue {
    int32_t value;
    int32_t constant;
};
extern const DailyValue kDailyValueTable[kNutrientCount];

// Half-up at the first decimal of the six-decimal "%f" text of `shown`, applied as the ceiling
// or floor of `value` (the same number held as a float). Saturates outside the 32-bit range.
int32_t RoundByFirstDecimal(double shown, float value);
int32_t ToMilliUnits(float x);
int32_t RoundToWhole(float x);
// A quotient worked out in double precision, rounded by the same rule at its slot's precision.
int32_t RoundQuotient(double quotient);
int32_t ScaleValue(int32_t value, int32_t scaleFactor);

// The vitamins and minerals a My Foods line holds as percentages of the Daily Value, as a label
// does (Sodium and Potassium are amounts there).
bool HeldAsPercentInMyFoods(int slot);

// The entry's quantity in thousandths of 100-gram portions (USDA) or of servings (My Foods).
int32_t ScaleFactor(const LogEntry& entry);

// The entry's nutrients in the quantity logged, as amounts.
void ScaleNutrients(const LogEntry& entry, EntryNutrients* out);
// The vitamins and minerals of a food from the source database converted, in place, to what the view
// mode shows: percentages of the Daily Values or amounts.
void ApplyDailyValuesTo(int32_t source, int viewMode, EntryNutrients* nutrients);
// Both steps: the entry's nutrients in the quantity logged, as the view mode shows them.
void ComputeNutrients(const LogEntry& entry, int viewMode, EntryNutrients* out);

// Slot by slot, the sum of the first `count` records (none for a count below 1), saturated to 32 bits.
void SumNutrients(const EntryNutrients* records, int count, EntryNutrients* totals);
// The TOTAL record of the first `count` (0..50) entries in the view mode: each entry computed, then summed.
void TotalsOfEntries(const LogEntry* entries, int count, int viewMode, EntryNutrients* totals);
