// File > Save Log as My Food: the dialog that keeps the log as one food of the My Foods file.
#pragma once

#include <windows.h>

#include "fooddb/food_dialogs_win.h"

constexpr char kEmptyLogFoodMessage[] =
    "The log is empty: add the foods of the dish to it first, then save it as a My Food.";
constexpr int kServingsTextSize = 32;

// Asks for the food's description and the number of servings the log makes, and appends the log's
// totals per serving to the My Foods file as a new food; `reload` then fills the My Foods list (and
// what depends on it) again. An empty log gets a message instead. 1 when the food was written.
int ShowSaveLogAsFoodDialog(HWND owner, ReloadMyFoodsFunction reload);
