// The Edit menu: Undo and Redo of the log's changes, the clipboard's Cut, Copy and Paste of entries,
// Delete and Select All. Every command acts on the log, whichever control has the focus.
#pragma once

#include <windows.h>

// The name of the clipboard format that carries entries between logs and running copies.
constexpr char kEntriesFormatName[] = "Meal-Tally log entries";
constexpr char kPasteTooManyFormat[] =
    "Cannot exceed 50 items in Main Window!\r\n\r\nThe clipboard holds %d entries and only %d more fit, so "
    "nothing was pasted.";
constexpr char kPasteDamagedMessage[] = "The entries on the clipboard cannot be read, so nothing was pasted.";
constexpr char kCopyFailedMessage[] = "The clipboard could not be opened, so nothing was copied.";

// The clipboard format of copied entries, registered on first use.
UINT EntriesFormat();

// Commands of the Edit menu. Each first ends a quantity edit, keeping what was typed.
LRESULT UndoLogChange();
LRESULT RedoLogChange();
LRESULT CutEntries(HWND window);
// Puts the selected entries (with none selected, the whole log with its TOTAL row) on the clipboard
// as text and in the entries format. 1 when they are there.
LRESULT CopyEntries(HWND window);
LRESULT PasteEntries(HWND window);
LRESULT DeleteEntries();
LRESULT SelectAllInLog();

// The Edit menu's items greyed where they can do nothing, Undo and Redo named by their step.
void UpdateEditMenu(HMENU editMenu);
