// Converting the USDA's own abbreviated table (53 fields a line) into the program's ABBREV.txt
// layout (38 fields a line, CR LF).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fooddb/food_fields.h"

constexpr int kUsdaSourceFieldCount = 53;
constexpr int kUsdaFieldCount = kUsdaLine.fieldCount;

// One source line (without its line end) as one program line, CR LF included. 0 when the line
// does not have exactly 53 fields.
int ConvertUsdaLine(std::string_view sourceLine, std::string* output);

// A whole source table. Blank lines are skipped; a last line without a line end is still a line.
// On failure returns 0 and sets `badLine` to the 1-based number of the first line without 53 fields,
// and `badFields` (when given) to how many it has.
int ConvertUsdaTable(std::string_view source, std::string* output, size_t* badLine,
                     size_t* badFields = nullptr);
