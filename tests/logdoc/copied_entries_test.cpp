// Entries through the clipboard: the own form comes back entry for entry, and anything else, damaged or
// cut short, is refused without a byte written; the text form is the log's rows with tabs between.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foodlog/log_table.h"
#include "logdoc/copied_entries.h"
#include "logdoc/log_document.h"

namespace {

LogEntry Food(const char* name, float quantity) {
    LogEntry e;
    std::memset(&e, 0, sizeof e);
    std::snprintf(e.name, sizeof e.name, "%s", name);
    std::snprintf(e.servingText1, sizeof e.servingText1, "cup");
    e.source = kSourceUsda;
    e.quantity = quantity;
    e.servingWeight1 = 240;
    e.values[kCalories] = 61;
    return e;
}

TEST(CopiedEntries, TheOwnFormComesBackAndAnythingElseIsRefusedUntouched) {
    const LogEntry copied[] = {Food("~MILK~", 1), Food("Walnut \"bread\"", 2.5f), Food("~OATS~", 0)};
    std::string bytes;
    ASSERT_EQ(EncodeCopiedEntries(copied, 3, &bytes), 1);
    LogEntry read[kMaxLogEntries];
    int count = 0;
    // A clipboard may keep more bytes than were put there.
    ASSERT_EQ(DecodeCopiedEntries(bytes + std::string(13, '\x7f'), read, &count), 1);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(std::memcmp(read, copied, sizeof copied), 0);

    std::string document = bytes.substr(4);
    std::string flipped = bytes;
    flipped[bytes.size() / 2] ^= 0x20;
    std::string longer = bytes + "x";
    longer[0] = static_cast<char>(longer[0] + 1);  // a length that takes in a byte after the records
    longer[4 + kLogDocumentChecksumOffset] = static_cast<char>(longer[4 + kLogDocumentChecksumOffset] + 'x');
    const std::string refused[] = {"", "abc", bytes.substr(0, bytes.size() - 1), flipped, longer, document,
                                   "Description\tQuantity\r\n", std::string("\xff\xff\xff\x7f", 4) + document};
    for (const std::string& bad : refused) {
        std::memset(read, 0xA5, sizeof read);
        count = -7;
        EXPECT_EQ(DecodeCopiedEntries(bad, read, &count), 0) << bad.size();
        EXPECT_EQ(count, -7);
        EXPECT_EQ(read[0].name[0], '\xA5');
    }
    EXPECT_EQ(EncodeCopiedEntries(copied, 0, &bytes), 0);
    EXPECT_TRUE(bytes.empty());
}

TEST(CopiedEntries, TheTextHasTheHeaderThenTheChosenRowsOrTheWholeLogWithItsTotal) {
    ResetLogState();
    const LogEntry entries[] = {Food("~MILK~", 1), Food("tab\there", 2), Food("~OATS~", 3)};
    ASSERT_EQ(ReplaceEntries(entries, 3), 1);
    ComputeTotals();
    const int chosen[] = {1, 2};
    const std::string some = CopiedEntriesText(chosen, 2);
    EXPECT_EQ(some.rfind("Description\tQuantity\tMeasure\tCalories\tProtein (g)\t", 0), 0u);
    EXPECT_NE(some.find("\r\n\"tab\there\"\t2.00\tcup\t"), std::string::npos);
    EXPECT_EQ(some.find("MILK"), std::string::npos);
    const std::string whole = CopiedEntriesText(nullptr, 0);
    EXPECT_NE(whole.find("\r\n~MILK~\t1.00\tcup\t"), std::string::npos);
    EXPECT_NE(whole.find("\r\n   TOTAL\t\t\t"), std::string::npos);
    size_t rows = 0;
    for (char c : whole)
        rows += c == '\n';
    EXPECT_EQ(rows, 5u);
    ResetLogState();
}

}  // namespace
