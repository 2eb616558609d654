// Saving the log to a document file and loading it back into the log.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foodlog/log_table.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "tests/logdoc/document_samples.h"
#include "tests/test_files.h"

namespace {

std::string DocumentPath(const char* name) {
    return TempPath(std::string("logdoc-") + name);
}

// The whole log state a load may change, to compare before and after.
struct LogSnapshot {
    std::vector<LogEntry> entries{LogEntries(), LogEntries() + kMaxLogEntries};
    std::vector<EntryNutrients> nutrients{&NutrientsAt(0), &NutrientsAt(0) + kMaxLogEntries + 1};
    int count = EntryCount();

    bool SameAsLog() const {
        return std::memcmp(entries.data(), LogEntries(), kMaxLogEntries * sizeof(LogEntry)) == 0 &&
               std::memcmp(nutrients.data(), &NutrientsAt(0), nutrients.size() * sizeof(EntryNutrients)) ==
                   0 &&
               count == EntryCount();
    }
};

class LogDocumentFile : public ::testing::Test {
protected:
    void SetUp() override { ResetLogState(); }
    void TearDown() override {
        InjectFileFault(FileFault::kNone);
        ResetLogState();
    }

    // Puts entries into the log as adds do: fields, nutrients, count; the totals record gets the sum.
    static void FillLog(const std::vector<LogEntry>& entries) {
        ClearLog();
        for (const LogEntry& entry : entries)
            ASSERT_EQ(AppendEntry(entry), 1);
        ComputeTotals();
    }
};

TEST_F(LogDocumentFile, ClearLogEntriesZeroesEveryPositionButTheTotals) {
    std::vector<LogEntry> seven;
    for (int i = 0; i < 7; ++i)
        seven.push_back(samples::Varied(i));
    FillLog(seven);
    EntryNutrients totals = NutrientsAt(kTotalsRecord);
    EntryNutrients zero = {};
    ASSERT_NE(std::memcmp(&totals, &zero, sizeof zero), 0);
    ClearLogEntries();
    std::vector<char> zeroEntries(kMaxLogEntries * sizeof(LogEntry), 0);
    std::vector<char> zeroNutrients(kMaxLogEntries * sizeof(EntryNutrients), 0);
    EXPECT_EQ(std::memcmp(LogEntries(), zeroEntries.data(), zeroEntries.size()), 0);
    EXPECT_EQ(std::memcmp(&NutrientsAt(0), zeroNutrients.data(), zeroNutrients.size()), 0);
    EXPECT_EQ(std::memcmp(&NutrientsAt(kTotalsRecord), &totals, sizeof totals), 0);
    EXPECT_EQ(EntryCount(), 7);  // the count is the caller's to set
}

TEST_F(LogDocumentFile, SaveWritesTheEncodedLogAndLeavesTheLogAlone) {
    std::string path = DocumentPath("save.mtf");
    FillLog({samples::Food("Apple", 1.0f, kMeasureFirst, kSourceUsda), samples::Varied(0)});
    LogSnapshot before;

    ASSERT_EQ(SaveLogDocument(1, path.c_str()), 1);
    std::string one = ReadFileBytes(path);
    EXPECT_EQ(one.size(), 201u);
    EXPECT_EQ(one, samples::Encode(LogEntries(), 1));

    ASSERT_EQ(SaveLogDocument(2, path.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(path), samples::Encode(LogEntries(), 2));

    ASSERT_EQ(SaveLogDocument(0, path.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(path), std::string("mealtally10000\0\0", 16));
    EXPECT_TRUE(before.SameAsLog());

    // The empty document does not open, and the log stays as it was.
    EXPECT_EQ(LoadLogDocument(path.c_str()), 0);
    EXPECT_TRUE(before.SameAsLog());
    std::remove(path.c_str());
}

TEST_F(LogDocumentFile, LoadReplacesTheWholeLog) {
    std::string path = DocumentPath("replace.mtf");
    std::vector<LogEntry> saved;
    for (int i = 0; i < kMaxLogEntries; ++i)
        saved.push_back(samples::Varied(i));
    FillLog(saved);
    ASSERT_EQ(SaveLogDocument(kMaxLogEntries, path.c_str()), 1);
    std::vector<EntryNutrients> computed(&NutrientsAt(0), &NutrientsAt(0) + kMaxLogEntries);

    ResetLogState();
    FillLog({samples::Food("Pear", 3.0f, kMeasureGrams, kSourceUsda)});
    ASSERT_EQ(LoadLogDocument(path.c_str()), 1);
    EXPECT_EQ(EntryCount(), kMaxLogEntries);
    EXPECT_EQ(std::memcmp(LogEntries(), saved.data(), kMaxLogEntries * sizeof(LogEntry)), 0);
    EXPECT_EQ(std::memcmp(&NutrientsAt(0), computed.data(), kMaxLogEntries * sizeof computed[0]), 0);

    // A shorter document leaves nothing of the longer log behind it.
    FillLog(saved);
    LogEntry apple = samples::Food("Apple", 2.0f, kMeasureGrams, kSourceUsda);
    WriteFileBytes(path, samples::Encode(&apple, 1));
    ASSERT_EQ(LoadLogDocument(path.c_str()), 1);
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(std::memcmp(&EntryAt(0), &apple, sizeof apple), 0);
    std::vector<char> zeroEntries((kMaxLogEntries - 1) * sizeof(LogEntry), 0);
    std::vector<char> zeroNutrients((kMaxLogEntries - 1) * sizeof(EntryNutrients), 0);
    EXPECT_EQ(std::memcmp(&EntryAt(1), zeroEntries.data(), zeroEntries.size()), 0);
    EXPECT_EQ(std::memcmp(&NutrientsAt(1), zeroNutrients.data(), zeroNutrients.size()), 0);
    std::remove(path.c_str());
}

TEST_F(LogDocumentFile, LoadComputesNutrientsInTheCurrentView) {
    std::string path = DocumentPath("view.mtf");
    // 200 g of a USDA food with 100 mg calcium per 100 g; one serving of a My Foods food labelled 25 %
    // calcium.
    LogEntry usda = samples::Food("Milk", 200.0f, kMeasureGrams, kSourceUsda);
    LogEntry mine = samples::Food("Cereal", 1.0f, kMeasureNone, kSourceMyFoods);
    mine.values[kCalcium] = 25;
    SetViewMode(kPercentView);
    FillLog({usda, mine});
    ASSERT_EQ(NutrientsAt(0).amounts[kCalcium], 20);
    ASSERT_EQ(NutrientsAt(1).amounts[kCalcium], 25);
    ASSERT_EQ(SaveLogDocument(2, path.c_str()), 1);

    SetViewMode(kAmountsView);
    ASSERT_EQ(LoadLogDocument(path.c_str()), 1);
    EXPECT_EQ(NutrientsAt(0).amounts[kCalcium], 200);
    EXPECT_EQ(NutrientsAt(1).amounts[kCalcium], 250);
    EXPECT_EQ(NutrientsAt(0).amounts[kProtein], 5200);  // 2.6 g per 100 g, scaled to 200 g

    SetViewMode(kPercentView);
    ASSERT_EQ(LoadLogDocument(path.c_str()), 1);
    EXPECT_EQ(NutrientsAt(0).amounts[kCalcium], 20);
    EXPECT_EQ(NutrientsAt(1).amounts[kCalcium], 25);
    std::remove(path.c_str());
}

TEST_F(LogDocumentFile, ARefusedDocumentLeavesTheLogExactlyAsItWas) {
    std::string path = DocumentPath("refused.mtf");
    std::vector<LogEntry> two = {samples::Varied(3), samples::Varied(4)};
    const std::string good = samples::Encode(two.data(), 2);

    std::vector<std::string> damaged;
    damaged.push_back(good.substr(0, 15));
    damaged.push_back("\xff\xfe" + good);
    std::string bad = good;
    bad[3] = 'x';
    damaged.push_back(bad);
    bad = good;
    bad[10] = '1';
    damaged.push_back(bad);
    bad = good;
    bad[100] ^= 1;  // checksum no longer matches
    damaged.push_back(bad);
    for (int count : {0, 51}) {
        bad = good;
        bad[kLogDocumentCountOffset] = static_cast<char>(count);
        samples::FixChecksum(&bad);
        damaged.push_back(bad);
    }
    // Sound header, broken records: these get past every header test.
    bad = good.substr(0, good.size() - 1);
    samples::FixChecksum(&bad);
    damaged.push_back(bad);
    bad = good;
    samples::PutI32(&bad, kLogDocumentHeaderSize, 256);
    samples::FixChecksum(&bad);
    damaged.push_back(bad);

    FillLog({samples::Varied(0), samples::Varied(1), samples::Varied(2)});
    LogSnapshot before;
    for (size_t i = 0; i < damaged.size(); ++i) {
        WriteFileBytes(path, damaged[i]);
        EXPECT_EQ(LoadLogDocument(path.c_str()), 0) << "document " << i;
        EXPECT_TRUE(before.SameAsLog()) << "document " << i;
    }
    std::remove(path.c_str());
    EXPECT_EQ(LoadLogDocument(path.c_str()), 0);
    EXPECT_EQ(LoadLogDocument(PLATELOG_TEMP_DIR), 0);  // a folder
    EXPECT_TRUE(before.SameAsLog());

    // The same document with extra bytes behind its records opens.
    WriteFileBytes(path, good + "extra");
    EXPECT_EQ(LoadLogDocument(path.c_str()), 0);
    std::string extra = good + "extra";
    samples::FixChecksum(&extra);
    WriteFileBytes(path, extra);
    EXPECT_EQ(LoadLogDocument(path.c_str()), 1);
    EXPECT_EQ(EntryCount(), 2);
    EXPECT_EQ(std::memcmp(LogEntries(), two.data(), 2 * sizeof two[0]), 0);
    std::remove(path.c_str());
}

TEST_F(LogDocumentFile, AFailedSaveKeepsThePreviousDocument) {
    std::string path = DocumentPath("failed-save.mtf");
    FillLog({samples::Food("Apple", 1.0f, kMeasureFirst, kSourceUsda)});
    ASSERT_EQ(SaveLogDocument(1, path.c_str()), 1);
    const std::string previous = ReadFileBytes(path);

    FillLog({samples::Varied(5), samples::Varied(6)});
    for (FileFault fault : {FileFault::kShortWrite, FileFault::kOpenFails}) {
        InjectFileFault(fault);
        EXPECT_EQ(SaveLogDocument(2, path.c_str()), 0);
        EXPECT_EQ(ReadFileBytes(path), previous);
    }
    InjectFileFault(FileFault::kNone);
    EXPECT_EQ(SaveLogDocument(-1, path.c_str()), 0);
    EXPECT_EQ(SaveLogDocument(kMaxLogEntries + 1, path.c_str()), 0);
    EXPECT_EQ(SaveLogDocument(1, nullptr), 0);
    EXPECT_EQ(ReadFileBytes(path), previous);

    std::string missing = DocumentPath("no-such-folder/log.mtf");
    EXPECT_EQ(SaveLogDocument(2, missing.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(missing), "<missing>");

    EXPECT_EQ(SaveLogDocument(2, path.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(path), samples::Encode(LogEntries(), 2));
    std::remove(path.c_str());
}

}  // namespace
