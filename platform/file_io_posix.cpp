// POSIX half of the file seam, used by the native tests.
#include "platform/file_io.h"

#include "platform/file_seam.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) close(fd);
    }
};

constexpr unsigned kRetryMs = 20;

// Writes all bytes, unless a short write was injected and `mayFault` lets it act; returns the number
// written.
size_t WriteAll(int fd, const char* data, size_t size, bool mayFault = true) {
    size_t limit = size;
    if (mayFault && CurrentFileFault() == FileFault::kShortWrite && size > 0) limit = size - 1;
    size_t done = 0;
    while (done < limit) {
        ssize_t n = write(fd, data + done, limit - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

// Locks the whole file, as the Win32 side's unshared open keeps other copies out. Locks of the open
// file description, so that a second descriptor in the same process is kept out too; a held lock is
// tried again for a moment.
int LockWhole(int fd) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    for (unsigned waited = 0;; waited += kRetryMs) {
        if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return 1;
        if ((errno != EAGAIN && errno != EACCES) || waited >= kHeldFileWaitMs) return 0;
        usleep(kRetryMs * 1000);
    }
}

// The write-side calls, each through the cut seam of the tests: what a power cut would let through.
bool CutWrite(int fd, const char* data, size_t size, bool mayFault = true) {
    switch (NextWriteStep()) {
        case WriteStep::kGo:
            return WriteAll(fd, data, size, mayFault) == size;
        case WriteStep::kPartial:
            WriteAll(fd, data, size / 2, false);
            return true;
        case WriteStep::kLost:
            return true;
    }
    return false;
}
bool CutSync(int fd) {
    return NextWriteStep() != WriteStep::kGo || fsync(fd) == 0;
}
bool CutTruncate(int fd, size_t size) {
    return NextWriteStep() != WriteStep::kGo || ftruncate(fd, static_cast<off_t>(size)) == 0;
}
bool CutUnlink(const std::string& path) {
    return NextWriteStep() != WriteStep::kGo || unlink(path.c_str()) == 0 || errno == ENOENT;
}
bool CutRename(const std::string& from, const char* to) {
    return NextWriteStep() != WriteStep::kGo || rename(from.c_str(), to) == 0;
}

// Makes the file hold `data` from `from` on, and nothing after it, flushed.
bool WriteTail(int fd, size_t from, const char* data, size_t size, bool mayFault) {
    // An injected short write fails a change that only cuts the file short, too.
    if (mayFault && size == 0 && CurrentFileFault() == FileFault::kShortWrite) return false;
    return lseek(fd, static_cast<off_t>(from), SEEK_SET) == static_cast<off_t>(from) &&
           CutWrite(fd, data, size, mayFault) && CutTruncate(fd, from + size) && CutSync(fd);
}

// The journal of a change about to be made, flushed before the change begins.
bool WriteJournal(const char* path, const FileJournal& journal) {
    std::string header = EncodeFileJournalHeader(journal);
    std::string trailer = EncodeFileJournalTrailer(journal, header);
    Fd file;
    file.fd = open(JournalPathOf(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return file.fd >= 0 && CutWrite(file.fd, header.data(), header.size(), false) &&
           CutWrite(file.fd, journal.saved.data(), journal.saved.size(), false) &&
           CutWrite(file.fd, trailer.data(), trailer.size(), false) && CutSync(file.fd);
}

ReadResult ReadOpenFile(int fd, size_t offset, size_t maxSize, FileImage* image) {
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::kCannotOpen;
    size_t fileSize = static_cast<size_t>(info.st_size);
    size_t size = offset >= fileSize ? 0 : fileSize - offset;
    if (size > maxSize) size = maxSize;
    if (!image->Allocate(size)) return ReadResult::kNoMemory;
    if (size > 0 && lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        image->Reset();
        return ReadResult::kReadFailed;
    }
    size_t done = 0;
    while (done < image->Size()) {
        ssize_t n = read(fd, image->Data() + done, image->Size() - done);
        if (n < 0) {
            image->Reset();
            return ReadResult::kReadFailed;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    image->SetSize(done);
    return ReadResult::kOk;
}

}  // namespace

ReadResult SeamRead(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    Fd file;
    file.fd = open(path, O_RDONLY);
    if (file.fd < 0) return ReadResult::kCannotOpen;
    return ReadOpenFile(file.fd, offset, maxSize, image);
}

int ReplaceFileContents(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    RestoreInterruptedChange(path);
    // The new file must be in the target's folder: rename only replaces atomically within one file
    // system. Its fixed name means one that a cut left behind is written over by the next replace.
    std::string temp = NewFilePathOf(path);
    const char* slash = std::strrchr(path, '/');
    std::string folder = slash ? std::string(path, static_cast<size_t>(slash - path) + 1) : "./";
    Fd file;
    file.fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file.fd < 0) return 0;
    // The replaced file keeps the permissions it had.
    struct stat info;
    mode_t mode = stat(path, &info) == 0 && S_ISREG(info.st_mode) ? info.st_mode & 0777 : 0644;
    int ok = fchmod(file.fd, mode) == 0 && CutWrite(file.fd, data, size) && CutSync(file.fd);
    if (close(file.fd) != 0) ok = 0;
    file.fd = -1;
    if (!ok || !CutRename(temp, path)) {
        CutUnlink(temp);
        return 0;
    }
    // The rename itself lasts only once the folder entry is on disk.
    Fd dir;
    dir.fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir.fd >= 0) CutSync(dir.fd);
    return 1;
}

int SeamWriteTail(intptr_t handle, uint64_t from, const char* data, size_t size, bool mayFault) {
    return WriteTail(static_cast<int>(handle), static_cast<size_t>(from), data, size, mayFault) ? 1 : 0;
}

int SeamWriteJournal(const char* path, const FileJournal& journal) {
    return WriteJournal(path, journal) ? 1 : 0;
}

int SeamRemove(const std::string& path) {
    return CutUnlink(path) ? 1 : 0;
}

intptr_t SeamHold(const char* path, bool* busy) {
    int fd = open(path, O_RDWR);
    *busy = fd >= 0 && !LockWhole(fd);
    if (*busy) close(fd);
    return fd >= 0 && !*busy ? fd : -1;
}

intptr_t SeamCreate(const char* path) {
    int fd = open(path, O_RDWR | O_CREAT | O_EXCL, 0644);
    if (fd < 0 || LockWhole(fd)) return fd;
    close(fd);
    unlink(path);
    return -1;
}

void SeamRelease(intptr_t handle) {
    close(static_cast<int>(handle));  // closing the description drops its lock
}

int64_t SeamSize(intptr_t handle) {
    struct stat info;
    return fstat(static_cast<int>(handle), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

ReadResult SeamReadHeld(intptr_t handle, size_t offset, size_t maxSize, FileImage* image) {
    return ReadOpenFile(static_cast<int>(handle), offset, maxSize, image);
}

bool SeamExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}
