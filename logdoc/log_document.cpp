#include "logdoc/log_document.h"

#include <cstring>
#include <memory>
#include <new>

#include "foodlog/log_history.h"
#include "foodlog/log_table.h"
#include "platform/byte_order.h"
#include "platform/file_io.h"
#include "platform/text.h"

namespace {

constexpr char kHeaderText[] = "mealtally1000000";
constexpr size_t kMagicSize = 9;
constexpr size_t kVersionOffset = 9;

static_assert(sizeof kHeaderText - 1 == kLogDocumentHeaderSize, "the header is 16 bytes");
static_assert(sizeof(LogEntry::values) == 124, "31 nutrient values of 4 bytes each");
// Name length, the values, then 13 four-byte fields: serving weights, counts, text lengths and the rest.
static_assert(kLogRecordFixedSize == 4 + sizeof(LogEntry::values) + 13 * 4,
              "a record is 180 bytes and its texts");
static_assert(kMaxLogEntries <= 255, "the entry count is stored in one byte");
static_assert(kMaxLogDocumentSize == 26466, "largest document");

// Length of a text field up to its terminator. A field without one counts as full but one byte short,
// so that whatever is written can be read back into the same field.
int32_t TextLength(const char* field, size_t fieldSize) {
    const void* end = std::memchr(field, '\0', fieldSize);
    size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : fieldSize - 1;
    return static_cast<int32_t>(length);
}

size_t RecordSize(const LogEntry& entry) {
    return kLogRecordFixedSize + TextLength(entry.name, sizeof entry.name) +
           TextLength(entry.servingText1, sizeof entry.servingText1) +
           TextLength(entry.servingText2, sizeof entry.servingText2);
}

unsigned char ChecksumOf(const char* bytes, size_t size) {
    unsigned sum = 0;
    for (size_t i = kLogDocumentCountOffset; i < size; ++i)
        sum += static_cast<unsigned char>(bytes[i]);
    return static_cast<unsigned char>(sum & 0xFF);
}

// Little-endian writer into a buffer of known capacity; stops (sticky) at the first byte that does not fit.
class ByteWriter {
public:
    ByteWriter(char* out, size_t capacity) : out_(out), capacity_(capacity) {}

