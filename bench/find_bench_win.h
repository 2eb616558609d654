// Find Food typed as a person types: each letter of a table of everyday queries, from the key's
// message to the window painted with its new results.
#pragma once

#include <windows.h>

// Types every query of the table into the Find Food window of `owner`, with the USDA table and its
// long descriptions and the My Foods file already where the program reads them. Prints the
// keystrokes' median and maximum, and a digest of every result listed; returns false when a list
// showed other foods or another order than the finder gives.
bool BenchFindFood(HWND owner);
