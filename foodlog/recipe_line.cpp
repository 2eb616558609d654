#include "foodlog/recipe_line.h"

#include <cmath>
#include <cstdio>

#include "fooddb/field_rules.h"
#include "fooddb/food_fields.h"
#include "foodlog/log_cells.h"
#include "foodlog/nutrients.h"

namespace {

constexpr char kOneServing[] = "1";

}  // namespace

int ParseServings(std::string_view text, double* servings) {
    if (text.empty() || !IsNumericField(text.data(), text.size())) return 0;
    float value = ParseRealField(text);
    if (!(value > 0.0f) || std::isinf(value)) return 0;
    *servings = static_cast<double>(value);
    return 1;
}

// One division and one rounding per slot: the line keeps the nearest value to the true share,
// not a share of values already rounded.
void PerServingValues(const EntryNutrients& amounts, double servings, EntryNutrients* perServing) {
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        double share = static_cast<double>(amounts.amounts[slot]) / servings;
        if (HeldAsPercentInMyFoods(slot)) {
            const DailyValue& dv = kDailyValueTable[slot];
            share = share / dv.value * dv.constant;
        }
        perServing->amounts[slot] = RoundQuotient(share);
    }
}

int RecipeLine(std::string_view description, const EntryNutrients& perServing, std::string* line,
               FieldFailure* failure) {
    static_assert(kFoodNutrientFields == kNutrientCount, "a food line holds every nutrient slot");
    char values[kNutrientCount][kCellTextSize];
    std::string_view fields[kMyFoodFieldCount];
    fields[kMyFoodsLine.description] = description;
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        FormatNutrient(perServing.amounts[slot], slot, values[slot], sizeof values[slot]);
        fields[kMyFoodsLine.firstNutrient + slot] = values[slot];
    }
    fields[kMyFoodsLine.servingWeight1] = kOneServing;
    fields[kMyFoodsLine.measure1] = kMeasureTable[kPerServingMeasureRow].name;
    fields[kMyFoodsLine.measure2] = kNoSecondMeasureText;
    // The same checks as a food typed into Add New Food, so the line reads back as any other.
    if (!CheckMyFoodFields(fields, failure)) return 0;
    line->resize(MyFoodLineLength(fields));
    line->resize(AssembleMyFoodLine(fields, &(*line)[0], line->size()));
    return 1;
}
