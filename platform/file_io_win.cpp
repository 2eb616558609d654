// Win32 half of the file seam.
#include "platform/file_io.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/file_seam.h"
#include "platform/handles_win.h"
#include "platform/text.h"

namespace {

constexpr DWORD kRetryMs = 20;

// Every copy of the program passes the gate before it opens a file, so a sharing violation there comes
// from a program that does not (or from this copy itself); it is tried again for a moment before it
// counts. The last error is CreateFileA's.
HANDLE OpenWaiting(const char* path, DWORD access, DWORD share, DWORD disposition) {
    for (DWORD waited = 0;; waited += kRetryMs) {
        HANDLE file = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
            waited >= kHeldFileWaitMs) {
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

bool Move(const std::string& from, const char* to) {
    return MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

HANDLE HandleOf(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
intptr_t Handle(HANDLE file) {
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
}

}  // namespace

ReadResult SeamRead(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    UniqueFile file(OpenWaiting(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file) return ReadResult::kCannotOpen;
    return ReadOpenFile(file.get(), offset, maxSize, image);
}

intptr_t SeamHold(const char* path, bool* busy) {
    HANDLE file = OpenWaiting(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    *busy = file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND;
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
}

intptr_t SeamCreate(const char* path) {
    HANDLE file = OpenWaiting(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
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

// The gate is a mutex named after the file's full path, upper and lower case alike: a waiting copy is
// queued by the system, and one that ended without letting go (a crash) leaves it abandoned, which the
// next copy takes over.
intptr_t SeamOpenGate(const char* path) {
    char full[MAX_PATH * 2];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return -1;
    CharUpperBuffA(full, length);
    uint64_t hash = 0xCBF29CE484222325ull;
    for (DWORD i = 0; i < length; ++i)
        hash = (hash ^ static_cast<unsigned char>(full[i] == '/' ? '\\' : full[i])) * 0x100000001B3ull;
    char name[64];
    std::snprintf(name, sizeof name, "platelog-file-%016llx", static_cast<unsigned long long>(hash));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    return mutex ? reinterpret_cast<intptr_t>(mutex) : -1;
}

int SeamEnterGate(intptr_t gate, unsigned ms) {
    DWORD waited = WaitForSingleObject(reinterpret_cast<HANDLE>(gate), ms);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void SeamCloseGate(intptr_t gate, bool entered) {
    if (entered) ReleaseMutex(reinterpret_cast<HANDLE>(gate));
    CloseHandle(reinterpret_cast<HANDLE>(gate));
}

uint64_t SeamStamp(const char* path) {
    uint64_t stamp = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::string paths[] = {path, JournalPathOf(path)};
    for (const std::string& each : paths) {
        stamp = stamp * 31 + 7;
        if (!GetFileAttributesExA(each.c_str(), GetFileExInfoStandard, &data)) continue;
        stamp = stamp * 31 + data.nFileSizeLow;
        stamp = stamp * 31 + data.ftLastWriteTime.dwLowDateTime;
        stamp = stamp * 31 + data.ftLastWriteTime.dwHighDateTime;
    }
    return stamp;
}

size_t RawWrite(intptr_t handle, const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        DWORD chunk = static_cast<DWORD>(size - done > 0x40000000u ? 0x40000000u : size - done);
        DWORD written = 0;
        if (!WriteFile(HandleOf(handle), data + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
    return done;
}

bool RawSync(intptr_t handle) {
    return FlushFileBuffers(HandleOf(handle)) != 0;
}

bool RawSeek(intptr_t handle, uint64_t offset) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(HandleOf(handle), at, nullptr, FILE_BEGIN) != 0;
}

bool RawSetSize(intptr_t handle, uint64_t size) {
    return RawSeek(handle, size) && SetEndOfFile(HandleOf(handle));
}

bool RawClose(intptr_t handle) {
    return CloseHandle(HandleOf(handle)) != 0;
}

bool RawDelete(const std::string& path) {
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

intptr_t RawOpenJournal(const std::string& journalPath) {
    return Handle(CreateFileA(journalPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A scanner that keeps the journal open lets others write it when it lets them delete it.
intptr_t RawOpenToVoid(const std::string& journalPath) {
    return Handle(CreateFileA(journalPath.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

intptr_t RawOpenNewFile(const std::string& newPath, const char*) {
    return Handle(CreateFileA(newPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

// NTFS keeps a folder's entries with its own log; there is no folder to flush.
intptr_t RawOpenFolder(const char*) {
    return -1;
}

// ReplaceFileA keeps the target's attributes, security, creation time and streams. Where it could take
// the target away but not put the new file in its place, the move finishes the replace.
bool RawMoveInto(const std::string& from, const char* to) {
    const DWORD attributes = GetFileAttributesA(to);
    if (attributes == INVALID_FILE_ATTRIBUTES) return Move(from, to);
    // Some systems' replace takes a folder away with everything in it.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    if (!ReplaceFileA(to, from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) &&
        !(GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT && Move(from, to))) {
        return false;
    }
    // Not every system's replace keeps them; the attributes are what a person sees.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                       FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_READONLY;
    const DWORD now = GetFileAttributesA(to);
    if (now != INVALID_FILE_ATTRIBUTES && (now & kept) != (attributes & kept))
        SetFileAttributesA(to, (now & ~kept) | (attributes & kept));
    return true;
}

std::vector<std::string> RawLeftovers(const char* path) {
    std::vector<std::string> leftovers;
    const std::string pattern = std::string(path) + "-new*";
    const std::string folder(path, FileNameOf(path).data() - path);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return leftovers;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            leftovers.push_back(folder + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return leftovers;
}

void SeamPause(unsigned ms) {
    Sleep(ms);
}

unsigned long SeamProcessId() {
    return GetCurrentProcessId();
}
