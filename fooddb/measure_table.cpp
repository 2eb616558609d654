#include "fooddb/measure_table.h"

const MeasureName kMeasureTable[kMeasureTableSize] = {
    {"Cup", 3},      {"fl oz", 5},       {"mL", 2},    {"Ounces", 6},
    {"Teaspoon", 8}, {"Tablespoon", 10}, {"grams", 5}, {"per serving", 11},
};

const char* MeasureTableName(int row) {
    if (row < 0 || row >= kMeasureTableSize) return nullptr;
    return kMeasureTable[row].name;
}
