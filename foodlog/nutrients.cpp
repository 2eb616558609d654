#include "foodlog/nutrients.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/numeric.h"

const DailyValue kDailyValueTable[kNutrientCount] = {
    {0, 0},       // Water
    {0, 0},       // Calories
    {0, 0},       // Protein
    {0, 0},       // Total Fat
    {0, 0},       // Carbohydrates
    {0, 0},       // Fiber
    {0, 0},       // Ash
    {1000, 100},  // Calcium, 1000 mg
    {1000, 100},  // Phosphorus, 1000 mg
    {18, 100},    // Iron, 18 mg
    {2400, 100},  // Sodium, 2400 mg
    {3500, 100},  // Potassium, 3500 mg
    {400, 100},   // Magnesium, 400 mg
    {15, 100},    // Zinc, 15 mg
    {2, 100},     // Copper, 2 mg
    {0, 0},       // Manganese
    {0, 0},       // Selenium
    {5000, 100},  // Vitamin A, 5000 IU
    {30, 100},    // Vitamin E, 30
    {15, 1000},   // Thiamin, 1.5 mg
    {17, 1000},   // Riboflavin, 1.7 mg
    {20, 100},    // Niacin, 20 mg
    {10, 100},    // Pantothenic Acid, 10 mg
    {2, 100},     // Vitamin B6, 2 mg
    {400, 100},   // Folate, 400 mcg
    {6, 100},     // Vitamin B12, 6 mcg
    {60, 100},    // Vitamin C, 60 mg
    {0, 0},       // Saturated Fat
    {0, 0},       // Monounsaturated Fat
    {0, 0},       // Polyunsaturated Fat
    {0, 0},       // Cholesterol
};

namespace {

bool IsDailyValueSlot(int slot) {
    return kDailyValueTable[slot].value != 0;
}

int32_t PercentOfDailyValue(int32_t amount, int slot) {
    const DailyValue& dv = kDailyValueTable[slot];
    return RoundToWhole(ToFloat(static_cast<double>(amount) / dv.value * dv.constant));
}

int32_t AmountOfDailyValue(int32_t percent, int slot) {
    const DailyValue& dv = kDailyValueTable[slot];
    return RoundToWhole(ToFloat(static_cast<double>(percent) * dv.value / dv.constant));
}

// How many (thousandths of) units the quantity makes of a measure that `perServing` units fill.
int32_t FactorPerUnits(float quantity, float perServing) {
    if (perServing == 0.0f) return 0;
    return ToMilliUnits(quantity / perServing);
}

// Household measures: count of the measure times its gram weight, in 100-gram portions.
int32_t FactorOfHouseholdMeasure(float quantity, float count, float gramWeight) {
    if (count == 0.0f) return 0;
    float measures = quantity / count;
    float portions = measures * gramWeight / 100.0f;
    return ToMilliUnits(portions);
}

}  // namespace

bool HeldAsPercentInMyFoods(int slot) {
    return IsDailyValueSlot(slot) && slot != kSodium && slot != kPotassium;
}

namespace {

// Whether the first decimal of the "%f" text of `shown` is 5 to 9. The text rounds to six decimals,
// which moves the fraction by at most 0.0000005: only a fraction that close to 0.5 or to 1 can read
// otherwise than it stands, and only those (and what is not finite) are formatted.
bool FirstDecimalRoundsUp(double shown) {
    double magnitude = std::fabs(shown);
    if (std::isfinite(magnitude)) {
        double fraction = magnitude - std::floor(magnitude);  // exact
        if (fraction < 0.4999 || (fraction > 0.5001 && fraction < 0.9999)) return fraction > 0.5;
    }
    // "%f" of the largest double needs 309 digits before the point.
    char text[400];
    std::snprintf(text, sizeof text, "%f", shown);
    const char* point = std::strchr(text, '.');
    return point && point[1] >= '5' && point[1] <= '9';
}

}  // namespace

int32_t RoundByFirstDecimal(double shown, float value) {
    bool up = FirstDecimalRoundsUp(shown);
    double rounded = up ? std::ceil(static_cast<double>(value)) : std::floor(static_cast<double>(value));
    return SaturateToInt32(rounded);
}

int32_t ToMilliUnits(float x) {
    double product = static_cast<double>(x) * 1000.0;
    return RoundByFirstDecimal(product, ToFloat(product));
}

int32_t RoundToWhole(float x) {
    return RoundByFirstDecimal(static_cast<double>(x), x);
}

int32_t RoundQuotient(double quotient) {
    return RoundByFirstDecimal(quotient, ToFloat(quotient));
}

int32_t ScaleValue(int32_t value, int32_t scaleFactor) {
    // 64 bits: a large quantity of a food with large values overflows 32.
    int64_t product = static_cast<int64_t>(value) * scaleFactor;
    return RoundQuotient(static_cast<double>(product) / 1000.0);
}

int32_t ScaleFactor(const LogEntry& entry) {
    if (entry.source == kSourceMyFoods) {
        switch (entry.measure) {
            case kMeasureFirst:
                return FactorPerUnits(entry.quantity, entry.servingWeight1);
            case kMeasureSecond:
                return FactorPerUnits(entry.quantity, entry.servingWeight2);
            default:
                return 1000;  // one serving, whatever the quantity
        }
    }
    switch (entry.measure) {
        case kMeasureFirst:
            return FactorOfHouseholdMeasure(entry.quantity, entry.servingCount1, entry.servingWeight1);
        case kMeasureSecond:
            return FactorOfHouseholdMeasure(entry.quantity, entry.servingCount2, entry.servingWeight2);
        default:
            return ToMilliUnits(entry.quantity / 100.0f);  // grams
    }
}

void ApplyDailyValuesTo(int32_t source, int viewMode, EntryNutrients* nutrients) {
    bool myFoods = source == kSourceMyFoods;
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        if (!IsDailyValueSlot(slot)) continue;
        bool heldAsPercent = myFoods && HeldAsPercentInMyFoods(slot);
        int32_t& amount = nutrients->amounts[slot];
        if (viewMode == kPercentView && !heldAsPercent) {
            amount = PercentOfDailyValue(amount, slot);
        } else if (viewMode != kPercentView && heldAsPercent) {
            amount = AmountOfDailyValue(amount, slot);
        }
    }
}

void ScaleNutrients(const LogEntry& entry, EntryNutrients* out) {
    int32_t factor = ScaleFactor(entry);
    for (int slot = 0; slot < kNutrientCount; ++slot)
        out->amounts[slot] = ScaleValue(entry.values[slot], factor);
}

void ComputeNutrients(const LogEntry& entry, int viewMode, EntryNutrients* out) {
    ScaleNutrients(entry, out);
    ApplyDailyValuesTo(entry.source, viewMode, out);
}

void SumNutrients(const EntryNutrients* records, int count, EntryNutrients* totals) {
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        int64_t sum = 0;
        for (int i = 0; i < count; ++i)
            sum += records[i].amounts[slot];
        totals->amounts[slot] = SaturateToInt32(sum);
    }
}

void TotalsOfEntries(const LogEntry* entries, int count, int viewMode, EntryNutrients* totals) {
    EntryNutrients records[kMaxLogEntries];
    if (count > kMaxLogEntries) count = kMaxLogEntries;
    for (int i = 0; i < count; ++i)
        ComputeNutrients(entries[i], viewMode, &records[i]);
    SumNutrients(records, count, totals);
}
