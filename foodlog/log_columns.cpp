#include "foodlog/log_columns.h"

const int kColumnWidths[kFieldPositions] = {
    120, 60,  60,                     // Description, Quantity, Measure
    60,  60,  70,  80, 110, 60,  60,  // Water, Calories, Protein, Total Fat, Carbohydrates, Fiber, Ash
    75,  95,  60,  75, 90,  90,  60, 75, 70,  60,  // Calcium .. Selenium
    80,  70,  75,  90, 70,  120, 90, 75, 100, 85,  // Vitamin A .. Vitamin C
    100, 100, 100, 90,                             // the three fats, Cholesterol
};

uint32_t g_columnSet[2] = {kDefaultColumnMask0, kDefaultColumnMask1};

void ResetColumnSet() {
    g_columnSet[0] = kDefaultColumnMask0;
    g_columnSet[1] = kDefaultColumnMask1;
}

bool IsPositionShown(int position) {
    if (position < 0 || position >= kFieldPositions) return false;
    if (position < 32) return (g_columnSet[0] >> position) & 1u;
    return (g_columnSet[1] >> (position - 32)) & 1u;
}

bool IsPositionChosen(int position, ColumnChoice choice) {
    if (choice == ColumnChoice::kAllPositions) return position >= 0 && position < kFieldPositions;
    return IsPositionShown(position);
}

int CountLogColumns() {
    int count = 0;
    for (int position = 0; position < kFieldPositions; ++position)
        count += IsPositionShown(position);
    return count;
}
