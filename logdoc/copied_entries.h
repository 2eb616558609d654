// Entries on their way through the clipboard, in two forms at once: the program's own, each entry with
// its food's data as a log document holds it (so that a paste needs no database), and a table of the
// view's texts that a spreadsheet takes.
#pragma once

#include <string>
#include <string_view>

#include "foodlog/log_table.h"
#include "logdoc/log_document.h"

// The most bytes the own form takes: the length, then the largest document.
constexpr size_t kMaxCopiedEntriesSize = 4 + kMaxLogDocumentSize;

// The own form: the length of a log document of the entries (4 bytes, little-endian), then that
// document. The length lets a reader ignore what the clipboard keeps after it. 0, with `out` empty,
// for a count outside 1..50.
int EncodeCopiedEntries(const LogEntry* entries, int count, std::string* out);
// Reads the own form into entries[0..*count-1] (a buffer of kMaxLogEntries records). 0, writing
// nothing, for bytes that are not wholly that form: too short, a length past their end, a document
// that is refused or holds bytes after its last record.
int DecodeCopiedEntries(std::string_view bytes, LogEntry* entries, int* count);

// The text form of the log's entries at the positions, rising, as the log shows them in its view mode:
// the header row, then a row per entry; with no positions, every entry and the TOTAL row. Cells are
// separated by tabs, rows end in CR LF.
std::string CopiedEntriesText(const int* positions, int count);
