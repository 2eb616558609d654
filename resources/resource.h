/* Resource, command, control, string and dialog ids of Meal-Tally.
 * Included by platelog.rc (windres) and by the C++ sources alike: plain #defines only. */
#ifndef PLATELOG_RESOURCE_H
#define PLATELOG_RESOURCE_H

/* The icon and the menu share the window class name; the string becomes the resource name. */
#define APP_RESOURCE_NAME "MealTally"

/* Menu and toolbar commands (WM_COMMAND ids). Exit is command 0. */
#define IDM_FILE_EXIT 0
#define IDM_FILE_NEW 116
#define IDM_FILE_SAVE 117
#define IDM_HELP_ABOUT 121
#define IDM_FILE_SAVE_AS 122
#define IDM_FILE_OPEN 123
#define IDM_FILE_PRINT 124
#define IDM_VIEW_PERCENT 125
#define IDM_VIEW_AMOUNTS 126
#define IDM_FILE_INSERT_LOG 129
#define IDM_FILE_SAVE_AS_MY_FOOD 130
/* Runs the search like the Search button; no control sends it. */
#define IDM_SEARCH_ALT 128

/* The Edit menu, and the table of its shortcut keys, which only the log takes. */
#define IDM_EDIT_UNDO 150
#define IDM_EDIT_REDO 151
#define IDM_EDIT_CUT 152
#define IDM_EDIT_COPY 153
#define IDM_EDIT_PASTE 154
#define IDM_EDIT_DELETE 155
#define IDM_EDIT_SELECT_ALL 156
#define IDR_EDIT_KEYS 157

/* Child windows of the main window. */
#define IDC_MYFOODS_LIST 190
#define IDC_USDA_LIST 191
#define IDC_RESULTS_LIST 195
#define IDC_TOOLBAR 225
#define IDC_STATUSBAR 226
#define IDC_ADD_BUTTON 1041
#define IDC_EDIT_BUTTON 1042
#define IDC_DELETE_BUTTON 1043
#define IDC_SEARCH_BUTTON 1044
#define IDC_SEARCH_BOX 1045
#define IDC_DATABASE_CHOOSER 1047

/* Dialog controls. The food item dialogs hold field k of a My Foods line in edit
 * IDC_FOOD_FIELD_FIRST + k (k = 0..36); fields 33 and 35 are measure pickers without an id. */
#define IDC_FOOD_FIELD_FIRST 1001
#define IDC_QUANTITY_EDIT 1046
#define IDC_PRINT_TITLE 1058
#define IDC_FOOD_DESCRIPTION 1060
#define IDC_FOOD_SERVINGS 1061
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Dialog templates. The Printing dialog is named, not numbered. */
#define IDD_ADD_FOOD 108
#define IDD_EDIT_FOOD 110
#define IDD_FOOD_QUANTITY 112
#define IDD_SAVE_AS_MY_FOOD 114
#define IDD_PRINTING "PrintDlgBox"

/* Bitmaps: the toolbar strip, seven 24x24 images (percent view, amounts view, five spare). */
#define IDB_TOOLBAR 125

/* String table. Tab texts, then tables addressed as base + offset:
 * IDS_FIELD_LABEL_FIRST + k   label of My Foods field k (k = 0..36, ids 49..85)
 * IDS_HEADER_AMOUNTS_FIRST + j  amounts-view header of log position j (j = 0..33, ids 89..122)
 * IDS_HEADER_PERCENT_FIRST + j  percent-view header of log position j (j = 0..33, ids 123..156) */
#define IDS_TAB_FOOD_ITEMS 8
#define IDS_TAB_USDA 9
#define IDS_TAB_SEARCH 10
#define IDS_FIELD_LABEL_FIRST 49
#define IDS_HEADER_AMOUNTS_FIRST 89
#define IDS_HEADER_PERCENT_FIRST 123

/* Summary of Days: the File menu's command, its window and the window's controls. */
#define IDM_FILE_SUMMARY 140
#define IDD_SUMMARY 141
#define IDC_SUMMARY_LIST 1070
#define IDC_SUMMARY_PERCENT 1071
#define IDC_SUMMARY_AMOUNTS 1072
#define IDC_SUMMARY_BARS_LABEL 1073
#define IDC_SUMMARY_BARS 1074
#define IDC_SUMMARY_SAVE_CSV 1075
#define IDC_SUMMARY_PRINT 1076
#define IDC_SUMMARY_CHART 1077
#define IDC_SUMMARY_NUTRIENT 1078
#define IDC_SUMMARY_NUTRIENT_LABEL 1079

/* Find Food: the Food menu's command, its modeless window and the window's controls. */
#define IDM_FOOD_FIND 142
#define IDD_FIND_FOOD 143
#define IDC_FIND_TEXT 1080
#define IDC_FIND_LIST 1081

#endif /* PLATELOG_RESOURCE_H */
