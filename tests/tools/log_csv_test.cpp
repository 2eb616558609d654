// The platelog-csv command: its table, its quoting, and the files it refuses to write.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foodlog/log_cells.h"
#include "foodlog/log_table.h"
#include "platform/file_io.h"
#include "tests/logdoc/document_samples.h"
#include "tests/test_files.h"
#include "tests/tools/csv_rows.h"
#include "tools/log_csv.h"

namespace {

std::string Field(const std::string& text) {
    std::string out;
    AppendCsvField(text, &out);
    return out;
}

TEST(AppendCsvField, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(Field("APPLE"), "APPLE");
    EXPECT_EQ(Field(""), "");
    EXPECT_EQ(Field("   TOTAL"), "   TOTAL");
    EXPECT_EQ(Field("-0.500"), "-0.500");
    EXPECT_EQ(Field("~APPLES, RAW~"), "\"~APPLES, RAW~\"");
    EXPECT_EQ(Field("6\" PIZZA"), "\"6\"\" PIZZA\"");
    EXPECT_EQ(Field("\""), "\"\"\"\"");
    EXPECT_EQ(Field("a\r\nb"), "\"a\r\nb\"");
    EXPECT_EQ(Field("a\nb"), "\"a\nb\"");
    EXPECT_EQ(Field("Cr\xE8me br\xFBl\xE9" "e"), "Cr\xE8me br\xFBl\xE9" "e");  // 8-bit text as it is
}

// A USDA food logged in grams: per 100 g 2.6 g protein and 100 mg calcium (samples::Food).
LogEntry Grams(const char* name, float grams) {
    return samples::Food(name, grams, kMeasureGrams, kSourceUsda);
}

class LogCsv : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLogState();
        // Tests run in parallel: each has files of its own.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        input_ = TempPath("csv-" + name + ".mtf");
        output_ = TempPath("csv-" + name + ".csv");
        std::remove(output_.c_str());
    }
    void TearDown() override {
        InjectFileFault(FileFault::kNone);
        std::remove(input_.c_str());
        std::remove(output_.c_str());
        ResetLogState();
    }
    void WriteDocument(const std::vector<LogEntry>& entries) {
        std::string bytes = samples::Encode(entries.data(), static_cast<int>(entries.size()));
        ASSERT_FALSE(bytes.empty());
        WriteFileBytes(input_, bytes);
    }
    int Run(std::vector<const char*> options, std::string* out, std::string* err) {
        std::vector<const char*> argv = {"platelog-csv"};
        argv.insert(argv.end(), options.begin(), options.end());
        return RunPlatelogCsv(static_cast<int>(argv.size()), argv.data(), out, err);
    }
    csv::Rows Output() {
        bool ok = false;
        csv::Rows rows = csv::Parse(ReadFileBytes(output_), &ok);
        EXPECT_TRUE(ok);
        return rows;
    }

    std::string input_;
    std::string output_;
};

TEST_F(LogCsv, WritesTheHeaderTheEntriesAndTheTotalInEitherView) {
    WriteDocument({Grams("~APPLE, \"PIE\"~", 150.0f), Grams("EGG", 50.0f)});
    struct Case {
        const char* option;
        const char* calciumHeader;
        const char* calcium[3];
    } const cases[] = {
        {"--amounts", "Calcium (mg)", {"150", "50", "200"}},
        {"--percent", "Calcium (%)", {"15", "5", "20"}},
    };
    for (const Case& c : cases) {
        std::string out, err;
        ASSERT_EQ(Run({c.option, input_.c_str(), output_.c_str()}, &out, &err), kToolOk) << err;
        EXPECT_EQ(out, "platelog-csv: wrote 2 entries to " + output_ + "\n");
        csv::Rows rows = Output();
        ASSERT_EQ(rows.size(), 4u) << c.option;
        for (const auto& row : rows)
            ASSERT_EQ(row.size(), 29u) << c.option;
        // Water is not shown, so Calories is the fourth column and Calcium the ninth.
        EXPECT_EQ(rows[0][0], "Description");
        EXPECT_EQ(rows[0][3], "Calories");
        EXPECT_EQ(rows[0][8], c.calciumHeader);
        EXPECT_EQ(rows[0][28], "Cholestrol (mg)");
        EXPECT_EQ(rows[1][0], "~APPLE, \"PIE\"~");
        EXPECT_EQ(rows[1][1], "150.00");
        EXPECT_EQ(rows[1][2], "grams");
        EXPECT_EQ(rows[1][4], "3.900");  // protein: 2.6 g x 1.5
        EXPECT_EQ(rows[2][4], "1.300");
        EXPECT_EQ(rows[3][0], "   TOTAL");
        EXPECT_EQ(rows[3][1], "");
        EXPECT_EQ(rows[3][2], "");
        EXPECT_EQ(rows[3][4], "5.200");
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(rows[r + 1][8], c.calcium[r]) << c.option << " row " << r;
    }
}

TEST_F(LogCsv, AllColumnsAddsTheFivePositionsTheProgramHides) {
    LogEntry food = Grams("SOUP", 100.0f);
    food.values[kWater] = 88000;
    food.values[kAsh] = 1500;
    WriteDocument({food});
    std::string out, err;
    ASSERT_EQ(Run({"--all-columns", "--amounts", input_.c_str(), output_.c_str()}, &out, &err), kToolOk);
    csv::Rows rows = Output();
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(rows[0].size(), 34u);
    ASSERT_EQ(rows[1].size(), 34u);
    for (int position = 0; position < kFieldPositions; ++position)
        EXPECT_EQ(rows[0][position], LogHeaderText(position, kAmountsView)) << position;
    EXPECT_EQ(rows[0][3], "Water");
    EXPECT_EQ(rows[0][9], "Ash");
    EXPECT_EQ(rows[0][18], "Manganese (mg)");
    EXPECT_EQ(rows[1][3], "88.000");
    EXPECT_EQ(rows[1][9], "1.500");
    EXPECT_EQ(rows[2][3], "88.000");
}

