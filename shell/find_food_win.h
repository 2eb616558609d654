// The Find Food window: a food of either database found as it is typed, and added to the log with
// the Food Quantity dialog.
#pragma once

#include <windows.h>

// Opens the window, or brings it forward with its search text selected.
void ShowFindFood(HWND owner);
// The window while it is open, else null.
HWND FindFoodWindow();
// Shows a change of the My Foods file in the open window at once.
void FollowMyFoodsInFind();
// True when the message was the window's own (its keys: Tab, Enter, Esc).
bool IsFindFoodMessage(MSG* message);
