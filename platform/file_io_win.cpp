// Win32 half of the file seam.
#include "platform/file_io.h"

#include <windows.h>

#include <cstring>

#include "platform/handles_win.h"

namespace {

// Writes all bytes unless a short write was injected; 1 when every byte went out.
int WriteAll(HANDLE file, const char* data, size_t size) {
    size_t limit = size;
    if (CurrentFileFault() == FileFault::kShortWrite && size > 0) limit = size - 1;
    size_t done = 0;
    while (done < limit) {
        DWORD chunk = static_cast<DWORD>(limit - done > 0x40000000u ? 0x40000000u : limit - done);
        DWORD written = 0;
        if (!WriteFile(file, data + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
    return done == size;
}

// The folder part of a path, with its trailing separator ("." when the path has none); 0 when it does
// not fit, since a cut folder name would put the temporary file somewhere else.
int FolderOf(const char* path, char* folder, size_t folderSize) {
    const char* slash = nullptr;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') slash = p;
    }
    if (!slash) {
        lstrcpynA(folder, ".", static_cast<int>(folderSize));
        return 1;
    }
    size_t length = static_cast<size_t>(slash - path) + 1;
    if (length >= folderSize) return 0;
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    return 1;
}

}  // namespace

ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ReadResult::kCannotOpen;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart < 0) return ReadResult::kReadFailed;
    unsigned long long total = static_cast<unsigned long long>(fileSize.QuadPart);
    unsigned long long size = offset >= total ? 0 : total - offset;
    if (size > maxSize) size = maxSize;
    if (size > 0x7FFFFFF0ull) return ReadResult::kNoMemory;
    if (!image->Allocate(static_cast<size_t>(size))) return ReadResult::kNoMemory;
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(offset);
    if (size > 0 && !SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) {
        image->Reset();
        return ReadResult::kReadFailed;
    }
    size_t done = 0;
    while (done < image->Size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), image->Data() + done, static_cast<DWORD>(image->Size() - done), &got,
                      nullptr)) {
            image->Reset();
            return ReadResult::kReadFailed;
        }
        if (got == 0) break;
        done += got;
    }
    image->SetSize(done);
    return ReadResult::kOk;
}

int AppendToFile(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    UniqueFile file(
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    int created = GetLastError() != ERROR_ALREADY_EXISTS;
    int ok = 0;
    LARGE_INTEGER zero = {};
    LARGE_INTEGER end = {};
    if (SetFilePointerEx(file.get(), zero, &end, FILE_END)) {
        DWORD low = static_cast<DWORD>(end.QuadPart & 0xFFFFFFFF);
        DWORD high = static_cast<DWORD>(end.QuadPart >> 32);
        BOOL locked = size > 0 && LockFile(file.get(), low, high, static_cast<DWORD>(size), 0);
        if (size == 0 || locked) {
            ok = WriteAll(file.get(), data, size);
            if (!ok) {
                // Cut back to the old end so no partial line remains.
                SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
                SetEndOfFile(file.get());
            }
        }
        if (locked) UnlockFile(file.get(), low, high, static_cast<DWORD>(size), 0);
    }
    if (!ok && created) {
        // A file this call created and could not fill would otherwise stay behind empty; it is
        // opened without sharing, so it can only be deleted once closed.
        file.reset();
        DeleteFileA(path);
    }
    return ok;
}

int ReplaceFileContents(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    char folder[MAX_PATH];
    if (!FolderOf(path, folder, sizeof folder)) return 0;
    // GetTempFileNameA creates the (empty) file itself, so from here on every failure deletes it.
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder, "mtl", 0, temp)) return 0;
    int ok = 0;
    {
        UniqueFile file(
            CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) ok = WriteAll(file.get(), data, size) && FlushFileBuffers(file.get());
    }
    if (ok) ok = MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileA(temp);
    return ok;
}
