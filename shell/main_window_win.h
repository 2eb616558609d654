// The program's single top-level window: its children, layout, splitter and closing.
#pragma once

#include <windows.h>

#include "shell/main_controls_win.h"

extern HWND g_mainWindow;
extern int g_splitter;  // x of the pane boundary as the user left it, main-window client coordinates

extern MainControls g_controls;

constexpr char kMainWindowClass[] = "MealTally";
constexpr int kDefaultSplitter = 350;
constexpr int kMinPaneWidth = 100;
constexpr int kGrabZoneWidth = 5;  // the splitter's grab zone: the pixels just left of it
// The left pane's layout. Tops are measured from the tab control's display area, margins are what a
// list leaves of the working area's height, the button row stands this far above the area's bottom.
constexpr int kPaneLeft = 3;
constexpr int kMyFoodsListMargin = 70;
constexpr int kUsdaListMargin = 30;
constexpr int kResultsListTop = 130;
constexpr int kResultsListMargin = 160;
constexpr int kLookForLabelTop = 5;
constexpr int kSearchBoxTop = 25;
constexpr int kSearchBoxHeight = 21;
constexpr int kInDatabaseLabelTop = 51;
constexpr int kInDatabaseLabelWidth = 120;
constexpr int kDatabaseChooserTop = 70;
constexpr int kDatabaseChooserHeight = 14;
constexpr int kSearchButtonTop = 100;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 20;
constexpr int kButtonRowOffset = 35;

int RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
// What start-up leaves until the window has been shown and painted, none of which the window shows at
// start: the USDA and Search pages' controls, the filling of the USDA list and the log's description tip.
void FinishStartup();
// One message when the start found a change of the My Foods file cut off in the middle (by a crash, a
// killed process or a power cut) and put the file back as it was before it.
constexpr char kRestoredMessage[] =
    "Meal-Tally stopped in the middle of changing your My Foods file, so the file has been put back as "
    "it was before that change. Please check the last food you added, edited or deleted.";
void TellOfRestoredFiles(HWND window);
// Turns a key message of the main window or its children into the command of its shortcut (sent to
// the window) and answers nonzero; zero for every other message, which the loop then dispatches.
int TranslateShortcut(HWND window, MSG* message);

// The working area of a client rectangle whose top is 0: below the toolbar, above the status bar.
void GetWorkingArea(RECT* area);

// The whole program: class, window, optional document from the command line, message loop.
int RunPlatelog(HINSTANCE instance, const char* commandLine, int show);
