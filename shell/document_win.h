// The log as a document: its path and title, the caption that names it, and the commands of
// the File and Help menus.
#pragma once

#include <windows.h>

#include "logdoc/log_document.h"

constexpr int kPathSize = 260;
// What the dialogs that choose log documents offer.
constexpr char kLogFileFilter[] = "Text Files (*.MTF)\0*.mtf\0All Files (*.*)\0*.*\0";
constexpr char kOpenFailedMessage[] = "Unable to open file:  File damaged or corrupted.";
constexpr char kOpenFailedCaption[] = "File Error";
constexpr char kPrintFailedFormat[] = "Could not print file %s";
constexpr char kInsertTooManyFormat[] =
    "Cannot exceed 50 items in Main Window!\r\n\r\n%s holds %d items and only %d more fit, so nothing "
    "was inserted.";
constexpr char kProductAddress[] = "https://meal-tally.example/";

// The open document's path and title, empty while it is untitled.
const char* DocumentPath();
const char* DocumentTitle();
// An untitled document and a fresh file-dialog record owned by the window, as at start-up.
void ResetDocument(HWND window);

// "MealTally - <title>", or "MealTally - (untitled)" when the title is empty.
void SetDocumentCaption(HWND window, const char* title);
// The unsaved-changes question: IDYES (and the log was saved), IDNO, or IDCANCEL (also when the
// save that Yes asked for failed or was abandoned).
int AskSaveChanges(HWND window, const char* title);

LRESULT NewDocument(HWND window);
LRESULT OpenDocument(HWND window);
// Appends the entries of a chosen log document after the log's; the document's own path and title stay.
LRESULT InsertDocument(HWND window);
LRESULT SaveDocument(HWND window);
LRESULT SaveDocumentAs(HWND window);
// Prints the log; a failed or cancelled job is reported with the document's title.
LRESULT PrintDocument(HWND window);
LRESULT ShowAbout(HWND window);

// The log document named on the command line (one pair of enclosing quotes removed). A bare path's
// document stays untitled; "/open <path>", the association's command, gives it its path and title.
void OpenCommandLineDocument(HWND window, const char* commandLine);
