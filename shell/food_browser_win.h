// The left pane: the three tab pages with their lists, the search and the My Foods buttons.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/window_win.h"
#include "shell/main_controls_win.h"

constexpr char kSelectDatabaseMessage[] = "Please Select Database";
constexpr char kEmptySearchMessage[] = "Empty Search Box";
constexpr char kNotFoundMessage[] = "String not found";
constexpr char kDeleteFoodQuestion[] = "Are you sure you want to permanently delete this item?";
constexpr int kNoSearch = -1;
// What the My Foods list says while it holds no food.
constexpr char kMyFoodsHint[] = "Your own foods are listed here: click Add below to enter one.";

// The database whose items the search results list holds (0 My Foods, 1 USDA), or kNoSearch.
extern int g_searchedDatabase;

// The window and children the pane works with; the main window gives them once it has made them,
// before any message reaches the pane.
void SetFoodBrowserControls(HWND mainWindow, const MainControls* controls);
// The tab control at `place` in the main window's client area, with its three pages.
HWND CreateFoodTabs(HWND mainWindow, const ChildPlace& place);
// Shows the controls of the current tab page and hides the others.
LRESULT ShowFoodPage(HWND tabs);

// Empties `results` and copies into it the items of `source` whose text holds the search text, with
// their item data; returns how many.
int SearchList(HWND source, HWND results, const char* text, size_t length);
// Commands 1044 and 128: the search of the chosen database for the search box's text.
LRESULT RunSearch(HWND mainWindow);
void SubclassSearchBox(HWND searchBox);
// The My Foods list shows kMyFoodsHint inside it while it is empty.
void ShowHintWhenEmpty(HWND myFoodsList);
// Removes the food selected in the My Foods list from the file and fills the list (and results taken
// from it) again. 1 when it was removed; 0, changing nothing, when none is selected, and 0 after a
// message when the file could not be read or rewritten, or when the list no longer matched the file
// (it is filled again).
int DeleteMyFood();
// Command 1043: asks, then DeleteMyFood. 1 when the removal failed, else 0.
LRESULT OnDeleteButton(HWND mainWindow);
// WM_CTLCOLORSTATIC and WM_CTLCOLORBTN of the main window: the labels and buttons on the food pages
// are drawn on the page's own colour.
LRESULT ColorOnFoodPage(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam);
// After a change of theme or colours the page colour is taken again.
void ForgetFoodPageColor();
// Empties and fills the My Foods list from the file, and the results taken from it.
void ReloadMyFoods();
// Commands 1041 and 1042: the Add New Food and Edit Food Item dialogs. Both answer 0.
LRESULT OnAddButton(HWND mainWindow);
LRESULT OnEditButton(HWND mainWindow);
// File > Save Log as My Food: the log's totals per serving become a new My Food; the lists are filled
// again as after Add. Answers 0.
LRESULT OnSaveLogAsMyFood(HWND mainWindow);
