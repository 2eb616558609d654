// Dragging a food from any of the three lists into the log, and the Food Quantity dialog that
// asks how much of it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fooddb/usda_measures.h"

constexpr char kLimitMessage[] = "Cannot exceed 50 items in Main Window!";
constexpr char kResultsLimitMessage[] = "Exceeded 50 items in Main Window!";
constexpr char kLimitCaption[] = "Program Error!";
constexpr char kIllegalQuantityMessage[] = "Illegal Character in \"Food Quantity\"";

// Where the Food Quantity dialog puts its measure list, in dialog pixels.
constexpr int kMeasureListX = 130;
constexpr int kMeasureListY = 45;
constexpr int kMeasureListWidth = 100;
constexpr int kMeasureListHeight = 300;

// Reads the food's line from its database file and appends it to the log as the next entry,
// computed and shown. 0 when the file cannot be read or the offset is not a line of it.
// A USDA food logged in one of its further measures gives that measure too.
int AddFoodToLog(const char* quantityText, int quantityLength, int32_t measure, int32_t source,
                 LPARAM lineOffset, const UsdaMeasure* further = nullptr);

// The Food Quantity dialog for the food at `lineOffset` of its database, owned by `owner`, as a drop of
// that food on the log opens it; the limit message instead at 50 entries.
void OpenFoodQuantityFor(HWND owner, int32_t source, LPARAM lineOffset);

// Puts the drag procedures on the three lists, keeping the procedures they replace; a list given as
// null is left as it is, so lists made at different times are subclassed each once.
void SubclassFoodLists(HWND myFoodsList, HWND usdaList, HWND resultsList);


// The database the search results list now holds foods of (kSourceMyFoods or kSourceUsda); the search
// tells it each time it fills the list, and a drag from the results reads that database.
void SetResultsSource(int32_t source);

// The Food Quantity dialog's measure list while it is open.
HWND MeasureList();
