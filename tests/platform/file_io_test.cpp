// The file seam: whole reads, appends and replacements that never leave a file half-written.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/file_io.h"
#include "tests/test_files.h"

namespace {

void WriteRaw(const std::string& path, const std::string& bytes) {
    WriteFileBytes(path, bytes);
}
std::string ReadRaw(const std::string& path) {
    return ReadFileBytes(path);
}

struct FaultGuard {
    ~FaultGuard() { InjectFileFault(FileFault::kNone); }
};

TEST(ReadWholeFile, ReadsTheBytesAndTwoZeroesBehindThem) {
    std::string path = TempPath("read.bin");
    std::string bytes("a\0b^c\r\n", 7);
    WriteRaw(path, bytes);
    FileImage image;
    ASSERT_EQ(ReadWholeFile(path.c_str(), &image), ReadResult::kOk);
    ASSERT_EQ(image.Size(), 7u);
    EXPECT_EQ(std::string(image.Data(), 7), bytes);
    EXPECT_EQ(image.Data()[7], '\0');
    EXPECT_EQ(image.Data()[8], '\0');

    WriteRaw(path, "");
    ASSERT_EQ(ReadWholeFile(path.c_str(), &image), ReadResult::kOk);
    EXPECT_EQ(image.Size(), 0u);
    EXPECT_EQ(image.Data()[0], '\0');

    EXPECT_EQ(ReadWholeFile(TempPath("does-not-exist").c_str(), &image), ReadResult::kCannotOpen);
    std::remove(path.c_str());
}

TEST(AppendToFile, CreatesAndAppends) {
    std::string path = TempPath("append.txt");
    std::remove(path.c_str());
    ASSERT_EQ(AppendToFile(path.c_str(), "one\r\n", 5), 1);
    ASSERT_EQ(AppendToFile(path.c_str(), "two\r\n", 5), 1);
    EXPECT_EQ(ReadRaw(path), "one\r\ntwo\r\n");
    std::remove(path.c_str());
}

TEST(AppendToFile, FailedWritesLeaveTheFileIntact) {
    FaultGuard guard;
    std::string path = TempPath("append-fault.txt");
    WriteRaw(path, "kept\r\n");
    InjectFileFault(FileFault::kShortWrite);
    EXPECT_EQ(AppendToFile(path.c_str(), "partial line\r\n", 14), 0);
    EXPECT_EQ(ReadRaw(path), "kept\r\n");
    InjectFileFault(FileFault::kOpenFails);
    EXPECT_EQ(AppendToFile(path.c_str(), "x\r\n", 3), 0);
    EXPECT_EQ(ReadRaw(path), "kept\r\n");
    InjectFileFault(FileFault::kNone);
    EXPECT_EQ(AppendToFile(path.c_str(), "x\r\n", 3), 1);
    EXPECT_EQ(ReadRaw(path), "kept\r\nx\r\n");
    std::remove(path.c_str());
}

TEST(ReplaceFileContents, ReplacesWholeOrNotAtAll) {
    FaultGuard guard;
    std::string path = TempPath("replace.txt");
    WriteRaw(path, "old contents");
    ASSERT_EQ(ReplaceFileContents(path.c_str(), "new", 3), 1);
    EXPECT_EQ(ReadRaw(path), "new");
    ASSERT_EQ(ReplaceFileContents(path.c_str(), "", 0), 1);
    EXPECT_EQ(ReadRaw(path), "");

    WriteRaw(path, "old contents");
    InjectFileFault(FileFault::kShortWrite);
    EXPECT_EQ(ReplaceFileContents(path.c_str(), "new contents", 12), 0);
    EXPECT_EQ(ReadRaw(path), "old contents");
    InjectFileFault(FileFault::kOpenFails);
    EXPECT_EQ(ReplaceFileContents(path.c_str(), "new contents", 12), 0);
    EXPECT_EQ(ReadRaw(path), "old contents");
    std::remove(path.c_str());

    // A target that does not exist yet is created.
    InjectFileFault(FileFault::kNone);
    ASSERT_EQ(ReplaceFileContents(path.c_str(), "fresh", 5), 1);
    EXPECT_EQ(ReadRaw(path), "fresh");
    std::remove(path.c_str());
}

TEST(ReplaceFileContents, FailsIntoAMissingFolder) {
    std::string path = TempPath("no-such-folder/file.txt");
    EXPECT_EQ(ReplaceFileContents(path.c_str(), "x", 1), 0);
    EXPECT_EQ(AppendToFile(path.c_str(), "x", 1), 0);
}

}  // namespace
