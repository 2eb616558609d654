// The program's single top-level window: its children, layout, splitter and closing.
#pragma once

#include <windows.h>

extern HINSTANCE g_instance;
extern HWND g_mainWindow;
extern HFONT g_guiFont;
extern int g_splitter;  // x of the pane boundary, main-window client coordinates

// The main window's children (the food log list view is g_logListView of the log module).
struct MainControls {
    HWND toolbar;
    HWND statusBar;
    HWND foodTabs;
    HWND myFoodsList;
    HWND usdaList;
    HWND resultsList;
    HWND addButton;
    HWND deleteButton;
    HWND editButton;
    HWND searchButton;
    HWND searchBox;
    HWND databaseChooser;
    HWND lookForLabel;
    HWND inDatabaseLabel;
};
extern MainControls g_controls;

constexpr char kMainWindowClass[] = "MealTally";
constexpr int kDefaultSplitter = 350;
constexpr int kMinPaneWidth = 100;

int RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The working area of a client rectangle whose top is 0: below the toolbar, above the status bar.
void GetWorkingArea(RECT* area);
// The stock GUI font for a control, which then repaints.
void ApplyGuiFont(HWND control);

// The whole program: class, window, optional document from the command line, message loop.
int RunPlatelog(HINSTANCE instance, const char* commandLine, int show);
