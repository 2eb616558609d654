// The food log list view's columns, their headers in either view, and the switch between the views.
#pragma once

#include <windows.h>

HWND CreateLogListView(HWND mainWindow);
// Rewrites every header text for the current view mode; widths stay as the user left them.
void SetColumnHeaders(HWND header);
// Commands 125 (percent view) and 126 (amounts view).
LRESULT SwitchView(HWND toolbar, int viewMode);
