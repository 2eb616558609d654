// Win32 half of the file seam.
#include "platform/file_io.h"

#include <windows.h>

#include <cstring>

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

// Makes the file hold exactly these bytes, through the handle it is open with.
int WriteWhole(HANDLE file, const char* data, size_t size, bool mayFault) {
    LARGE_INTEGER zero = {};
    return SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) && WriteAll(file, data, size, mayFault) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
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
    return ReadOpenFile(file.get(), offset, maxSize, image);
}

// The last bytes are read through the same unshared handle, so the line end added before the line
// is decided on exactly the bytes the line follows.
int AppendLineToFile(const char* path, const char* line, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    UniqueFile file(OpenUnshared(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS));
    if (!file) return 0;
    int created = GetLastError() != ERROR_ALREADY_EXISTS;
    int ok = 0;
    LARGE_INTEGER zero = {};
    LARGE_INTEGER end = {};
    if (SetFilePointerEx(file.get(), zero, &end, FILE_END)) {
        char tail[2] = {};
        size_t tailSize = end.QuadPart < 2 ? static_cast<size_t>(end.QuadPart) : 2;
        FileImage last;
        if (tailSize > 0 &&
            ReadOpenFile(file.get(), static_cast<size_t>(end.QuadPart) - tailSize, tailSize, &last) == ReadResult::kOk) {
            tailSize = last.Size();
            if (tailSize > 0) std::memcpy(tail, last.Data(), tailSize);
        }
        std::string_view lineEnd = LineEndBeforeAppend(std::string_view(tail, tailSize));
        DWORD length = static_cast<DWORD>(lineEnd.size() + size);
        DWORD low = static_cast<DWORD>(end.QuadPart & 0xFFFFFFFF);
        DWORD high = static_cast<DWORD>(end.QuadPart >> 32);
        BOOL locked = SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && length > 0 &&
                      LockFile(file.get(), low, high, length, 0);
        if (length == 0 || locked) {
            ok = WriteAll(file.get(), lineEnd.data(), lineEnd.size()) && WriteAll(file.get(), line, size);
            if (!ok) {
                // Cut back to the old end so no partial line remains.
                SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
                SetEndOfFile(file.get());
            }
        }
        if (locked) UnlockFile(file.get(), low, high, length, 0);
    }
    if (!ok && created) {
        // A file this call created and could not fill would otherwise stay behind empty; it is
        // opened without sharing, so it can only be deleted once closed.
        file.reset();
        DeleteFileA(path);
    }
    return ok;
}

HeldFile::~HeldFile() {
    Close();
}

void HeldFile::Close() {
    if (handle_ == -1) return;
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    UnlockFile(file, 0, 0, MAXDWORD, MAXDWORD);
    CloseHandle(file);
    handle_ = -1;
}

ReadResult HeldFile::Open(const char* path) {
    Close();
    image_.Reset();
    HANDLE file = OpenUnshared(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return ReadResult::kCannotOpen;
    if (!LockFile(file, 0, 0, MAXDWORD, MAXDWORD)) {
        CloseHandle(file);
        return ReadResult::kCannotOpen;
    }
    handle_ = reinterpret_cast<intptr_t>(file);
    ReadResult result = ReadOpenFile(file, 0, static_cast<size_t>(-1), &image_);
    if (result != ReadResult::kOk) {
        Close();
        return result;
    }
    RunHeldFileReadHook();
    return result;
}

// A file can be neither renamed over nor replaced while it is open, and letting it go for the
// rename would let another copy append into the gap; so it is written in place, and a failed write
// puts the bytes that were read back.
int HeldFile::Rewrite(const char* data, size_t size) {
    if (handle_ == -1 || CurrentFileFault() == FileFault::kOpenFails) return 0;
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    if (WriteWhole(file, data, size, true)) return 1;
    WriteWhole(file, image_.Data(), image_.Size(), false);
    return 0;
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
