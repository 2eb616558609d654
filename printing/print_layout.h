// The printout of the log as plain drawing steps: which page each column lands on, where each text
// and rule goes, and what each text is clipped to. The Win32 side only replays the steps on a DC.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What the page and the screen measure, in device units of each.
struct PrintMetrics {
    int pageWidth;         // the printer's horizontal resolution
    int lineHeight;        // printer font height plus external leading
    int printerCharWidth;  // printer font's average character width
    int screenCharWidth;   // average character width of the list view's font on the screen
    int pageHeight;        // the printer's vertical resolution
};

// A text as the list view holds it, with its width as measured on the printer context.
struct PrintText {
    std::string text;
    int width;
};

// One list view column: its header, its width on the screen in pixels, and its cells (the entry
// rows, then the TOTAL row).
struct PrintColumn {
    PrintText header;
    int screenWidth;
    std::vector<PrintText> cells;
};

struct PrintRect {
    int left, top, right, bottom;
};

// Where a drawing goes and how its texts measure, on the page or on the screen.
struct DrawingArea {
    PrintRect area;
    int lineHeight;
    std::function<int(const std::string&)> textWidth;
};

// The page steps, then what a page holds: the log's texts and rules, and the drawing of the Summary of
// Days (its bars and its chart), which the window draws with the same steps.
enum class PrintStepKind {
    kStartPage,
    kEndPage,
    kText,         // `text` with its origin at (x, y), clipped to `clip`
    kRule,         // a line from (x, y) to (x2, y2)
    kBar,          // `clip` filled
    kOverBar,      // `clip` filled in the colour of a day over its Daily Value
    kUnreadDay,    // `clip` shaded: a day that could not be read
    kGridLine,     // a faint line from (x, y) to (x2, y2)
    kAverageLine,  // a dashed line from (x, y) to (x2, y2)
    kLabel,        // `text` centred in `clip`, shortened with an ellipsis when it does not fit
    kNumber,       // `text` right-aligned in `clip`, centred on its height
};

struct PrintStep {
    PrintStepKind kind;
    int x, y;
    int x2, y2;
    PrintRect clip;
    std::string text;
};

int PrintMargin(const PrintMetrics& metrics);
// The column keeps its on-screen width in average characters.
int PrintedColumnWidth(int screenWidth, const PrintMetrics& metrics);
// Appends one pass (one copy of every page) of the log with `entryCount` entries. 0, appending
// nothing, when the metrics cannot lay out a page or a column lacks a row.
int LayOutPass(const std::vector<PrintColumn>& columns, int entryCount, const PrintMetrics& metrics,
               std::vector<PrintStep>* steps);
// Where the pass's table ends: under its last row, the TOTAL row.
int TableBottom(int entryCount, const PrintMetrics& metrics);
// Every pass of the job, one per copy.
int LayOutJob(const std::vector<PrintColumn>& columns, int entryCount, const PrintMetrics& metrics,
              int copies, std::vector<PrintStep>* steps);
