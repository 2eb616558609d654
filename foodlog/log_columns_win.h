// The food log list view's columns, their headers in either view, and the switch between the views.
#pragma once

#include <windows.h>

#include "platform/window_win.h"

// Creates the log list view at `place` with its columns in the percent view and attaches it as the
// log's view.
HWND CreateLogListView(HWND mainWindow, const ChildPlace& place);
// Commands 125 (percent view) and 126 (amounts view): the view mode, the headers and every row; the
// toolbar's other view button is released.
LRESULT SwitchView(HWND toolbar, int viewMode);
