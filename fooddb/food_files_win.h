// The food database files at the installation folder, and the list boxes and dialog controls they fill.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "fooddb/food_files.h"

constexpr char kMyFoodsPath[] = "C:\\Program Files\\Meal-Tally\\mtmyfood";
constexpr char kUsdaPath[] = "C:\\Program Files\\Meal-Tally\\ABBREV.txt";
// The USDA's long descriptions of the foods of ABBREV.txt; the program works without them.
constexpr char kUsdaDescriptionsPath[] = "C:\\Program Files\\Meal-Tally\\LONGDESC.txt";
// The USDA's household measures; without them a food offers the two measures of its table line.
constexpr char kUsdaWeightsPath[] = "C:\\Program Files\\Meal-Tally\\WEIGHTS.txt";

// The measure pickers of the open food item dialog (fields 33 and 35); the dialog sets them when it
// starts, and null when it ends.
void SetMeasurePickers(HWND measurePicker, HWND secondMeasurePicker);
HWND MeasurePicker();
HWND SecondMeasurePicker();

// Adds one item per food of the file to the list box: its description, with its line offset as item data.
// 0, adding nothing, when the file cannot be read; 0 also when the list box refuses an item.
// A remembered fill of an empty sorted list is kept for the next RefillFoodList of that list.
int FillFoodList(HWND list, const char* path, FoodFile file, bool remember = false);
// Leaves the list exactly as emptying it and filling it from the file would, but after a remembered
// fill changes only the items that differ. 0, with the list empty, when the file cannot be read.
int RefillFoodList(HWND list, const char* path, FoodFile file);
int LoadMyFoods(HWND list);
// Empties the My Foods list and fills it again from the file, as above.
int ReloadMyFoodsList(HWND list);
int LoadUsdaFoods(HWND list);
// How many times the My Foods list has been loaded; it changes after every change of the file.
unsigned MyFoodsLoads();

// The USDA food's two household measures (see ReadUsdaServings). 0, leaving the buffers as they
// were, when the file cannot be read or the offset is not a line start.
int GetUsdaServings(char* first, size_t firstSize, char* second, size_t secondSize, LPARAM offset);

// The My Foods food's serving measure and second measure row (see ReadMyFoodServing).
int GetMyFoodServing(char* text, size_t textSize, int* secondRow, LPARAM offset);

// Shown when the list no longer matches the My Foods file (another copy of the program changed it).
constexpr char kStaleFoodMessage[] =
    "This food has changed in the My Foods file since the list was loaded (perhaps by another copy "
    "of Meal-Tally), so it was left as it is.\r\n\r\nThe list has been loaded again: please select "
    "the food once more.";

// The food a My Foods list item names: its line offset and its text.
struct ListedFood {
    size_t offset;
    char text[kItemTextSize];
};
// The food selected in the list; 0 when none is selected.
int SelectedMyFood(HWND myFoodsList, ListedFood* food);

// The food item dialog's 37 field texts, read into one buffer that also has room for their line.
struct FoodForm {
    char* buffer = nullptr;
    std::string_view fields[kMyFoodFieldCount];
    char* line = nullptr;
    size_t lineCapacity = 0;
    FoodForm() = default;
    ~FoodForm();
    FoodForm(const FoodForm&) = delete;
    FoodForm& operator=(const FoodForm&) = delete;
};
// 0 after "Malloc Failed!".
int ReadFoodForm(HWND dialog, FoodForm* form);
// The field's message with its label, owned by the dialog, without a caption of its own.
void ShowFieldMessage(HWND dialog, const FieldFailure& failure);

// Appends one food's line (CR LF included) to the My Foods file, all or nothing; every food added to
// the file comes through here. 0 when the file cannot be written.
int AppendMyFoodLine(const char* line, size_t size);

// Checks the food item dialog's 37 fields and appends them as a new line of the My Foods file.
// 0 after a validation message, after "Malloc Failed!", or when the file cannot be written.
int AppendMyFood(HWND dialog);

// Puts the fields of the My Foods line at `offset` into the food item dialog's controls.
int FillFoodDialog(HWND dialog, LPARAM offset);

enum class FoodUpdate { kDone, kRefused, kCannotRead, kStale, kCannotWrite };

// Fills the dialog from the listed food's line and keeps that line in `*filledLine`, when the line at
// its offset still is that food; else kStale, or kCannotRead when the file cannot be read.
FoodUpdate LoadListedFood(HWND dialog, const ListedFood& food, std::string* filledLine);

// Removes the line of the food selected in the My Foods list from the file, holding the file from the
// read to the rewrite. 0 when nothing is selected (kRefused), when the file cannot be read, for
// instance while another copy holds it (kCannotRead), when the line at the item's offset is no longer
// the item's food (kStale), or when the file cannot be written (kCannotWrite); the file is then
// unchanged.
int RemoveMyFood(HWND myFoodsList, FoodUpdate* outcome = nullptr);

// Replaces the food's line by the line of the dialog's form at the end of the file, in one step, when
// the line at its offset still is `filledLine`. kRefused after a field's message (nothing is read or
// written); on every other result but kDone the file is unchanged.
FoodUpdate ReplaceMyFood(HWND dialog, const FoodForm& form, const ListedFood& food, std::string_view filledLine);
