// The file seam shared by every subsystem: whole-file read, locked append, atomic replace.
// One implementation for Win32 (CreateFileA, LockFile, MoveFileExA) and one for POSIX (native tests).
#pragma once

#include <cstddef>

// A file's bytes followed by two zero bytes, so that scanners which stop at NUL stop at the end.
class FileImage {
public:
    FileImage() = default;
    ~FileImage();
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;
    FileImage(FileImage&& other) noexcept;
    FileImage& operator=(FileImage&& other) noexcept;

    // Allocates size + 2 zeroed bytes; 0 when the memory cannot be had.
    int Allocate(size_t size);
    void Reset();
    char* Data() { return data_; }
    const char* Data() const { return data_; }
    size_t Size() const { return size_; }
    void SetSize(size_t size) { size_ = size; }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
};

enum class ReadResult { kOk, kCannotOpen, kNoMemory, kReadFailed };

// Opens an existing file sharing read access and reads it whole.
ReadResult ReadWholeFile(const char* path, FileImage* image);

// Reads at most `maxSize` bytes from `offset` on (fewer at the end of the file), sharing read access.
ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image);

// Reads enough of a text file for the line at `offset`: the line with the byte before it (which tells
// whether the offset is a line start), or the whole file when the line is unusually long.
// `*lineOffset` is where the line starts in `image`.
ReadResult ReadLineOfFile(const char* path, size_t offset, FileImage* image, size_t* lineOffset);

// Opens or creates the file without sharing, locks the range past its end, appends the bytes.
// A short write is undone (the file is cut back to its old length), so the file is never left half-written.
int AppendToFile(const char* path, const char* data, size_t size);

// Writes the bytes to a temporary file in the same folder and then moves it over the target, so a
// failed or short write leaves the previous contents byte for byte as they were.
int ReplaceFileContents(const char* path, const char* data, size_t size);

// Test seam: makes the next write operations fail the chosen way until cleared with kNone.
enum class FileFault { kNone, kOpenFails, kShortWrite };
void InjectFileFault(FileFault fault);
FileFault CurrentFileFault();
