// The file seam: whole reads, appends and replacements that never leave a file half-written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/file_io.h"
#include "platform/text.h"
#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

struct FaultGuard {
    ~FaultGuard() { InjectFileFault(FileFault::kNone); }
};

// The file name of a path, as the caption and the Summary of Days show it.
TEST(FileNameOf, FollowsTheLastSeparatorOfEitherKindOrADrive) {
    for (const char* path :
         {"C:\\logs\\2026-12-09.mtf", "Z:/logs/2026-12-09.mtf", "C:2026-12-09.mtf", "2026-12-09.mtf"})
        EXPECT_EQ(FileNameOf(path), "2026-12-09.mtf") << path;
}

TEST(ReadWholeFile, ReadsTheBytesAndTwoZeroesBehindThem) {
    std::string path = TempPath("read.bin");
    std::string bytes("a\0b^c\r\n", 7);
    WriteFileBytes(path, bytes);
    FileImage image;
    ASSERT_EQ(ReadWholeFile(path.c_str(), &image), ReadResult::kOk);
    ASSERT_EQ(image.Size(), 7u);
    EXPECT_EQ(std::string(image.Data(), 7), bytes);
    EXPECT_EQ(image.Data()[7], '\0');
    EXPECT_EQ(image.Data()[8], '\0');

    WriteFileBytes(path, "");
    ASSERT_EQ(ReadWholeFile(path.c_str(), &image), ReadResult::kOk);
    EXPECT_EQ(image.Size(), 0u);
    EXPECT_EQ(image.Data()[0], '\0');

    EXPECT_EQ(ReadWholeFile(TempPath("does-not-exist").c_str(), &image), ReadResult::kCannotOpen);
    std::remove(path.c_str());
}

TEST(AppendLineToFile, CreatesAndAppendsAndNeverJoinsALastLineLeftOpen) {
    // Before (nullptr: no file yet) and after appending "new\r\n".
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, "new\r\n"},          {"", "new\r\n"},
        {"one\r\n", "one\r\nnew\r\n"}, {"one", "one\r\nnew\r\n"},
        {"one\r", "one\r\nnew\r\n"},   {"one\n", "one\nnew\r\n"},
    };
    std::string path = TempPath("append.txt");
    for (const auto& [before, after] : cases) {
        std::remove(path.c_str());
        if (before) WriteFileBytes(path, before);
        ASSERT_EQ(AppendLineToFile(path.c_str(), "new\r\n", 5), 1);
        EXPECT_EQ(ReadFileBytes(path), after) << (before ? before : "(none)");
    }
    std::remove(path.c_str());
}

// A second holder acts as another running copy would: its hold and its append fail while the first
// lasts, and a failed rewrite leaves the bytes that were read.
TEST(HeldFile, KeepsOtherCopiesOutFromTheReadToTheRewrite) {
    FaultGuard guard;
    std::string path = TempPath("held.txt");
    WriteFileBytes(path, "one\r\ntwo\r\n");
    for (FileFault fault : {FileFault::kShortWrite, FileFault::kOpenFails, FileFault::kNone}) {
        {
            HeldFile file, second;
            ASSERT_EQ(file.Open(path.c_str()), ReadResult::kOk);
            EXPECT_EQ(file.Contents(), "one\r\ntwo\r\n");
            EXPECT_EQ(second.Open(path.c_str()), ReadResult::kCannotOpen);
            // The journal of the holder's change in progress is not the refused append's to remove.
            if (fault == FileFault::kNone) WriteFileBytes(path + "-journal", "the holder's");
            EXPECT_EQ(AppendLineToFile(path.c_str(), "three\r\n", 7), 0);
            if (fault == FileFault::kNone) {
                EXPECT_EQ(ReadFileBytes(path + "-journal"), "the holder's");
            }
            std::remove((path + "-journal").c_str());
            InjectFileFault(fault);
            EXPECT_EQ(file.Rewrite("a longer replacement\r\n", 22), fault == FileFault::kNone ? 1 : 0);
            InjectFileFault(FileFault::kNone);
        }
        if (fault != FileFault::kNone) {
            EXPECT_EQ(ReadFileBytes(path), "one\r\ntwo\r\n");
        }
    }
    EXPECT_EQ(ReadFileBytes(path), "a longer replacement\r\n");
    std::remove(path.c_str());
}

