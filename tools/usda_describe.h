// Converting the USDA's food descriptions (FOOD_DES.txt, 14 fields a line) and household measures
// (WEIGHT.txt, 7 fields a line) into the program's LONGDESC.txt and WEIGHTS.txt: '^'-separated fields,
// text without its '~' quotes, CR LF, one line per source line in the source's order.
//   LONGDESC.txt: record number^food group^survey flag^manufacturer^long description^common names
//   WEIGHTS.txt:  record number^seq^amount^measure description^grams
// Bytes pass through unchanged (the USDA's text is Windows-1252).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

constexpr int kFoodDesFieldCount = 14;
constexpr int kWeightFieldCount = 7;

// Where and why a source line was refused.
struct UsdaLineFault {
    size_t line = 0;               // 1-based
    size_t fields = 0;             // how many fields the line has
    bool badRecordNumber = false;  // it has the right fields, but field 0 is not a 5-digit record number
};

// A whole source file. Blank lines are skipped; a last line without a line end is still a line.
// On failure returns 0, leaves `output` empty and says which line in `fault`.
int ConvertUsdaDescriptions(std::string_view source, std::string* output, UsdaLineFault* fault);
int ConvertUsdaWeights(std::string_view source, std::string* output, UsdaLineFault* fault);
