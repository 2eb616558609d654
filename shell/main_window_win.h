// The program's single top-level window.
#pragma once

#include <windows.h>

extern HINSTANCE g_instance;
extern HWND g_mainWindow;

constexpr char kMainWindowClass[] = "MealTally";

int RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The whole program: class, window, optional document from the command line, message loop.
int RunPlatelog(HINSTANCE instance, const char* commandLine, int show);
