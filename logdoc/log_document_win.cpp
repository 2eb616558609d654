#include "logdoc/log_document_win.h"

#include "foodlog/log_view_win.h"
#include "logdoc/log_document.h"

int OpenLogDocument(const char* path) {
    if (!LoadLogDocument(path)) return 0;
    RefreshLog();
    return 1;
}

InsertResult InsertLogDocumentIntoView(const char* path, int* documentCount) {
    InsertResult result = InsertLogDocument(path, documentCount);
    if (result == InsertResult::kInserted) RefreshLog();
    return result;
}
