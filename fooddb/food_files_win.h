// The food database files at the installation folder, and the list boxes and dialog controls they fill.
#pragma once

#include <windows.h>

#include <cstddef>

#include "fooddb/food_files.h"

constexpr char kMyFoodsPath[] = "C:\\Program Files\\Meal-Tally\\mtmyfood";
constexpr char kUsdaPath[] = "C:\\Program Files\\Meal-Tally\\ABBREV.txt";

// The measure pickers of the open food item dialog (fields 33 and 35); the dialog sets them when it
// starts, and null when it ends.
void SetMeasurePickers(HWND measurePicker, HWND secondMeasurePicker);
HWND MeasurePicker();
HWND SecondMeasurePicker();

// Adds one item per food of the file to the list box: its description, with its line offset as item data.
// 0, adding nothing, when the file cannot be read; 0 also when the list box refuses an item.
int FillFoodList(HWND list, const char* path, FoodFile file);
int LoadMyFoods(HWND list);
int LoadUsdaFoods(HWND list);

// The USDA food's two household measures (see ReadUsdaServings). 0, leaving the buffers as they
// were, when the file cannot be read or the offset is not a line start.
int GetUsdaServings(char* first, size_t firstSize, char* second, size_t secondSize, LPARAM offset);

// The My Foods food's serving measure and second measure row (see ReadMyFoodServing).
int GetMyFoodServing(char* text, size_t textSize, int* secondRow, LPARAM offset);

// Removes the line of the food selected in the My Foods list from the file, replacing the file in one
// step. 0 when nothing is selected or the file cannot be read or replaced (the file is then unchanged).
int RemoveMyFood(HWND myFoodsList);

// Checks the food item dialog's 37 fields and appends them as a new line of the My Foods file.
// 0 after a validation message, after "Malloc Failed!", or when the file cannot be written.
int AppendMyFood(HWND dialog);

// Puts the fields of the My Foods line at `offset` into the food item dialog's controls.
int FillFoodDialog(HWND dialog, LPARAM offset);
