// The log document's bytes: what is written for a log, what is read back, and what is refused.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "logdoc/log_document.h"
#include "tests/logdoc/document_samples.h"

namespace {

using samples::Encode;
using samples::FixChecksum;
using samples::PutI32;

// Hex pairs, blanks and line breaks ignored.
std::string Hex(const char* text) {
    std::string bytes;
    int pending = -1;
    for (const char* p = text; *p; ++p) {
        if (!std::isxdigit(static_cast<unsigned char>(*p))) continue;
        int digit = std::isdigit(static_cast<unsigned char>(*p)) ? *p - '0' : std::tolower(*p) - 'a' + 10;
        if (pending < 0) {
            pending = digit;
        } else {
            bytes.push_back(static_cast<char>(pending * 16 + digit));
            pending = -1;
        }
    }
    return bytes;
}

std::vector<LogEntry> VariedLog(int count) {
    std::vector<LogEntry> log;
    for (int i = 0; i < count; ++i)
        log.push_back(samples::Varied(i));
    return log;
}

// Decodes into a table filled with a marker; a refused document must leave every byte of it alone.
DocumentFault DecodeFault(const std::string& document) {
    std::vector<LogEntry> table(kMaxLogEntries);
    std::memset(table.data(), 0xA5, table.size() * sizeof table[0]);
    std::vector<LogEntry> before = table;
    DecodedDocument decoded;
    int ok = DecodeLogDocument(document, table.data(), &decoded);
    EXPECT_EQ(ok, decoded.fault == DocumentFault::kNone);
    if (!ok) {
        EXPECT_EQ(std::memcmp(table.data(), before.data(), table.size() * sizeof table[0]), 0)
            << "a refused document wrote into the table";
    }
    return decoded.fault;
}

TEST(LogDocumentFormat, OneRecordByteForByte) {
    LogEntry apple = samples::Food("Apple", 2.5f, 1, kSourceUsda);
    std::memset(apple.values, 0, sizeof apple.values);
    apple.values[kWater] = 85560;
    apple.values[kCalories] = 52;
    apple.values[kCholesterol] = -1;
    apple.servingWeight1 = 125.0f;
    apple.reserved1 = 0x11223344;
    apple.servingCount1 = 1.0f;
    samples::SetText(apple.servingText1, sizeof apple.servingText1, "cup");
    apple.servingWeight2 = 8.0f;
    apple.measureIndex = 99;
    apple.servingCount2 = 0.5f;
    samples::SetText(apple.servingText2, sizeof apple.servingText2, "tbsp");
    apple.refuse = 8;
    apple.reserved2 = -2;

    const std::string expected =
        Hex("6d 65 61 6c 74 61 6c 6c 79 31 30 30 30 30 a4 01"  // "mealtally" "10" "000", checksum, count
            "05 00 00 00 41 70 70 6c 65"                       // name
            "38 4e 01 00 34 00 00 00 00 00 00 00 00 00 00 00"  // values 0-3: water 85560, calories 52
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // 4-7
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // 8-11
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // 12-15
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // 16-19
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // 20-23
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // 24-27
            "00 00 00 00 00 00 00 00 ff ff ff ff"              // 28-30: cholesterol -1
            "00 00 fa 42 44 33 22 11 00 00 80 3f"              // weight 125, reserved1, count 1
            "03 00 00 00 63 75 70"                             // "cup"
            "00 00 00 41 63 00 00 00 00 00 00 3f"              // weight 8, measure index 99, count 0.5
            "04 00 00 00 74 62 73 70"                          // "tbsp"
            "08 00 00 00 fe ff ff ff 00 00 20 40"              // refuse 8, reserved2 -2, quantity 2.5
            "01 00 00 00 01 00 00 00");                        // measure 1, source USDA
    ASSERT_EQ(expected.size(), 208u);

    EXPECT_EQ(Encode(&apple, 1), expected);

    std::vector<LogEntry> table(kMaxLogEntries);
    DecodedDocument decoded;
    ASSERT_EQ(DecodeLogDocument(expected, table.data(), &decoded), 1);
    EXPECT_EQ(decoded.count, 1);
    EXPECT_EQ(decoded.recordsEnd, expected.size());
    EXPECT_EQ(std::memcmp(&table[0], &apple, sizeof apple), 0);
}

TEST(LogDocumentFormat, SizesOfSmallLogs) {
    LogEntry apple = samples::Food("Apple", 1.0f, 0, kSourceUsda);
    std::string one = Encode(&apple, 1);
    EXPECT_EQ(one.size(), 201u);
    EXPECT_EQ(LogDocumentSize(&apple, 1), 201u);
    EXPECT_EQ(one.substr(0, 14), "mealtally10000");
    EXPECT_EQ(one[15], 1);

    // An empty log is the bare header with count 0 and checksum 0, and it does not open.
    std::string empty = Encode(&apple, 0);
    EXPECT_EQ(empty, std::string("mealtally10000\0\0", 16));
    EXPECT_EQ(DecodeFault(empty), DocumentFault::kCount);

    // Counts the log cannot hold are refused rather than written.
    std::vector<LogEntry> log = VariedLog(kMaxLogEntries);
    char buffer[201];
    size_t size = 0;
    EXPECT_EQ(LogDocumentSize(log.data(), -1), 0u);
    EXPECT_EQ(LogDocumentSize(log.data(), kMaxLogEntries + 1), 0u);
    EXPECT_EQ(EncodeLogDocument(log.data(), -1, buffer, sizeof buffer, &size), 0);
    EXPECT_EQ(EncodeLogDocument(log.data(), kMaxLogEntries + 1, buffer, sizeof buffer, &size), 0);
    // A buffer one byte short is refused too.
    EXPECT_EQ(EncodeLogDocument(&apple, 1, buffer, 200, &size), 0);
    EXPECT_EQ(LogDocumentSize(log.data(), kMaxLogEntries), Encode(log.data(), kMaxLogEntries).size());
}

TEST(LogDocumentFormat, EveryFieldSurvivesARoundTrip) {
    for (int count : {1, 2, 13, kMaxLogEntries}) {
        SCOPED_TRACE(count);
        std::vector<LogEntry> log = VariedLog(count);
        std::string document = Encode(log.data(), count);
        ASSERT_FALSE(document.empty());
        std::vector<LogEntry> table(kMaxLogEntries);
        DecodedDocument decoded;
        ASSERT_EQ(DecodeLogDocument(document, table.data(), &decoded), 1);
        ASSERT_EQ(decoded.count, count);
        EXPECT_EQ(decoded.recordsEnd, document.size());
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(std::memcmp(&table[i], &log[i], sizeof log[i]), 0) << "entry " << i;
        }
        EXPECT_EQ(Encode(table.data(), count), document);
    }
}

