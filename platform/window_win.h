// Small Win32 helpers every layer's windows use: the program's instance, the GUI font of its
// controls, and subclassing.
#pragma once

#include <windows.h>

// Where a child window stands in its parent's client area, as CreateWindowEx and SetWindowPos take it.
struct ChildPlace {
    int x;
    int y;
    int width;
    int height;
};

// The instance whose resources the windows and dialogs load; set once at start.
HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);

// The stock GUI font of the main window's controls and the log's editor (the dialogs keep their own),
// taken at window creation; a stock object is not owned, so letting it go only forgets it.
void TakeGuiFont();
void ReleaseGuiFont();
// The GUI font for a control, which then repaints if it is shown (a hidden one paints when it shows).
void ApplyGuiFont(HWND control);

// Puts `procedure` in place of the window's procedure and returns the one it replaced (which receives
// every message the new one does not consume, through CallWindowProcA); nullptr for no window.
WNDPROC ReplaceWindowProc(HWND window, WNDPROC procedure);
