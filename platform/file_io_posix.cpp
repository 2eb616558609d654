// POSIX half of the file seam, used by the native tests.
#include "platform/file_io.h"

#include "platform/file_seam.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/text.h"

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

std::string FolderOf(const char* path) {
    std::string_view name = FileNameOf(path);
    std::string folder(path, static_cast<size_t>(name.data() - path));
    return folder.empty() ? "./" : folder;
}

// The gates of this process: a lock of a folder belongs to its open description, so a second one in
// the same process would wait for the first, where the Win32 mutex lets its owner in again. So each
// folder has one description, opened as often as gates of it are, and locked as long as one is passed.
struct FolderGate {
    std::string folder;
    int fd;
    int opens;
    int passes;
};
std::vector<FolderGate> g_gates;

FolderGate* GateOf(intptr_t gate) {
    for (FolderGate& each : g_gates) {
        if (each.fd == gate) return &each;
    }
    return nullptr;
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

// The gate is a lock of the file's folder, which is there before the file and after it.
intptr_t SeamOpenGate(const char* path) {
    std::string folder = FolderOf(path);
    for (FolderGate& each : g_gates) {
        if (each.folder != folder) continue;
        ++each.opens;
        return each.fd;
    }
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    g_gates.push_back({folder, fd, 1, 0});
    return fd;
}

int SeamEnterGate(intptr_t gate, unsigned ms) {
    FolderGate* passed = GateOf(gate);
    if (!passed) return 0;
    if (passed->passes > 0) {
        ++passed->passes;
        return 1;
    }
    for (unsigned waited = 0;; ++waited) {
        if (flock(passed->fd, LOCK_EX | LOCK_NB) == 0) {
            passed->passes = 1;
            return 1;
        }
        if (errno != EWOULDBLOCK || waited >= ms) return 0;
        usleep(1000);
    }
}

void SeamCloseGate(intptr_t gate, bool entered) {
    FolderGate* passed = GateOf(gate);
    if (!passed) return;
    if (entered && --passed->passes == 0) flock(passed->fd, LOCK_UN);
    if (--passed->opens > 0) return;
    close(passed->fd);
    g_gates.erase(g_gates.begin() + (passed - g_gates.data()));
}

uint64_t SeamStamp(const char* path) {
    uint64_t stamp = 0;
    struct stat info;
    const std::string paths[] = {path, JournalPathOf(path)};
    for (const std::string& each : paths) {
        stamp = stamp * 31 + 7;
        if (stat(each.c_str(), &info) != 0) continue;
        stamp = stamp * 31 + static_cast<uint64_t>(info.st_size);
        stamp = stamp * 31 + static_cast<uint64_t>(info.st_mtim.tv_sec);
        stamp = stamp * 31 + static_cast<uint64_t>(info.st_mtim.tv_nsec);
    }
    return stamp;
}

int SeamVoidJournal(const std::string& journalPath) {
    Fd file;
    file.fd = open(journalPath.c_str(), O_WRONLY);
    const char zeroes[8] = {};
    return file.fd >= 0 && CutWrite(file.fd, zeroes, sizeof zeroes, false) && CutSync(file.fd);
}

// A rename, a removal or a creation lasts only once the folder's entries are on disk.
void SeamFlushFolder(const char* path) {
    Fd dir;
    dir.fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir.fd >= 0) CutSync(dir.fd);
}

// The replaced file keeps the permissions it had; the new file is private until then.
int SeamWriteNewFile(const std::string& newPath, const char* target, const char* data, size_t size) {
    Fd file;
    file.fd = open(newPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file.fd < 0) return 0;
    struct stat info;
    mode_t mode = stat(target, &info) == 0 && S_ISREG(info.st_mode) ? info.st_mode & 0777 : 0644;
    int ok = fchmod(file.fd, mode) == 0 && CutWrite(file.fd, data, size) && CutSync(file.fd);
    if (close(file.fd) != 0) ok = 0;
    file.fd = -1;
    return ok;
}

// The new file is in the target's folder: rename only replaces atomically within one file system.
int SeamReplace(const std::string& newPath, const char* target) {
    return CutRename(newPath, target) ? 1 : 0;
}

void SeamRemoveLeftovers(const char* path) {
    const std::string folder = FolderOf(path);
    const std::string prefix = std::string(FileNameOf(path)) + "-new";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> leftovers;
    while (struct dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
            leftovers.push_back(entry->d_name);
    }
    closedir(dir);
    for (const std::string& name : leftovers)
        CutUnlink(folder + name);
}

void SeamPause(unsigned ms) {
    usleep(ms * 1000);
}

unsigned long SeamProcessId() {
    return static_cast<unsigned long>(getpid());
}
