// Opening a log document into the log that the window shows.
#pragma once

// Loads the document and rebuilds the log's rows; 0, with the log untouched, when it is unreadable
// or damaged.
int OpenLogDocument(const char* path);
