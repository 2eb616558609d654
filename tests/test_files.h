// Files the tests write and read back.
#pragma once

#include <string>

// A path in the tree's folder for temporary test files.
std::string TempPath(const std::string& name);
// Writes the bytes as the whole file (a failure fails the test).
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// The bytes of a file the test reads its data from: one that cannot be read fails the test.
std::string ReadNeededFile(const std::string& path);
