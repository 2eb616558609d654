// What the user can do inside the log itself: change a quantity in place, delete an entry.
#pragma once

#include <windows.h>

constexpr char kDeleteEntryQuestion[] = "Are you sure you want to delete this entry?";

// Subclasses the log list view (keeping its procedure) and clears the editing state.
void SubclassLogListView(HWND listView);
LRESULT CALLBACK LogListProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK QuantityEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);

// The quantity editor over a Quantity cell, or null while no quantity is being edited.
HWND QuantityEditor();
