// What the user can do inside the log itself: change a quantity in place, delete an entry.
#pragma once

#include <windows.h>

constexpr char kDeleteEntryQuestion[] = "Are you sure you want to delete this entry?";

// Subclasses the log list view (keeping its procedure) and clears the editing state.
void SubclassLogListView(HWND listView);

// The quantity editor over a Quantity cell, or null while no quantity is being edited.
HWND QuantityEditor();
// Ends an open quantity edit as losing the focus does: the typed value is kept.
void FinishQuantityEdit();