TEST(LogDocumentFormat, TextsAreWrittenUpToTheirTerminatorAndNeverPastTheField) {
    LogEntry e = samples::Food("", 1.0f, 0, kSourceMyFoods);
    // Bytes behind a terminator are not part of the text.
    std::memcpy(e.name, "ab\0cd", 5);
    std::memcpy(e.servingText1, "Cup\0junk", 8);
    std::string document = Encode(&e, 1);
    EXPECT_EQ(document.size(), kLogDocumentHeaderSize + kLogRecordFixedSize + 2 + 3);

    // A field without a terminator is cut one byte short of its size, so the document still opens.
    std::memset(e.name, 'n', sizeof e.name);
    std::memset(e.servingText1, 's', sizeof e.servingText1);
    std::memset(e.servingText2, 't', sizeof e.servingText2);
    document = Encode(&e, 1);
    EXPECT_EQ(document.size(), kLogDocumentHeaderSize + kLogRecordFixedSize + 255 + 47 + 47);
    std::vector<LogEntry> table(kMaxLogEntries);
    ASSERT_EQ(DecodeLogDocument(document, table.data(), nullptr), 1);
    EXPECT_EQ(std::string(table[0].name), std::string(255, 'n'));
    EXPECT_EQ(std::string(table[0].servingText1), std::string(47, 's'));
    EXPECT_EQ(std::string(table[0].servingText2), std::string(47, 't'));
}