// An indexer or a scanner that keeps a journal open makes its removal fail after the change was made;
// the change stays, and the next reader neither undoes it nor says it put anything back.
TEST(FileSeam, AJournalThatOutlivesItsChangeNeverUndoesIt) {
    FaultGuard guard;
    const std::string path = TempPath("outlived.txt");
    for (FileFault fault : {FileFault::kJournalStays, FileFault::kJournalLocked}) {
        for (int append : {1, 0}) {
            SCOPED_TRACE(std::string(append ? "append" : "rewrite") +
                         (fault == FileFault::kJournalStays ? ", stays" : ", locked"));
            WriteFileBytes(path, "one\r\ntwo\r\n");
            InjectFileFault(fault);
            if (append) {
                EXPECT_EQ(AppendLineToFile(path.c_str(), "three\r\n", 7), 1);
            } else {
                HeldFile file;
                ASSERT_EQ(file.Open(path.c_str()), ReadResult::kOk);
                EXPECT_EQ(file.Rewrite("two\r\n", 5), 1);
            }
            InjectFileFault(FileFault::kNone);
            EXPECT_NE(ReadFileBytes(path + "-journal"), "<missing>");
            const int restored = RestoredFileCount();
            FileImage image;
            ASSERT_EQ(ReadWholeFile(path.c_str(), &image), ReadResult::kOk);
            EXPECT_EQ(std::string(image.Data(), image.Size()),
                      append ? "one\r\ntwo\r\nthree\r\n" : "two\r\n");
            EXPECT_EQ(RestoredFileCount(), restored);
            EXPECT_EQ(ReadFileBytes(path + "-journal"), "<missing>");
        }
    }
    std::remove(path.c_str());
}

// A journal left whole says what to do with the file as it is found: a change that was made or never
// began is left alone, anything else (a torn write, a file cut short) is put back.
TEST(JudgeJournal, PutsBackOnlyAChangeCutOffInTheMiddle) {
    FileJournal journal;
    journal.originalSize = 10;
    journal.offset = 4;
    journal.saved = "abcdef";
    DescribeChange(&journal, "XYZ");
    FileJournal made;
    made.existed = false;
    DescribeChange(&made, "new\r\n");
    const struct {
        const FileJournal* journal;
        int64_t size;
        const char* tail;
        JournalVerdict verdict;
    } cases[] = {
        {&journal, 7, "XYZ", JournalVerdict::kChangeMade},
        {&journal, 10, "abcdef", JournalVerdict::kChangeNotBegun},
        {&journal, 10, "XYZdef", JournalVerdict::kPutBack},
        {&journal, 7, "XYQ", JournalVerdict::kPutBack},
        {&journal, 4, "", JournalVerdict::kPutBack},
        {&made, -1, "", JournalVerdict::kChangeNotBegun},
        {&made, 5, "new\r\n", JournalVerdict::kChangeMade},
        {&made, 0, "", JournalVerdict::kPutBack},
        {&made, 3, "new", JournalVerdict::kPutBack},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JudgeJournal(*c.journal, c.size, c.tail), c.verdict) << c.size << " " << c.tail;
}

// A folder of its own for one case, emptied of whatever an earlier run left there.
std::string FreshFolder(const std::string& name) {
    std::string folder = TempPath(name);
    std::error_code error;
    fs::remove_all(folder, error);
    EXPECT_TRUE(fs::create_directories(folder, error)) << folder << ": " << error.message();
    return folder;
}

// The names a folder holds, sorted; sub-folders end in '/'.
std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (it->is_directory()) name += "/";
        names.push_back(name);
    }
    EXPECT_FALSE(error) << folder << ": " << error.message();
    std::sort(names.begin(), names.end());
    return names;
}

enum class Target { kFile, kAbsent, kFolder, kInMissingFolder };

