// What the user can do inside the log itself: change a quantity in place, select and delete entries.
#pragma once

#include <windows.h>

#include "foodlog/log_history.h"
#include "foodlog/log_table.h"

constexpr char kDeleteEntryQuestion[] = "Are you sure you want to delete this entry?";
constexpr char kDeleteEntriesFormat[] = "Are you sure you want to delete these %d entries?";

// Subclasses the log list view (keeping its procedure) and clears the editing state; its description
// tip is made apart (CreateDescriptionTip).
void SubclassLogListView(HWND listView);

// The quantity editor over a Quantity cell, or null while no quantity is being edited.
HWND QuantityEditor();
// Ends an open quantity edit as losing the focus does: the typed value is kept.
void FinishQuantityEdit();

// The positions of the selected entries, rising, into a buffer of kMaxLogEntries; the TOTAL row is no
// entry. Returns how many.
int SelectedEntries(int* positions);
// Selects every entry, the TOTAL row left out.
void SelectAllEntries();
// Removes the selected entries as one step, without asking; 0 when none is selected.
int RemoveSelectedEntries(ChangeKind kind);
// Asks once, naming how many entries when there are several, then removes the selected entries and
// marks the log modified; nothing is asked while none is selected.
void DeleteSelectedEntries();