TEST(LogDocumentFormat, ATextWithANulInsideEndsThere) {
    LogEntry e = samples::Food("Apple", 1.0f, 0, kSourceUsda);
    std::string document = Encode(&e, 1);
    ASSERT_EQ(document.size(), 201u);
    document.replace(20, 5, std::string("Ap\0le", 5));
    FixChecksum(&document);
    std::vector<LogEntry> table(kMaxLogEntries);
    ASSERT_EQ(DecodeLogDocument(document, table.data(), nullptr), 1);
    EXPECT_EQ(std::string(table[0].name), "Ap");
    EXPECT_EQ(std::memcmp(table[0].name + 2, std::string(sizeof e.name - 2, '\0').data(), sizeof e.name - 2),
              0);
    EXPECT_EQ(table[0].values[kProtein], e.values[kProtein]);
}

TEST(LogDocumentFormat, HeaderTests) {
    LogEntry apple = samples::Food("Apple", 1.0f, 0, kSourceUsda);
    const std::string good = Encode(&apple, 1);
    ASSERT_EQ(DecodeFault(good), DocumentFault::kNone);

    for (size_t size = 0; size < kLogDocumentHeaderSize; ++size) {
        EXPECT_EQ(DecodeFault(good.substr(0, size)), DocumentFault::kTooShort) << size;
    }

    struct HeaderCase {
        size_t offset;
        std::string bytes;
        DocumentFault expected;
    };
    const HeaderCase cases[] = {
        {0, "MEALTALLY", DocumentFault::kNone},   {0, "MealTally", DocumentFault::kNone},
        {0, "mEaLtAlLy", DocumentFault::kNone},   {0, "mealtalle", DocumentFault::kMagic},
        {0, "nealtally", DocumentFault::kMagic},  {0, "meal tally", DocumentFault::kMagic},
        {0, "mealtal\xcc" "y", DocumentFault::kMagic},  // 'L' with the high bit set
        {0, "\xff\xfem", DocumentFault::kMagic},  // UTF-16 byte-order marks
        {0, "\xfe\xff", DocumentFault::kMagic},
        {9, "11", DocumentFault::kVersion},  {9, "01", DocumentFault::kVersion},
        {9, "00", DocumentFault::kVersion},  {9, "20", DocumentFault::kVersion},
        {10, "\x80", DocumentFault::kVersion},
        {11, std::string("\xff\0Z", 3), DocumentFault::kNone},  // the reserved bytes may hold anything
        {11, "999", DocumentFault::kNone},
    };
    for (const HeaderCase& c : cases) {
        std::string document = good;
        document.replace(c.offset, c.bytes.size(), c.bytes);
        FixChecksum(&document);
        EXPECT_EQ(DecodeFault(document), c.expected) << c.offset << " " << c.bytes;
    }

    // A whole document saved as UTF-16 text with its byte-order mark.
    for (const char* bom : {"\xff\xfe", "\xfe\xff"}) {
        std::string wide(bom, 2);
        for (char c : good) {
            if (bom[0] == '\xff')
                wide += std::string(1, c) + '\0';
            else
                wide += std::string(1, '\0') + c;
        }
        EXPECT_EQ(DecodeFault(wide), DocumentFault::kMagic);
    }
}

TEST(LogDocumentFormat, AnyChangedByteFailsTheChecksum) {
    std::vector<LogEntry> log = VariedLog(2);
    LogEntry small = samples::Food("Pear", 0.5f, kMeasureGrams, kSourceUsda);
    samples::SetText(small.servingText1, sizeof small.servingText1, "cup");
    for (const std::string& good : {Encode(&small, 1), Encode(log.data(), 2)}) {
        ASSERT_EQ(DecodeFault(good), DocumentFault::kNone);
        for (size_t offset = kLogDocumentCountOffset; offset < good.size(); ++offset) {
            for (int delta : {1, 0x80, 0xFF}) {
                std::string document = good;
                document[offset] = static_cast<char>(document[offset] + delta);
                ASSERT_EQ(DecodeFault(document), DocumentFault::kChecksum) << offset << " +" << delta;
            }
        }
        for (int delta = 1; delta < 256; ++delta) {
            std::string document = good;
            document[kLogDocumentChecksumOffset] =
                static_cast<char>(document[kLogDocumentChecksumOffset] + delta);
            ASSERT_EQ(DecodeFault(document), DocumentFault::kChecksum) << "checksum +" << delta;
        }
        // Bytes after the last record count in the checksum.
        EXPECT_EQ(DecodeFault(good + "x"), DocumentFault::kChecksum);
    }
}

