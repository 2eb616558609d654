// The program's eight measures: the food item dialogs offer them, a My Foods line stores a row of
// them, and the log's Measure cells show their names.
#pragma once

struct MeasureName {
    const char* name;
    int length;
};
constexpr int kMeasureTableSize = 8;
constexpr int kGramsMeasureRow = 6;
constexpr int kPerServingMeasureRow = 7;
constexpr int kNoMeasureRow = -1;
constexpr int kSecondMeasureRows = 7;  // the second measure picker offers rows 0 to 6
constexpr int kNoSecondMeasure = 99;   // My Foods "Serving 4" value of a food without a second measure
constexpr char kNoSecondMeasureText[] = "99";  // and the same as a My Foods line writes it
extern const MeasureName kMeasureTable[kMeasureTableSize];

// The table row's name, or nullptr when the row is outside the table.
const char* MeasureTableName(int row);
