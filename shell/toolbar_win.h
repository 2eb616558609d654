// The toolbar with its view buttons, and the status bar with its note.
#pragma once

#include <windows.h>

extern const char kStatusNote[];

HWND CreateToolbar(HWND mainWindow);
HWND CreateStatusBar(HWND mainWindow);
