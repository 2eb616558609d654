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

// The last bytes are read through the same unshared handle, so the line end added before the line
// is decided on exactly the bytes the line follows.
int AppendLineToFile(const char* path, const char* line, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    RestoreInterruptedChange(path);
    UniqueFile file(OpenUnshared(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    int created = 0;
    bool journaled = false;
    if (!file && GetLastError() == ERROR_FILE_NOT_FOUND) {
        // Even the file's creation is undone after a cut: the journal says it was not there.
        FileJournal journal;
        journal.existed = false;
        journaled = WriteJournal(path, journal);
        // Making the file is a write too; a machine cut off before it never made it.
        if (journaled && NextWriteStep() != WriteStep::kGo) return 1;
        if (journaled) file.reset(OpenUnshared(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW));
        created = file ? 1 : 0;
    }
    if (!file) {
        CutDelete(JournalPathOf(path));
        return 0;
    }
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
        FileJournal journal;
        journal.originalSize = journal.offset = static_cast<uint64_t>(end.QuadPart);
        if (!created && (length == 0 || locked)) journaled = WriteJournal(path, journal);
        if (journaled && (length == 0 || locked) && Seek(file.get(), journal.offset)) {
            ok = CutWrite(file.get(), lineEnd.data(), lineEnd.size()) && CutWrite(file.get(), line, size) &&
                 CutFlush(file.get());
            // Cut back to the old end so no partial line remains.
            if (!ok && !(CutSetSize(file.get(), journal.offset) && CutFlush(file.get()))) journaled = false;
        }
        if (locked) UnlockFile(file.get(), low, high, length, 0);
    }
    if (!ok && created) {
        // A file this call created and could not fill would otherwise stay behind empty; it is
        // opened without sharing, so it can only be deleted once closed.
        file.reset();
        CutDelete(path);
    }
    if (journaled) CutDelete(JournalPathOf(path));
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
    RestoreInterruptedChange(path);
    path_ = path;
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

void SeamRelease(intptr_t handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}
