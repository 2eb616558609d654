// The texts of the log's cells.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foodlog/log_table.h"

constexpr size_t kCellTextSize = 256;
extern const char kTotalRowLabel[];  // "   TOTAL"

// Rewrites in place the decimal text of a milli-unit integer with three decimals ("7" -> "0.007",
// "1234" -> "1.234"); a leading '-' is kept ("-500" -> "-0.500"). `size` is the buffer's size.
void FormatMilliUnits(char* text, size_t size);

// A quantity with two decimals ("1.00").
void FormatQuantity(float quantity, char* text, size_t size);

// A nutrient value as its slot's kind shows it: milli-units with three decimals, whole units as integers.
void FormatNutrient(int32_t value, int slot, char* text, size_t size);

// The Measure cell: the first measure's text, the second measure's text (or, for My Foods, its
// measure table name), or "grams" for any other code.
const char* MeasureCellText(const LogEntry& entry);