    void Bytes(const void* data, size_t size) {
        if (!ok_ || capacity_ - pos_ < size) {
            ok_ = false;
            return;
        }
        if (size > 0) std::memcpy(out_ + pos_, data, size);
        pos_ += size;
    }
    void U32(uint32_t v) {
        unsigned char bytes[4];
        StoreLittleEndian(bytes, v, sizeof bytes);
        Bytes(bytes, sizeof bytes);
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    // The float's bit pattern, copied from the field's memory: never loaded as a number, so a NaN payload
    // survives (an x87 load and store would quiet a signalling NaN).
    void FloatBits(const float* field) {
        uint32_t bits;
        std::memcpy(&bits, field, sizeof bits);
        U32(bits);
    }
    void Text(const char* field, size_t fieldSize) {
        int32_t length = TextLength(field, fieldSize);
        I32(length);
        Bytes(field, static_cast<size_t>(length));
    }
    bool Ok() const { return ok_; }
    size_t Position() const { return pos_; }

private:
    char* out_;
    size_t capacity_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Little-endian reader over the document; the first fault sticks and every later read yields zeroes.
class ByteReader {
public:
    ByteReader(std::string_view bytes, size_t pos) : bytes_(bytes), pos_(pos) {}

    uint32_t U32() {
        if (fault_ != DocumentFault::kNone) return 0;
        if (bytes_.size() - pos_ < 4) {
            fault_ = DocumentFault::kPastEnd;
            return 0;
        }
        const uint32_t value = static_cast<uint32_t>(LoadLittleEndian(bytes_.data() + pos_, 4));
        pos_ += 4;
        return value;
    }
    int32_t I32() {
        uint32_t bits = U32();
        int32_t v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    void FloatBits(float* field) {
        uint32_t bits = U32();
        std::memcpy(field, &bits, sizeof bits);
    }
    // A length, then that many bytes into the zeroed field. The text ends at the first NUL it holds,
    // as it would in the field anyway, so the field never keeps bytes behind its terminator.
    void Text(char* field, size_t fieldSize) {
        int32_t length = I32();
        if (fault_ != DocumentFault::kNone) return;
        if (length < 0 || static_cast<size_t>(length) > fieldSize - 1) {
            fault_ = DocumentFault::kTextLength;
            return;
        }
        size_t size = static_cast<size_t>(length);
        if (bytes_.size() - pos_ < size) {
            fault_ = DocumentFault::kPastEnd;
            return;
        }
        const char* text = bytes_.data() + pos_;
        const void* nul = std::memchr(text, '\0', size);
        size_t kept = nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : size;
        std::memset(field, 0, fieldSize);
        if (kept > 0) std::memcpy(field, text, kept);
        pos_ += size;
    }
    DocumentFault Fault() const { return fault_; }
    size_t Position() const { return pos_; }

private:
    std::string_view bytes_;
    size_t pos_;
    DocumentFault fault_ = DocumentFault::kNone;
};

void WriteRecord(ByteWriter& out, const LogEntry& entry) {
    out.Text(entry.name, sizeof entry.name);
    for (int32_t value : entry.values)
        out.I32(value);
    out.FloatBits(&entry.servingWeight1);
    out.I32(entry.reserved1);
    out.FloatBits(&entry.servingCount1);
    out.Text(entry.servingText1, sizeof entry.servingText1);
    out.FloatBits(&entry.servingWeight2);
    out.I32(entry.measureIndex);
    out.FloatBits(&entry.servingCount2);
    out.Text(entry.servingText2, sizeof entry.servingText2);
    out.I32(entry.refuse);
    out.I32(entry.reserved2);
    out.FloatBits(&entry.quantity);
    out.I32(entry.measure);
    out.I32(entry.source);
}

void ReadRecord(ByteReader& in, LogEntry* entry) {
    std::memset(entry, 0, sizeof *entry);
    in.Text(entry->name, sizeof entry->name);
    for (int32_t& value : entry->values)
        value = in.I32();
    in.FloatBits(&entry->servingWeight1);
    entry->reserved1 = in.I32();
    in.FloatBits(&entry->servingCount1);
    in.Text(entry->servingText1, sizeof entry->servingText1);
    in.FloatBits(&entry->servingWeight2);
    entry->measureIndex = in.I32();
    in.FloatBits(&entry->servingCount2);
    in.Text(entry->servingText2, sizeof entry->servingText2);
    entry->refuse = in.I32();
    entry->reserved2 = in.I32();
    in.FloatBits(&entry->quantity);
    entry->measure = in.I32();
    entry->source = in.I32();
}

DocumentFault CheckHeader(std::string_view document) {
    if (document.size() < kLogDocumentHeaderSize) return DocumentFault::kTooShort;
    // Letter case is folded for ASCII only: the magic is ASCII, and no other byte may stand in for it.
    if (!StartsWithAsciiNoCase(document, std::string_view(kHeaderText, kMagicSize)))
        return DocumentFault::kMagic;
    if (document[kVersionOffset] != '1' || document[kVersionOffset + 1] != '0')
        return DocumentFault::kVersion;
    if (static_cast<unsigned char>(document[kLogDocumentChecksumOffset]) !=
        ChecksumOf(document.data(), document.size()))
        return DocumentFault::kChecksum;
    int count = static_cast<unsigned char>(document[kLogDocumentCountOffset]);
    if (count < 1 || count > kMaxLogEntries) return DocumentFault::kCount;
    return DocumentFault::kNone;
}

}  // namespace

size_t LogDocumentSize(const LogEntry* entries, int count) {
    if (count < 0 || count > kMaxLogEntries || (count > 0 && !entries)) return 0;
    size_t size = kLogDocumentHeaderSize;
    for (int i = 0; i < count; ++i)
        size += RecordSize(entries[i]);
    return size;
}

int EncodeLogDocument(const LogEntry* entries, int count, char* out, size_t capacity, size_t* size) {
    size_t needed = LogDocumentSize(entries, count);
    if (needed == 0 || !out || capacity < needed) return 0;
    ByteWriter writer(out, capacity);
    writer.Bytes(kHeaderText, kLogDocumentHeaderSize);
    for (int i = 0; i < count; ++i)
        WriteRecord(writer, entries[i]);
    if (!writer.Ok() || writer.Position() != needed) return 0;
    out[kLogDocumentCountOffset] = static_cast<char>(count);
    out[kLogDocumentChecksumOffset] = static_cast<char>(ChecksumOf(out, needed));
    if (size) *size = needed;
    return 1;
}

int DecodeLogDocument(std::string_view document, LogEntry* entries, DecodedDocument* result) {
    DecodedDocument decoded;
    decoded.fault = CheckHeader(document);
    int count = 0;
    if (decoded.fault == DocumentFault::kNone) {
        count = static_cast<unsigned char>(document[kLogDocumentCountOffset]);
        // A first pass over a throwaway record proves every record sound before the caller's table is
        // touched.
        ByteReader check(document, kLogDocumentHeaderSize);
        LogEntry scratch;
        for (int i = 0; i < count && check.Fault() == DocumentFault::kNone; ++i)
            ReadRecord(check, &scratch);
        decoded.fault = check.Fault();
    }
    if (decoded.fault != DocumentFault::kNone) {
        if (result) *result = decoded;
        return 0;
    }
    ByteReader reader(document, kLogDocumentHeaderSize);
    for (int i = 0; i < count; ++i)
        ReadRecord(reader, &entries[i]);
    decoded.count = count;
    decoded.recordsEnd = reader.Position();
    if (result) *result = decoded;
    return 1;
}

int SaveLogDocument(int count, const char* path) {
    if (!path) return 0;
    const LogEntry* entries = LogEntries();
    size_t size = LogDocumentSize(entries, count);
    if (size == 0) return 0;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer) return 0;
    if (!EncodeLogDocument(entries, count, buffer.get(), size, &size)) return 0;
    return ReplaceFileContents(path, buffer.get(), size);
}

int ReadLogDocument(const char* path, LogEntry* entries, int* count) {
    if (!path) return 0;
    FileImage image;
    if (ReadWholeFile(path, &image) != ReadResult::kOk) return 0;
    DecodedDocument decoded;
    if (!DecodeLogDocument(std::string_view(image.Data(), image.Size()), entries, &decoded)) return 0;
    *count = decoded.count;
    return 1;
}

// The document is read into a buffer of its own first, so a refused one leaves the log as it was.
int LoadLogDocument(const char* path) {
    std::unique_ptr<LogEntry[]> entries(new (std::nothrow) LogEntry[kMaxLogEntries]);
    if (!entries) return 0;
    int count = 0;
    if (!ReadLogDocument(path, entries.get(), &count)) return 0;
    return ReplaceEntries(entries.get(), count);
}

InsertResult InsertLogDocument(const char* path, int* documentCount) {
    std::unique_ptr<LogEntry[]> entries(new (std::nothrow) LogEntry[kMaxLogEntries]);
    if (!entries) return InsertResult::kUnreadable;
    int count = 0;
    if (!ReadLogDocument(path, entries.get(), &count)) return InsertResult::kUnreadable;
    *documentCount = count;
    return AppendAsChange(ChangeKind::kInsertLog, entries.get(), count) ? InsertResult::kInserted
                                                                     : InsertResult::kTooMany;
}
