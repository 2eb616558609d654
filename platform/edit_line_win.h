// Reading what the user typed into a single-line edit control.
#pragma once

#include <windows.h>

#include <cstddef>

// The length of the edit's first line, at most 0xFFFF (what EM_GETLINE's size word can ask for).
size_t EditLineLength(HWND edit);

// The edit's first line, cut to size - 1 characters and ended with a NUL; returns its length.
int GetEditLine(HWND edit, char* text, int size);
