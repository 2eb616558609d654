// The toolbar with its view buttons, and the status bar with its note.
#pragma once

#include <windows.h>

#include <commctrl.h>

extern const char kStatusNote[];

HWND CreateToolbar(HWND mainWindow);
// Answers the toolbar's request for a button's tooltip text; 0 either way.
LRESULT SetToolbarTip(NMTTDISPINFOA* request);
HWND CreateStatusBar(HWND mainWindow);
