// The left pane: the three tab pages with their lists, the search and the My Foods buttons.
#pragma once

#include <windows.h>

HWND CreateFoodTabs(HWND mainWindow);
// Shows the controls of the current tab page and hides the others.
LRESULT ShowFoodPage(HWND tabs);
// Deletes the list's first item until it is empty.
int EmptyListBox(HWND list);
