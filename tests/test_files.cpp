#include "tests/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/file_io.h"

std::string TempPath(const std::string& name) {
    return std::string(PLATELOG_TEMP_DIR) + "/" + name;
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
