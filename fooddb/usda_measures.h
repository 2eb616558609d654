// The USDA's household measures of a food beyond the two of its table line (the program's WEIGHTS.txt:
// record number^seq^amount^description^grams, one measure a line, in the USDA's order).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kMeasureWordsSize = 48;  // a measure's words as a log entry keeps them, terminator included

struct UsdaMeasure {
    float amount;  // the count the weight is of: 1 for "1 medium"
    float grams;
    std::string words;  // "medium", at most kMeasureWordsSize - 1 bytes
};

// The measures of the food on the table line at `offset` that its line does not already offer, in the
// weight file's order. A measure without a weight or an amount can scale nothing and is left out; words
// too long for a log entry are cut as the entry cuts them. None when the line is no line of the table.
void FurtherUsdaMeasures(std::string_view table, size_t offset, std::string_view weights,
                         std::vector<UsdaMeasure>* measures);
