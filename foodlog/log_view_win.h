// The food log list view: one row per entry and the TOTAL row below them.
#pragma once

#include <windows.h>

// The log list view the refreshes fill: attached once it is created, null before and after.
void AttachLogListView(HWND listView);
HWND LogListView();

// Rebuild every entry row (and leave no TOTAL row); always followed at once by RefreshTotalRow.
int RefreshLogRows();
// Sum the entries into the totals record and append the TOTAL row (none for an empty log).
int RefreshTotalRow();
// Both, always in that order, after every change of the log.
int RefreshLog();
