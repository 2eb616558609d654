// Opening a log document into the log that the window shows.
#pragma once

#include "logdoc/log_document.h"

// Loads the document and rebuilds the log's rows; 0, with the log untouched, when it is unreadable
// or damaged.
int OpenLogDocument(const char* path);

// Inserts the document's entries after the log's (see InsertLogDocument) and rebuilds the log's rows.
InsertResult InsertLogDocumentIntoView(const char* path, int* documentCount);