TEST(FileSeam, FailedWritesLeaveTheFolderAsItWas) {
    FaultGuard guard;
    struct Case {
        const char* name;
        int append;
        FileFault fault;
        Target target;
    };
    const Case cases[] = {
        {"replace-short-write", 0, FileFault::kShortWrite, Target::kFile},
        {"replace-short-write-new", 0, FileFault::kShortWrite, Target::kAbsent},
        {"replace-open-fails", 0, FileFault::kOpenFails, Target::kFile},
        {"replace-over-folder", 0, FileFault::kNone, Target::kFolder},
        {"replace-missing-folder", 0, FileFault::kNone, Target::kInMissingFolder},
        {"append-short-write", 1, FileFault::kShortWrite, Target::kFile},
        {"append-short-write-new", 1, FileFault::kShortWrite, Target::kAbsent},
        {"append-open-fails-new", 1, FileFault::kOpenFails, Target::kAbsent},
        {"append-to-folder", 1, FileFault::kNone, Target::kFolder},
        {"append-missing-folder", 1, FileFault::kNone, Target::kInMissingFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = FreshFolder(std::string("seam-") + c.name);
        WriteFileBytes(folder + "/other.txt", "neighbour\r\n");
        std::string target = folder + "/log.mtl";
        if (c.target == Target::kFile) WriteFileBytes(target, "old contents\r\n");
        if (c.target == Target::kFolder) {
            fs::create_directory(target);
            WriteFileBytes(target + "/inside.txt", "inside");
        }
        if (c.target == Target::kInMissingFolder) target = folder + "/missing/log.mtl";
        std::vector<std::string> before = FolderEntries(folder);

        InjectFileFault(c.fault);
        const char bytes[] = "new contents\r\n";
        int ok = c.append ? AppendLineToFile(target.c_str(), bytes, sizeof bytes - 1)
                          : ReplaceFileContents(target.c_str(), bytes, sizeof bytes - 1);
        InjectFileFault(FileFault::kNone);

        EXPECT_EQ(ok, 0);
        EXPECT_EQ(FolderEntries(folder), before);
        EXPECT_EQ(ReadFileBytes(folder + "/other.txt"), "neighbour\r\n");
        if (c.target == Target::kFile) {
            EXPECT_EQ(ReadFileBytes(target), "old contents\r\n");
        }
        if (c.target == Target::kFolder) {
            EXPECT_EQ(FolderEntries(target), std::vector<std::string>{"inside.txt"});
            EXPECT_EQ(ReadFileBytes(target + "/inside.txt"), "inside");
        }
    }
}

// A cut-off replace's new file goes with the next replace; a person's own files beside it stay, and so
// does a new file that is the only copy left of a target gone.
TEST(ReplaceFileContents, LeavesJustTheTargetWithTheNewBytes) {
    struct Case {
        const char* name;
        const char* before;  // nullptr: no target yet
        std::string after;
        std::vector<std::string> beside;   // files there before the replace
        std::vector<std::string> entries;  // the folder after it
    };
    const std::vector<std::string> justTheLog = {"log.mtl"};
    const Case cases[] = {
        {"replace-longer", "old", std::string("new contents\0\r\n", 15), {}, justTheLog},
        {"replace-shorter", "old contents", "new", {}, justTheLog},
        {"replace-with-nothing", "old contents", "", {}, justTheLog},
        {"replace-creates", nullptr, "fresh", {}, justTheLog},
        {"replace-after-a-cut", "old", "new", {"log.mtl-new-4242"}, justTheLog},
        {"replace-beside-own-files", "old", "new", {"log.mtl-newer", "log.mtl-new-copy", "log.mtl-new-"},
         {"log.mtl", "log.mtl-new-", "log.mtl-new-copy", "log.mtl-newer"}},
        {"replace-of-a-target-gone", nullptr, "new", {"log.mtl-new-4242"}, {"log.mtl", "log.mtl-new-4242"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = FreshFolder(std::string("seam-") + c.name);
        std::string target = folder + "/log.mtl";
        if (c.before) WriteFileBytes(target, c.before);
        for (const std::string& name : c.beside) WriteFileBytes(folder + "/" + name, "theirs");
        ASSERT_EQ(ReplaceFileContents(target.c_str(), c.after.data(), c.after.size()), 1);
        EXPECT_EQ(FolderEntries(folder), c.entries);
        EXPECT_EQ(ReadFileBytes(target), c.after);
    }
}

#ifdef _WIN32
// What Explorer shows of a saved log, and what the indexer is told, stays as the person set it.
TEST(ReplaceFileContents, KeepsTheTargetsAttributes) {
    std::string folder = FreshFolder("seam-attributes");
    std::string target = folder + "/log.mtl";
    WriteFileBytes(target, "old");
    ASSERT_TRUE(SetFileAttributesA(
        target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    // Wine keeps fewer attributes than Windows; what the system kept must stay.
    const DWORD set = GetFileAttributesA(target.c_str());
    ASSERT_TRUE(set & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(ReplaceFileContents(target.c_str(), "new", 3), 1);
    EXPECT_EQ(GetFileAttributesA(target.c_str()), set);
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"log.mtl"});
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}
#else
// The temporary file is made private to its owner; the replaced file must not inherit that.
TEST(ReplaceFileContents, KeepsTheTargetsPermissions) {
    std::string folder = FreshFolder("seam-permissions");
    std::string target = folder + "/log.mtl";
    WriteFileBytes(target, "old");
    const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, shared);
    ASSERT_EQ(ReplaceFileContents(target.c_str(), "new", 3), 1);
    EXPECT_EQ(fs::status(target).permissions(), shared);
}
#endif

}  // namespace
