// CSV text as the program writes it for a spreadsheet: RFC 4180 quoting, each record ended by CR LF.
#pragma once

#include <string>
#include <string_view>

#include "foodlog/log_cells.h"

// One field, quoted when it holds a comma, a quote or a line break (quotes doubled inside).
void AppendCsvField(std::string_view text, std::string* out);

// The row's cells as one record.
void AppendCsvRow(const LogRowTexts& row, std::string* out);
// The row's cells separated by tabs, as spreadsheets take a table from the clipboard; a cell holding a
// tab, a line break or a quote is quoted as in CSV.
void AppendTabRow(const LogRowTexts& row, std::string* out);
