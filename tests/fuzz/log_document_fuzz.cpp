// Arbitrary bytes as a log document: refused without touching the table, or read and written back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "logdoc/log_document.h"

namespace {

constexpr unsigned char kUntouched = 0xA5;

// g_table is kept equal to g_untouched between inputs: a refused document must leave it so, and after
// a read only the entries it filled are put back, so no input pays for a pass over the whole table.
LogEntry g_untouched[kMaxLogEntries];
LogEntry g_table[kMaxLogEntries];
LogEntry g_again[kMaxLogEntries];
char g_encoded[kMaxLogDocumentSize];

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Walks the records on its own, from the lengths in the bytes: where they end, and whether a text holds a
// NUL (such a text ends at the NUL, so it cannot come back byte for byte). Traps when a record the
// decoder accepted does not lie inside the document.
size_t WalkRecords(const uint8_t* data, size_t size, int count, bool* nulInText) {
    // Bytes that follow each of the three texts up to the next length (or the end of the record).
    const size_t after[3] = {124 + 12, 12, 20};
    const uint32_t longest[3] = {255, 47, 47};
    size_t pos = kLogDocumentHeaderSize;
    *nulInText = false;
    for (int i = 0; i < count; ++i) {
        for (size_t t = 0; t < 3; ++t) {
            if (size - pos < 4) __builtin_trap();
            uint32_t length = Le32(data + pos);
            pos += 4;
            if (length > longest[t] || size - pos < length) __builtin_trap();
            if (std::memchr(data + pos, 0, length)) *nulInText = true;
            pos += length;
            if (size - pos < after[t]) __builtin_trap();
            pos += after[t];
        }
    }
    return pos;
}

bool Terminated(const LogEntry& e) {
    return e.name[sizeof e.name - 1] == '\0' && e.servingText1[sizeof e.servingText1 - 1] == '\0' &&
           e.servingText2[sizeof e.servingText2 - 1] == '\0';
}

void CheckDocument(const uint8_t* data, size_t size) {
    std::string_view document(reinterpret_cast<const char*>(data), size);
    DecodedDocument decoded;
    if (!DecodeLogDocument(document, g_table, &decoded)) {
        if (decoded.fault == DocumentFault::kNone) __builtin_trap();
        if (std::memcmp(g_table, g_untouched, sizeof g_table) != 0) __builtin_trap();
        return;
    }
    if (decoded.count < 1 || decoded.count > kMaxLogEntries || decoded.count != data[kLogDocumentCountOffset])
        __builtin_trap();
    // The entries past the count are not the reader's to write.
    size_t filled = static_cast<size_t>(decoded.count) * sizeof g_table[0];
    if (std::memcmp(g_table + decoded.count, g_untouched + decoded.count, sizeof g_table - filled) != 0)
        __builtin_trap();
    bool nulInText = false;
    if (WalkRecords(data, size, decoded.count, &nulInText) != decoded.recordsEnd) __builtin_trap();
    for (int i = 0; i < decoded.count; ++i) {
        if (!Terminated(g_table[i])) __builtin_trap();
    }

    size_t encodedSize = 0;
    if (!EncodeLogDocument(g_table, decoded.count, g_encoded, sizeof g_encoded, &encodedSize))
        __builtin_trap();
    if (encodedSize > decoded.recordsEnd) __builtin_trap();
    unsigned sum = 0;
    for (size_t i = kLogDocumentCountOffset; i < encodedSize; ++i)
        sum += static_cast<unsigned char>(g_encoded[i]);
    if (static_cast<unsigned char>(g_encoded[kLogDocumentChecksumOffset]) != (sum & 0xFF)) __builtin_trap();
    if (std::memcmp(g_encoded, "mealtally10000", 14) != 0) __builtin_trap();

    if (!nulInText) {
        // Everything up to the last record comes back as it was, but the magic's letter case, the reserved
        // bytes and the checksum, which the writer always writes its own way.
        if (encodedSize != decoded.recordsEnd) __builtin_trap();
        for (size_t i = 0; i < 9; ++i) {
            unsigned char c = data[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
            if (c != static_cast<unsigned char>(g_encoded[i])) __builtin_trap();
        }
        if (std::memcmp(g_encoded + 9, data + 9, 2) != 0) __builtin_trap();
        if (std::memcmp(g_encoded + kLogDocumentCountOffset, data + kLogDocumentCountOffset,
                        encodedSize - kLogDocumentCountOffset) != 0)
            __builtin_trap();
    }

    // What was written reads back into the very same entries.
    DecodedDocument again;
    if (!DecodeLogDocument(std::string_view(g_encoded, encodedSize), g_again, &again)) __builtin_trap();
    if (again.count != decoded.count || again.recordsEnd != encodedSize) __builtin_trap();
    if (std::memcmp(g_again, g_table, filled) != 0) __builtin_trap();
    std::memcpy(g_table, g_untouched, filled);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::memset(g_untouched, kUntouched, sizeof g_untouched);
    std::memcpy(g_table, g_untouched, sizeof g_table);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDocument(data, size);
    // Almost every change fails the checksum; the same bytes with it corrected reach the records.
    if (size >= kLogDocumentHeaderSize) {
        // A heap block of exactly its size, so AddressSanitizer catches a read past the end of the copy
        // as it does for the input itself.
        std::vector<uint8_t> corrected(data, data + size);
        unsigned sum = 0;
        for (size_t i = kLogDocumentCountOffset; i < size; ++i)
            sum += corrected[i];
        corrected[kLogDocumentChecksumOffset] = static_cast<uint8_t>(sum);
        CheckDocument(corrected.data(), corrected.size());
    }
    return 0;
}
