// Every message box of the program goes through here, so texts, captions and flags are in one
// place and tests can answer them.
#pragma once

#include <windows.h>

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT flags);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags);

// Test seam: replaces the function that shows the boxes; nullptr restores MessageBoxA.
void SetMessageBoxFunction(MessageBoxFunction function);