TEST_F(LogCsv, LinesEndWithCrLfAndTheTextKeepsItsBytes) {
    WriteDocument({Grams("Cr\xE8me, \"br\xFBl\xE9" "e\"", 10.0f)});
    std::string out, err;
    ASSERT_EQ(Run({input_.c_str(), output_.c_str()}, &out, &err), kToolOk);
    std::string text = ReadFileBytes(output_);
    EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1);
    size_t lines = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            ++lines;
            EXPECT_EQ(text[i - 1], '\r');
        }
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_NE(text.find("\r\n\"Cr\xE8me, \"\"br\xFBl\xE9" "e\"\"\",10.00,grams,"), std::string::npos);
    // The program starts in the percent view, and so does the tool without an option.
    EXPECT_NE(text.find(",Calcium (%),"), std::string::npos);
}

TEST_F(LogCsv, ADamagedDocumentIsRefusedAndNothingIsWritten) {
    std::string good =
        samples::Encode(std::vector<LogEntry>{Grams("EGG", 50.0f), Grams("HAM", 20.0f)}.data(), 2);
    ASSERT_FALSE(good.empty());
    // One flipped byte anywhere: the magic, the version, the checksum, the count, a name, a number.
    const size_t offsets[] = {0, 9, 14, 15, 16, 20, 60, good.size() - 1};
    for (size_t offset : offsets) {
        std::string bad = good;
        bad[offset] = static_cast<char>(bad[offset] ^ 0x01);
        WriteFileBytes(input_, bad);
        std::string out, err;
        EXPECT_EQ(Run({input_.c_str(), output_.c_str()}, &out, &err), kToolFailed) << offset;
        EXPECT_EQ(err, "platelog-csv: " + input_ + " is not a Meal-Tally log document, or it is damaged\n");
        EXPECT_EQ(out, "");
        EXPECT_EQ(ReadFileBytes(output_), "<missing>") << offset;
    }
    // An earlier output stays as it was.
    WriteFileBytes(output_, "earlier");
    std::string out, err;
    EXPECT_EQ(Run({input_.c_str(), output_.c_str()}, &out, &err), kToolFailed);
    EXPECT_EQ(ReadFileBytes(output_), "earlier");
}

TEST_F(LogCsv, NeverWritesOverItsInput) {
    WriteDocument({Grams("EGG", 50.0f)});
    std::string before = ReadFileBytes(input_);
    std::string sameFile = input_;
    size_t slash = sameFile.find_last_of("/\\");
    ASSERT_NE(slash, std::string::npos);
    sameFile.insert(slash, std::string(1, sameFile[slash]) + ".");  // dir/./name
    for (const std::string& target : {input_, sameFile}) {
        std::string out, err;
        EXPECT_EQ(Run({input_.c_str(), target.c_str()}, &out, &err), kToolFailed) << target;
        EXPECT_EQ(err, "platelog-csv: " + target + " is the input file; name another output file\n");
        EXPECT_EQ(ReadFileBytes(input_), before);
    }
}

TEST_F(LogCsv, AFailedWriteLeavesTheEarlierOutputAndSaysSo) {
    WriteDocument({Grams("EGG", 50.0f)});
    WriteFileBytes(output_, "earlier");
    for (FileFault fault : {FileFault::kOpenFails, FileFault::kShortWrite}) {
        InjectFileFault(fault);
        std::string out, err;
        EXPECT_EQ(Run({input_.c_str(), output_.c_str()}, &out, &err), kToolFailed);
        EXPECT_EQ(err, "platelog-csv: cannot write " + output_ + "\n");
        EXPECT_EQ(ReadFileBytes(output_), "earlier");
    }
    InjectFileFault(FileFault::kNone);
    std::string out, err;
    std::string missing = TempPath("csv-no-such-document.mtf");
    EXPECT_EQ(Run({missing.c_str(), output_.c_str()}, &out, &err), kToolFailed);
    EXPECT_EQ(err, "platelog-csv: cannot read " + missing + "\n");
}

TEST_F(LogCsv, WrongUsageExitsTwoWithTheUsage) {
    WriteDocument({Grams("EGG", 50.0f)});
    const std::vector<std::vector<const char*>> wrong = {
        {},
        {input_.c_str()},
        {input_.c_str(), output_.c_str(), "third"},
        {"--amounts", "--percent", input_.c_str(), output_.c_str()},
        {"--columns", input_.c_str(), output_.c_str()},
        {input_.c_str(), ""},
    };
    for (const auto& options : wrong) {
        std::string out, err;
        EXPECT_EQ(Run(options, &out, &err), kToolUsage) << options.size();
        EXPECT_EQ(err.rfind("usage: platelog-csv", 0), 0u);
        EXPECT_EQ(ReadFileBytes(output_), "<missing>");
    }
    std::string out, err;
    EXPECT_EQ(Run({"--help"}, &out, &err), kToolOk);
    EXPECT_EQ(out.rfind("usage: platelog-csv", 0), 0u);
    // The same view twice is no contradiction; options may follow the paths.
    EXPECT_EQ(Run({"--amounts", input_.c_str(), output_.c_str(), "--amounts"}, &out, &err), kToolOk);
}

}  // namespace
