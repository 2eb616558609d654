// The Print command: the Print dialog, the print job on the chosen printer, its printer font and
// the modeless Printing dialog whose Cancel ends the job.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "printing/day_chart.h"
#include "printing/print_layout.h"

// The whole print. 1 when the log was printed, when the Print dialog was cancelled or there is no
// printer, or when the log is empty; 0 when the job failed or was cancelled in the Printing dialog.
int PrintLog(HWND mainWindow, const char* documentTitle);

// A table as its list view shows it: columns 0 to columnCount - 1, `bodyRows` rows and, after them, the
// row printed under the rule (the log's TOTAL row); and what is drawn under it, if anything.
struct PrintedTable {
    HWND listView;
    int columnCount;
    int bodyRows;
    const SummaryDrawing* below = nullptr;
};
// Prints the table as the log is printed, the owner's caption naming the job and the owner disabled
// while it runs; the same results as PrintLog.
int PrintTable(HWND owner, const PrintedTable& table, const char* documentTitle);
// A font of `tenthsOfPoint` for the context, whose state is left as it was; the caller deletes it.
HFONT CreatePrinterFont(HDC dc, const char* face, int tenthsOfPoint);

// What the Print dialog hands on. The job owns the context and deletes it.
struct PrinterChoice {
    HDC dc;
    int copies;
};
// The job on a chosen printer, everything after the Print dialog.
int PrintLogOn(HWND mainWindow, const char* documentTitle, const PrinterChoice& choice);

// The page metrics of a printer context with the printer font selected, and the screen's
// character width as the log list view shows its texts.
PrintMetrics ReadPrintMetrics(HDC printer, HWND listView);
// The log list view's columns as it shows them, every text measured on the printer context.
void ReadLogColumns(HWND listView, HDC printer, int entryCount, std::vector<PrintColumn>* columns);

// The system calls of a job, replaceable by tests (nullptr: COMDLG32's and GDI's own).
struct PrintSystem {
    BOOL(WINAPI* printDialog)(LPPRINTDLGA record);
    int(WINAPI* startDoc)(HDC dc, const DOCINFOA* document);
    int(WINAPI* startPage)(HDC dc);
    int(WINAPI* endPage)(HDC dc);
    int(WINAPI* endDoc)(HDC dc);
    int(WINAPI* abortDoc)(HDC dc);
};
void SetPrintSystem(const PrintSystem* system);
// The Printing dialog while a job runs, null otherwise.
HWND PrintingDialog();
