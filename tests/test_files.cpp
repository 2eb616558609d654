#include "tests/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/file_io.h"

// Test programs run side by side share the folder; each process keeps its files in a folder of its own,
// so that one test's clean-up never takes away another's files. Under Wine each prefix has a server of
// its own, which numbers its processes alike: the number is told apart by the moment it started.
std::string TempPath(const std::string& name) {
#ifdef _WIN32
    static const std::string folder = [] {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return std::string(PLATELOG_TEMP_DIR) + "/" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(static_cast<unsigned long long>(now.QuadPart));
    }();
    static const bool made = CreateDirectoryA(folder.c_str(), nullptr) || true;
#else
    static const std::string folder = std::string(PLATELOG_TEMP_DIR) + "/" + std::to_string(getpid());
    static const bool made = mkdir(folder.c_str(), 0755) == 0 || true;
#endif
    (void)made;
    return folder + "/" + name;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        ADD_FAILURE() << "cannot write " << path;
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        ADD_FAILURE() << "short write " << path;
    std::fclose(file);
}

std::string ReadFileBytes(const std::string& path) {
    FileImage image;
    if (ReadWholeFile(path.c_str(), &image) != ReadResult::kOk) return "<missing>";
    return std::string(image.Data(), image.Size());
}

std::string ReadNeededFile(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    EXPECT_NE(bytes, "<missing>") << path;
    return bytes;
}
