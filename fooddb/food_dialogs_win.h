// The Add New Food and Edit Food Item dialogs over the My Foods file, with their measure pickers.
#pragma once

#include <windows.h>

#include "fooddb/food_files_win.h"

constexpr char kCannotUpdateMessage[] = "Cannot update Food Item.";
constexpr char kCannotReadCaption[] = "Error #201";
constexpr char kCannotWriteCaption[] = "Error #202";

// Where the dialogs put the measure pickers, in pixels of the dialog's client area.
constexpr int kMeasurePickerX = 440;
constexpr int kMeasurePickerY = 14;
constexpr int kSecondMeasurePickerY = 44;
constexpr int kMeasurePickerWidth = 70;
constexpr int kMeasurePickerDropHeight = 350;

// Empties the My Foods list and fills it again from the file, with whatever depends on its items.
using ReloadMyFoodsFunction = void (*)();

// Opens the modal dialog, owned by `owner`, on the foods of `myFoodsList` (Edit works on its selected
// food). After the file changed, or whenever the list no longer matches it, `reload` runs; without one
// the list alone is filled again.
void ShowAddFoodDialog(HWND owner, HWND myFoodsList, ReloadMyFoodsFunction reload);
void ShowEditFoodDialog(HWND owner, HWND myFoodsList, ReloadMyFoodsFunction reload);

// "Cannot update Food Item.", captioned by whether the My Foods file could not be read (kCannotRead:
// also while another copy holds it) or not written, owned by the window with the keyboard focus.
void ShowCannotUpdate(FoodUpdate result);

