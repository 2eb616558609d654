// The log document: a food log's LogEntry records on disk, in log order, behind a 16-byte header
// "mealtally1000000" whose byte 14 is a checksum and byte 15 the entry count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foodlog/log_table.h"

// The file name suffix of a log document, without its dot.
constexpr char kLogExtension[] = "mtf";
constexpr size_t kLogDocumentHeaderSize = 16;
constexpr size_t kLogDocumentChecksumOffset = 14;
constexpr size_t kLogDocumentCountOffset = 15;
// A record without its three texts.
constexpr size_t kLogRecordFixedSize = 180;
constexpr int32_t kMaxNameLength = kNameSize - 1;
constexpr int32_t kMaxServingTextLength = kServingTextSize - 1;
// The largest document the program writes: 50 entries with every text at its longest.
constexpr size_t kMaxLogDocumentSize =
    kLogDocumentHeaderSize +
    kMaxLogEntries * (kLogRecordFixedSize + kMaxNameLength + 2 * kMaxServingTextLength);

// Why a document was refused, in the order its tests run.
enum class DocumentFault {
    kNone,
    kTooShort,    // fewer bytes than the header
    kMagic,       // does not begin with "mealtally" in any letter case
    kVersion,     // bytes 9 and 10 are not "10"
    kChecksum,    // byte 14 is not the sum of the bytes from 15 on
    kCount,       // entry count outside 1..50
    kTextLength,  // a text length below 0 or longer than its field holds
    kPastEnd,     // a record runs past the end of the document
};

struct DecodedDocument {
    int count = 0;          // entries read
    size_t recordsEnd = 0;  // offset just past the last record; what follows it is ignored
    DocumentFault fault = DocumentFault::kNone;
};

// Bytes of the document for the first `count` entries; 0 when count is outside 0..50.
size_t LogDocumentSize(const LogEntry* entries, int count);

// Writes the document for the first `count` entries (0..50) into `out`; 0 when the count is out of range or
// `capacity` is too small. `*size` receives the number of bytes written.
int EncodeLogDocument(const LogEntry* entries, int count, char* out, size_t capacity, size_t* size);

// Reads a whole document into entries[0..count-1] (each zeroed, then filled). The document is checked
// completely first: on failure nothing of `entries` is written and `result->fault` says why.
// `entries` must hold kMaxLogEntries records.
int DecodeLogDocument(std::string_view document, LogEntry* entries, DecodedDocument* result);

// Writes the log's first `count` entries to the file as a whole; the previous file stays as it was on
// failure.
int SaveLogDocument(int count, const char* path);

// Reads the whole document into entries[0..*count-1] (a buffer of kMaxLogEntries records). An unreadable
// or damaged document returns 0 and leaves `entries` and `*count` untouched.
int ReadLogDocument(const char* path, LogEntry* entries, int* count);

// Replaces the log with the document's entries and computes their nutrients in the current view mode.
// An unreadable or damaged document returns 0 and leaves the log, its nutrients and its count untouched.
int LoadLogDocument(const char* path);

enum class InsertResult { kInserted, kUnreadable, kTooMany };
// Reads the document with the checks of LoadLogDocument and appends its entries after the log's,
// computed in the current view mode, as one step of the history. `*documentCount` receives the document's entry count when it
// could be read. kUnreadable and kTooMany (the two logs together would exceed 50 entries) leave the
// log as it was.
InsertResult InsertLogDocument(const char* path, int* documentCount);