TEST(LogDocumentFormat, CountMustBeOneToFifty) {
    std::vector<LogEntry> log = VariedLog(kMaxLogEntries);
    const std::string full = Encode(log.data(), kMaxLogEntries);
    for (int count : {0, 51, 52, 128, 255}) {
        std::string document = full;
        document[kLogDocumentCountOffset] = static_cast<char>(count);
        FixChecksum(&document);
        EXPECT_EQ(DecodeFault(document), DocumentFault::kCount) << count;
    }
}

TEST(LogDocumentFormat, RecordsMustLieInsideTheDocument) {
    std::vector<LogEntry> log = VariedLog(3);
    const std::string good = Encode(log.data(), 3);
    for (size_t size = kLogDocumentHeaderSize; size < good.size(); ++size) {
        std::string document = good.substr(0, size);
        FixChecksum(&document);
        ASSERT_EQ(DecodeFault(document), DocumentFault::kPastEnd) << size;
    }
    // A count above the records present.
    std::string document = good;
    document[kLogDocumentCountOffset] = 4;
    FixChecksum(&document);
    EXPECT_EQ(DecodeFault(document), DocumentFault::kPastEnd);
}

TEST(LogDocumentFormat, TextLengthsMustFitTheirFields) {
    LogEntry e = samples::Food("Apple", 1.0f, 0, kSourceUsda);
    samples::SetText(e.servingText1, sizeof e.servingText1, "cup");
    samples::SetText(e.servingText2, sizeof e.servingText2, "tbsp");
    const std::string good = Encode(&e, 1);
    ASSERT_EQ(DecodeFault(good), DocumentFault::kNone);

    // The longest texts that fit open (see the round trips); one byte more, or a negative length, does not.
    const size_t name = 16;
    const size_t text1 = name + 4 + 5 + 124 + 12;
    const size_t text2 = text1 + 4 + 3 + 12;
    struct LengthCase {
        size_t offset;
        int32_t length;
    };
    const LengthCase cases[] = {
        {name, 256}, {name, -1},       {name, INT32_MIN}, {name, INT32_MAX}, {text1, 48},
        {text1, -1}, {text1, 0x10000}, {text2, 48},       {text2, -47},
    };
    for (const LengthCase& c : cases) {
        std::string document = good;
        PutI32(&document, c.offset, c.length);
        FixChecksum(&document);
        EXPECT_EQ(DecodeFault(document), DocumentFault::kTextLength) << c.offset << " " << c.length;
    }
    // A length that fits its field but not the document.
    std::string document = good;
    PutI32(&document, name, 200);
    FixChecksum(&document);
    EXPECT_EQ(DecodeFault(document), DocumentFault::kPastEnd);
}

TEST(LogDocumentFormat, BytesAfterTheLastRecordAreIgnored) {
    std::vector<LogEntry> log = VariedLog(2);
    const std::string good = Encode(log.data(), 2);
    std::string document = good + std::string("\0trailing\r\n\xff", 12);
    FixChecksum(&document);
    std::vector<LogEntry> table(kMaxLogEntries);
    DecodedDocument decoded;
    ASSERT_EQ(DecodeLogDocument(document, table.data(), &decoded), 1);
    EXPECT_EQ(decoded.count, 2);
    EXPECT_EQ(decoded.recordsEnd, good.size());
    EXPECT_EQ(std::memcmp(table.data(), log.data(), 2 * sizeof log[0]), 0);
}

}  // namespace
