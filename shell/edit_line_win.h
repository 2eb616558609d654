// Reading what the user typed into a single-line edit control.
#pragma once

#include <windows.h>

// The edit's first line, cut to size - 1 characters and ended with a NUL; returns its length.
int GetEditLine(HWND edit, char* text, int size);
