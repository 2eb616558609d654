// A log kept as one My Food: the log's totals per serving, written as a My Foods line, so that a
// dish logged once from its ingredients can be logged again as "1 per serving".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fooddb/food_files.h"
#include "foodlog/log_table.h"

constexpr char kServingsMessage[] =
    "Illegal Character or blank field: \"Servings\"\r\nor a number not greater than 0";

// The number of servings a text names: digits and '.' only, read as a food line's numbers are
// read, and greater than 0. 0 when it names none.
int ParseServings(std::string_view text, double* servings);

// Each slot's value per serving in the unit and precision its My Foods field keeps: amounts, or
// percentages of the Daily Value where the line holds those; thousandths for a milli-unit slot,
// whole units for a whole-unit slot.
void PerServingValues(const EntryNutrients& amounts, double servings, EntryNutrients* perServing);

// The My Foods line (CR LF included) of a food with these per-serving values: "1" of the measure
// "per serving", no second measure, no refuse. 0, with `line` untouched, when the description breaks
// the My Foods rule (`failure` then says so, as the food item dialogs say it).
int RecipeLine(std::string_view description, const EntryNutrients& perServing, std::string* line,
               FieldFailure* failure);
