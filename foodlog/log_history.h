// The log's changes, one step each, that Undo takes back and Redo does again, without a limit on
// their number. A step keeps only what its change touched (the entries it added or removed, the two
// values of a quantity), never a copy of the whole log.
#pragma once

#include "foodlog/log_table.h"

enum class ChangeKind { kAdd, kDelete, kChangeQuantity, kInsertLog, kPaste, kCut };
// The change as the Edit menu names it: "Add", "Delete", "Change Quantity", "Insert Log", "Paste", "Cut".
const char* ChangeName(ChangeKind kind);

// Appends the entries, computed, as one step. 0, changing nothing, when there are none or they do not
// all fit.
int AppendAsChange(ChangeKind kind, const LogEntry* entries, int count);
// Removes the entries at the positions (any order) as one step. 0, changing nothing, when there are none,
// or one is not an entry or is named twice.
int RemoveAsChange(ChangeKind kind, const int* positions, int count);
// A new quantity for the entry, which is computed again, as one step. 0 when there is no such entry.
int SetQuantityAsChange(int position, float quantity);

// Whether there is a step to take back or to do again, and its kind.
int NextUndo(ChangeKind* kind);
int NextRedo(ChangeKind* kind);
// Takes back the last step done, or does again the last one taken back. The modified flag then says
// whether the log differs from what was last saved. 0 when there is no such step, and also when the log
// no longer holds what the step changed (it was changed around the history), which drops the history.
int UndoChange();
int RedoChange();

// No steps: the history starts from the log as it stands, which counts as saved (the modified flag is
// cleared). New and Open start it.
void StartHistory();
// The log as it stands is what was saved: the modified flag is cleared, and set again by a step away.
void MarkSaved();
