// The main window's children, as its pane modules are given them.
#pragma once

#include <windows.h>

// The main window's children (the food log list view is the log module's, LogListView()).
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
