// The log as a document: its path and title, and the caption that names it.
#pragma once

#include <windows.h>

constexpr int kPathSize = 260;
extern char g_documentPath[kPathSize];
extern char g_documentTitle[kPathSize];

// "MealTally - <title>", or "MealTally - (untitled)" when the title is empty.
void SetDocumentCaption(HWND window, const char* title);

// The unsaved-changes question: IDYES (and the log was saved), IDNO, or IDCANCEL (also when the
// save that Yes asked for failed or was abandoned).
int AskSaveChanges(HWND window, const char* title);
