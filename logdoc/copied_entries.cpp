#include "logdoc/copied_entries.h"

#include <cstdint>

#include "foodlog/log_cells.h"
#include "logdoc/csv_text.h"
#include "logdoc/log_document.h"
#include "platform/byte_order.h"

namespace {

constexpr size_t kLengthSize = 4;

}  // namespace

int EncodeCopiedEntries(const LogEntry* entries, int count, std::string* out) {
    out->clear();
    if (count < 1 || count > kMaxLogEntries) return 0;
    size_t size = LogDocumentSize(entries, count);
    std::string bytes(kLengthSize + size, '\0');
    if (size == 0 || !EncodeLogDocument(entries, count, &bytes[kLengthSize], size, &size)) return 0;
    StoreLittleEndian(&bytes[0], size, kLengthSize);
    out->swap(bytes);
    return 1;
}

int DecodeCopiedEntries(std::string_view bytes, LogEntry* entries, int* count) {
    if (bytes.size() < kLengthSize) return 0;
    const uint64_t length = LoadLittleEndian(bytes.data(), kLengthSize);
    if (length > bytes.size() - kLengthSize) return 0;
    std::string_view document = bytes.substr(kLengthSize, length);
    // Checked on a buffer of its own first: a refused copy must not touch the caller's entries.
    LogEntry checked[kMaxLogEntries];
    DecodedDocument decoded;
    if (!DecodeLogDocument(document, checked, &decoded) || decoded.recordsEnd != document.size()) return 0;
    for (int i = 0; i < decoded.count; ++i)
        entries[i] = checked[i];
    *count = decoded.count;
    return 1;
}

std::string CopiedEntriesText(const int* positions, int count) {
    std::string text;
    LogRowTexts row;
    FormatLogHeaders(ViewMode(), ColumnChoice::kColumnSet, &row);
    AppendTabRow(row, &text);
    bool wholeLog = count <= 0 || !positions;
    int rows = !wholeLog ? count : EntryCount() > 0 ? EntryCount() + 1 : 0;
    for (int i = 0; i < rows; ++i) {
        int record = wholeLog ? (i < EntryCount() ? i : kTotalsRecord) : positions[i];
        if (!wholeLog && (record < 0 || record >= EntryCount())) continue;
        FormatLogRow(record, ColumnChoice::kColumnSet, &row);
        AppendTabRow(row, &text);
    }
    return text;
}
