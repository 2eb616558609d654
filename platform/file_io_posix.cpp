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

size_t RawWrite(intptr_t handle, const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(static_cast<int>(handle), data + done, size - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

bool RawSync(intptr_t handle) {
    return fsync(static_cast<int>(handle)) == 0;
}

bool RawSeek(intptr_t handle, uint64_t offset) {
    return lseek(static_cast<int>(handle), static_cast<off_t>(offset), SEEK_SET) ==
           static_cast<off_t>(offset);
}

bool RawSetSize(intptr_t handle, uint64_t size) {
    return ftruncate(static_cast<int>(handle), static_cast<off_t>(size)) == 0;
}

bool RawClose(intptr_t handle) {
    return close(static_cast<int>(handle)) == 0;
}

bool RawDelete(const std::string& path) {
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

intptr_t RawOpenJournal(const std::string& journalPath) {
    return open(journalPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
}

intptr_t RawOpenToVoid(const std::string& journalPath) {
    return open(journalPath.c_str(), O_WRONLY);
}

// The replaced file keeps the permissions it had; the new file is private until then.
intptr_t RawOpenNewFile(const std::string& newPath, const char* target) {
    int fd = open(newPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return -1;
    struct stat info;
    mode_t mode = stat(target, &info) == 0 && S_ISREG(info.st_mode) ? info.st_mode & 0777 : 0644;
    if (fchmod(fd, mode) == 0) return fd;
    close(fd);
    return -1;
}

// A rename, a removal or a creation lasts only once the folder's entries are on disk.
intptr_t RawOpenFolder(const char* path) {
    return open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
}

// The new file is in the target's folder: rename only replaces atomically within one file system.
bool RawMoveInto(const std::string& newPath, const char* target) {
    return rename(newPath.c_str(), target) == 0;
}

std::vector<std::string> RawLeftovers(const char* path) {
    std::vector<std::string> leftovers;
    const std::string folder = FolderOf(path);
    const std::string prefix = std::string(FileNameOf(path)) + "-new";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return leftovers;
    while (struct dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
            leftovers.push_back(folder + entry->d_name);
    }
    closedir(dir);
    return leftovers;
}

void SeamPause(unsigned ms) {
    usleep(ms * 1000);
}

unsigned long SeamProcessId() {
    return static_cast<unsigned long>(getpid());
}
