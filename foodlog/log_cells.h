// The texts of the log's cells.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foodlog/log_columns.h"
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

// The header of log position 0..33 in the view mode, as the string table spells it; "" outside 0..33.
const char* LogHeaderText(int position, int viewMode);

// One row of the log's texts, column by column, as the list view shows them (its empty closing
// column left out).
struct LogRowTexts {
    int count;
    char cells[kFieldPositions][kCellTextSize];
};

// The header row of the view mode: one header for each chosen position.
void FormatLogHeaders(int viewMode, ColumnChoice choice, LogRowTexts* out);
// Appends a cell to the row, cut to a cell's size; a row that is full takes no more.
void PutCell(LogRowTexts* out, const char* text);
// Appends the headers of the chosen positions from `firstPosition` on, in the view mode's words.
void PutHeaders(int viewMode, ColumnChoice choice, int firstPosition, LogRowTexts* out);

// Appends the nutrient cells of a record, one for each chosen nutrient position, as the log's rows and its
// TOTAL row show them; every table of nutrients the program shows or writes takes its cells from here.
void FormatNutrientCells(const EntryNutrients& nutrients, ColumnChoice choice, LogRowTexts* out);

// Row `record` of the log: entry 0..49, or the TOTAL row for any other record. Description, Quantity
// and Measure always have a cell; a nutrient position has one only where it is chosen, so the cells
// stay aligned with the headers.
void FormatLogRow(int record, ColumnChoice choice, LogRowTexts* out);
