// Every writer of the program is all-or-nothing: a power cut at any of its write calls leaves, for the
// next start, the old file or the new one, byte for byte, and nothing else beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "tests/test_files.h"
#include "tools/log_csv.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#endif

namespace {

constexpr char kMissing[] = "<missing>";

// Read behind the seam's back: a read through it would put back a change left half done.
std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return kMissing;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The file as it was before the change, written behind the seam's back, and nothing beside it.
void Reset(const std::string& path, const std::string& before) {
    std::remove(JournalPathOf(path.c_str()).c_str());
    std::remove(NewFilePathOf(path.c_str()).c_str());
    std::remove(path.c_str());
    if (before != kMissing) WriteFileBytes(path, before);
}

// Cuts `change` at each of its write calls in turn; returns how many cut points there were.
int ExpectAllOrNothing(const char* what, const std::string& path, const std::string& before,
                       const std::function<void()>& change) {
    Reset(path, before);
    CutWritesAt(0);
    change();
    const int calls = WriteCallsSoFar();
    const std::string after = Contents(path);
    EXPECT_NE(after, before) << what << " changed nothing";
    EXPECT_GE(calls, 2) << what;
    for (int cut = 1; cut <= calls; ++cut) {
        Reset(path, before);
        CutWritesAt(cut);
        change();
        CutWritesAt(0);
        // The next start of the program: its first read puts back what a cut change left half done.
        FileImage image;
        ReadWholeFile(path.c_str(), &image);
        std::string now = Contents(path);
        EXPECT_TRUE(now == before || now == after) << what << ", cut at write call " << cut << " of " << calls;
        EXPECT_EQ(Contents(JournalPathOf(path.c_str())), kMissing) << what << ", cut " << cut;
        // A new file a replace left behind goes with the next one.
        if (Contents(NewFilePathOf(path.c_str())) != kMissing) {
            change();
            EXPECT_EQ(Contents(NewFilePathOf(path.c_str())), kMissing) << what << ", cut " << cut;
        }
    }
    Reset(path, kMissing);
    return calls;
}

std::string Foods(int count) {
    std::string foods;
    for (int i = 0; i < count; ++i)
        foods += "Food " + std::to_string(i) + "^^" + std::to_string(100 + i) + "^1^2^3\r\n";
    return foods;
}

void Rewrite(const std::string& path, const std::string& contents) {
    HeldFile file;
    ASSERT_EQ(file.Open(path.c_str()), ReadResult::kOk);
    file.Rewrite(contents.data(), contents.size());
}

TEST(WriteCuts, EveryWriterLeavesTheOldFileOrTheNewOne) {
    const std::string foods = TempPath("cut-mtmyfood");
    const std::string small = Foods(5);
    const std::string line = "Added food^^50^1^2^3\r\n";
    int cuts = 0;
    // Add and Save Log as My Food append; a file whose last line lost its line end gets one first.
    auto add = [&] { AppendLineToFile(foods.c_str(), line.data(), line.size()); };
    cuts += ExpectAllOrNothing("Add", foods, small, add);
    cuts += ExpectAllOrNothing("Add after a cut last line", foods, small.substr(0, small.size() - 2), add);
    cuts += ExpectAllOrNothing("Add to no file", foods, kMissing, add);
    // Edit moves the food's line to the end with its new fields; Delete takes it out.
    size_t second = small.find("Food 1"), third = small.find("Food 2");
    std::string without = small.substr(0, second) + small.substr(third);
    cuts += ExpectAllOrNothing("Edit", foods, small, [&] { Rewrite(foods, without + "Food 1, less^^90^1\r\n"); });
    cuts += ExpectAllOrNothing("Delete", foods, small, [&] { Rewrite(foods, without); });

    // Save and Save As replace a log document; platelog-csv and the Summary of Days' Save as CSV a CSV file.
    const std::string document = TempPath("cut-log.mtf");
    ClearLog();
    LogEntry entry = {};
    std::snprintf(entry.name, sizeof entry.name, "%s", "Toast");
    entry.source = kSourceMyFoods;
    ASSERT_EQ(AppendEntry(entry), 1);
    std::string older(64, 'x');
    cuts += ExpectAllOrNothing("Save", document, older, [&] { SaveLogDocument(1, document.c_str()); });
    cuts += ExpectAllOrNothing("Save As", document, kMissing, [&] { SaveLogDocument(1, document.c_str()); });
    const std::string csv = TempPath("cut-log.csv");
    ASSERT_EQ(SaveLogDocument(1, document.c_str()), 1);
    std::string message;
    cuts += ExpectAllOrNothing("platelog-csv", csv, "old,csv\r\n", [&] {
        ExportLogCsv(document.c_str(), csv.c_str(), kAmountsView, ColumnChoice::kColumnSet, &message);
    });
    cuts += ExpectAllOrNothing("platelog-csv --summary", csv, "old,csv\r\n", [&] {
        ExportSummaryCsv({document, document}, csv.c_str(), kPercentView, ColumnChoice::kColumnSet, &message);
    });
    std::remove(document.c_str());
    ClearLog();
    std::printf("%d cut points, each leaving the old file or the new one\n", cuts);
}

#ifndef _WIN32
// A real kill, not a seam: a child process edits a large My Foods file over and over, moving a food
// to the end each time, and is killed with SIGKILL at spread-out moments.
TEST(WriteCuts, AKilledEditLeavesTheOldListOrTheNewOne) {
    const std::string path = TempPath("killed-mtmyfood");
    const std::string start = Foods(3000);
    std::mt19937 random(2026);
    int killedMidChange = 0;
    const int kills = 40;
    for (int round = 0; round < kills; ++round) {
        Reset(path, start);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                HeldFile file;
                if (file.Open(path.c_str()) != ReadResult::kOk) _exit(1);
                std::string data(file.Contents());
                size_t first = data.find('\n') + 1;
                std::string next = data.substr(first) + data.substr(0, first);
                file.Rewrite(next.data(), next.size());
            }
        }
        usleep(static_cast<useconds_t>(2000 + random() % 30000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        bool journalLeft = Contents(JournalPathOf(path.c_str())) != kMissing;
        FileImage image;
        ASSERT_EQ(ReadWholeFile(path.c_str(), &image), ReadResult::kOk);
        std::string now(image.Data(), image.Size());
        // Each edit moves the first food to the end: a whole list is a rotation of the start.
        size_t first = start.find(now.substr(0, now.find('\n') + 1));
        ASSERT_NE(first, std::string::npos) << "round " << round;
        EXPECT_EQ(now, start.substr(first) + start.substr(0, first)) << "round " << round;
        if (journalLeft) ++killedMidChange;
    }
    std::printf("%d kills, %d of them in the middle of a change; every list whole\n", kills, killedMidChange);
    Reset(path, kMissing);
}
#endif

}  // namespace
