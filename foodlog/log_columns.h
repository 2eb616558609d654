// Which field positions the log shows as columns, and how wide each starts.
// Position 0 is the Description, 1 Quantity, 2 Measure, and 3 + k the nutrient slot k.
#pragma once

#include <cstdint>

constexpr int kFieldPositions = 34;
constexpr int kFirstNutrientPosition = 3;
constexpr int kClosingColumnWidth = 60;
constexpr uint32_t kDefaultColumnMask0 = 0xFFD3FDF7;  // leaves out Water, Ash, Manganese, Selenium, Vitamin E
constexpr uint32_t kDefaultColumnMask1 = 3;

extern const int kColumnWidths[kFieldPositions];

// The column set: bit j of mask 0 stands for position j (0..31), bits 0 and 1 of mask 1 for 32 and 33.
extern uint32_t g_columnSet[2];

void ResetColumnSet();
bool IsPositionShown(int position);

// Which positions become columns: those of the column set, or all 34 (the CSV tool's full table).
enum class ColumnChoice { kColumnSet, kAllPositions };
bool IsPositionChosen(int position, ColumnChoice choice);
// The number of columns the list view has before its closing column.
int CountLogColumns();
