// Win32 half of the file seam.
#include "platform/file_io.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/file_seam.h"
#include "platform/handles_win.h"

namespace {

constexpr DWORD kRetryMs = 20;

// Writes all bytes, unless a short write was injected and `mayFault` lets it act; 1 when every byte
// went out.
int WriteAll(HANDLE file, const char* data, size_t size, bool mayFault = true) {
    size_t limit = size;
    if (mayFault && CurrentFileFault() == FileFault::kShortWrite && size > 0) limit = size - 1;
    size_t done = 0;
    while (done < limit) {
        DWORD chunk = static_cast<DWORD>(limit - done > 0x40000000u ? 0x40000000u : limit - done);
        DWORD written = 0;
        if (!WriteFile(file, data + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
    return done == size;
}

// Opens without sharing. Another copy holds such a file only for the few milliseconds of its own
// change, so a sharing violation is tried again for a moment before it counts. The last error is
// CreateFileA's.
HANDLE OpenUnshared(const char* path, DWORD access, DWORD disposition) {
    for (DWORD waited = 0;; waited += kRetryMs) {
        HANDLE file = CreateFileA(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) || waited >= kHeldFileWaitMs) {
            SetLastError(error);
            return INVALID_HANDLE_VALUE;
        }
        Sleep(kRetryMs);
    }
}

// Reads at most `maxSize` bytes from `offset` of an open file into `image`.
ReadResult ReadOpenFile(HANDLE file, size_t offset, size_t maxSize, FileImage* image) {
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize) || fileSize.QuadPart < 0) return ReadResult::kReadFailed;
    unsigned long long total = static_cast<unsigned long long>(fileSize.QuadPart);
    unsigned long long size = offset >= total ? 0 : total - offset;
    if (size > maxSize) size = maxSize;
    if (size > 0x7FFFFFF0ull) return ReadResult::kNoMemory;
    if (!image->Allocate(static_cast<size_t>(size))) return ReadResult::kNoMemory;
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(offset);
    if (size > 0 && !SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        image->Reset();
        return ReadResult::kReadFailed;
    }
    size_t done = 0;
    while (done < image->Size()) {
        DWORD got = 0;
        if (!ReadFile(file, image->Data() + done, static_cast<DWORD>(image->Size() - done), &got, nullptr)) {
            image->Reset();
            return ReadResult::kReadFailed;
        }
        if (got == 0) break;
        done += got;
    }
    image->SetSize(done);
    return ReadResult::kOk;
}

// The write-side calls, each through the cut seam of the tests: what a power cut would let through.
bool CutWrite(HANDLE file, const char* data, size_t size, bool mayFault = true) {
    switch (NextWriteStep()) {
        case WriteStep::kGo:
            return WriteAll(file, data, size, mayFault) != 0;
        case WriteStep::kPartial:
            WriteAll(file, data, size / 2, false);
            return true;
        case WriteStep::kLost:
            return true;
    }
    return false;
}
bool CutFlush(HANDLE file) {
    return NextWriteStep() != WriteStep::kGo || FlushFileBuffers(file);
}
bool CutSetSize(HANDLE file, uint64_t size) {
    if (NextWriteStep() != WriteStep::kGo) return true;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}
bool CutDelete(const std::string& path) {
    return NextWriteStep() != WriteStep::kGo || DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}
bool CutMove(const std::string& from, const char* to) {
    return NextWriteStep() != WriteStep::kGo ||
           MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool Seek(HANDLE file, uint64_t offset) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

// Makes the file hold `data` from `from` on, and nothing after it, flushed.
bool WriteTail(HANDLE file, uint64_t from, const char* data, size_t size, bool mayFault) {
    // An injected short write fails a change that only cuts the file short, too.
    if (mayFault && size == 0 && CurrentFileFault() == FileFault::kShortWrite) return false;
    return Seek(file, from) && CutWrite(file, data, size, mayFault) && CutSetSize(file, from + size) &&
           CutFlush(file);
}

// The journal of a change about to be made, flushed before the change begins.
bool WriteJournal(const char* path, const FileJournal& journal) {
    std::string header = EncodeFileJournalHeader(journal);
    std::string trailer = EncodeFileJournalTrailer(journal, header);
    UniqueFile file(CreateFileA(JournalPathOf(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && CutWrite(file.get(), header.data(), header.size(), false) &&
           CutWrite(file.get(), journal.saved.data(), journal.saved.size(), false) &&
           CutWrite(file.get(), trailer.data(), trailer.size(), false) && CutFlush(file.get());
}

}  // namespace

ReadResult SeamRead(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ReadResult::kCannotOpen;
    return ReadOpenFile(file.get(), offset, maxSize, image);
}

// A new file beside the target, then a rename over it. The new file's fixed name means one that a cut
// left behind is written over by the next replace.
int ReplaceFileContents(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    RestoreInterruptedChange(path);
    std::string temp = NewFilePathOf(path);
    int ok = 0;
    {
        UniqueFile file(
            CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return 0;
        ok = CutWrite(file.get(), data, size) && CutFlush(file.get());
    }
    if (ok) ok = CutMove(temp, path);
    if (!ok) CutDelete(temp);
    return ok;
}

int SeamWriteTail(intptr_t handle, uint64_t from, const char* data, size_t size, bool mayFault) {
    return WriteTail(reinterpret_cast<HANDLE>(handle), from, data, size, mayFault) ? 1 : 0;
}

int SeamWriteJournal(const char* path, const FileJournal& journal) {
    return WriteJournal(path, journal) ? 1 : 0;
}

int SeamRemove(const std::string& path) {
    return CutDelete(path) ? 1 : 0;
}

intptr_t SeamHold(const char* path, bool* busy) {
    HANDLE file = OpenUnshared(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    *busy = file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND;
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
}

intptr_t SeamCreate(const char* path) {
    HANDLE file = OpenUnshared(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
}

void SeamRelease(intptr_t handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

int64_t SeamSize(intptr_t handle) {
    LARGE_INTEGER size;
    return GetFileSizeEx(reinterpret_cast<HANDLE>(handle), &size) ? size.QuadPart : -1;
}

ReadResult SeamReadHeld(intptr_t handle, size_t offset, size_t maxSize, FileImage* image) {
    return ReadOpenFile(reinterpret_cast<HANDLE>(handle), offset, maxSize, image);
}

bool SeamExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
