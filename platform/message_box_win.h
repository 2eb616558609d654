// Every message box of the program goes through here, so texts, captions and flags are in one
// place and tests can answer them.
#pragma once

#include <windows.h>

// The caption of the program's own messages, and the one text of every write that failed (%s: the file).
constexpr char kProgramCaption[] = "MealTally";
constexpr char kCouldNotWriteFormat[] = "Could not write file %s";

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT flags);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags);

// Test seam: replaces the function that shows the boxes; nullptr restores MessageBoxA.
void SetMessageBoxFunction(MessageBoxFunction function);
