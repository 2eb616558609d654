// Small Win32 helpers every layer's windows use: the program's instance, the GUI font of its
// controls, and subclassing.
#pragma once

#include <windows.h>

// The instance whose resources the windows and dialogs load; set once at start.
HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);

// The stock GUI font every control of the program uses, taken at window creation and given back
// when the main window goes.
void TakeGuiFont();
void ReleaseGuiFont();
// The GUI font for a control, which then repaints.
void ApplyGuiFont(HWND control);

// Puts `procedure` in place of the window's procedure and returns the one it replaced (which receives
// every message the new one does not consume, through CallWindowProcA); nullptr for no window.
WNDPROC ReplaceWindowProc(HWND window, WNDPROC procedure);
