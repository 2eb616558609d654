// POSIX half of the file seam, used by the native tests.
#include "platform/file_io.h"

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

int WriteWhole(int fd, const char* data, size_t size, bool mayFault) {
    return lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, data, size, mayFault) == size &&
           ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
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

ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    Fd file;
    file.fd = open(path, O_RDONLY);
    if (file.fd < 0) return ReadResult::kCannotOpen;
    return ReadOpenFile(file.fd, offset, maxSize, image);
}

int AppendLineToFile(const char* path, const char* line, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    Fd file;
    int created = 0;
    file.fd = open(path, O_RDWR);
    if (file.fd < 0 && errno == ENOENT) {
        file.fd = open(path, O_RDWR | O_CREAT | O_EXCL, 0644);
        created = file.fd >= 0;
    }
    if (file.fd < 0) return 0;
    int ok = 0;
    if (LockWhole(file.fd)) {
        off_t end = lseek(file.fd, 0, SEEK_END);
        char tail[2] = {};
        size_t tailSize = end < 2 ? static_cast<size_t>(end < 0 ? 0 : end) : 2;
        if (end >= 0 && pread(file.fd, tail, tailSize, end - static_cast<off_t>(tailSize)) !=
                            static_cast<ssize_t>(tailSize)) {
            end = -1;
        }
        if (end >= 0 && lseek(file.fd, end, SEEK_SET) == end) {
            std::string_view lineEnd = LineEndBeforeAppend(std::string_view(tail, tailSize));
            ok = WriteAll(file.fd, lineEnd.data(), lineEnd.size()) == lineEnd.size() &&
                 WriteAll(file.fd, line, size) == size;
            if (!ok && ftruncate(file.fd, end) != 0) ok = 0;
        }
    }
    // A file this call created and could not fill would otherwise stay behind empty.
    if (!ok && created) unlink(path);
    return ok;
}

HeldFile::~HeldFile() {
    Close();
}

void HeldFile::Close() {
    if (handle_ == -1) return;
    close(static_cast<int>(handle_));  // closing the description drops its lock
    handle_ = -1;
}

ReadResult HeldFile::Open(const char* path) {
    Close();
    image_.Reset();
    Fd file;
    file.fd = open(path, O_RDWR);
    if (file.fd < 0 || !LockWhole(file.fd)) return ReadResult::kCannotOpen;
    ReadResult result = ReadOpenFile(file.fd, 0, static_cast<size_t>(-1), &image_);
    if (result != ReadResult::kOk) return result;
    handle_ = file.fd;
    file.fd = -1;
    RunHeldFileReadHook();
    return result;
}

int HeldFile::Rewrite(const char* data, size_t size) {
    if (handle_ == -1 || CurrentFileFault() == FileFault::kOpenFails) return 0;
    int fd = static_cast<int>(handle_);
    if (WriteWhole(fd, data, size, true)) return 1;
    WriteWhole(fd, image_.Data(), image_.Size(), false);
    return 0;
}

int ReplaceFileContents(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    // The temporary file must be in the target's folder: rename only replaces atomically within
    // one file system.
    const char* slash = std::strrchr(path, '/');
    std::string folder = slash ? std::string(path, static_cast<size_t>(slash - path) + 1) : "./";
    std::string temp = folder + "mtlXXXXXX";
    Fd file;
    file.fd = mkstemp(&temp[0]);
    if (file.fd < 0) return 0;
    // mkstemp makes the file private to its owner; the replaced file keeps the permissions it had.
    struct stat info;
    mode_t mode = stat(path, &info) == 0 && S_ISREG(info.st_mode) ? info.st_mode & 0777 : 0644;
    int ok = fchmod(file.fd, mode) == 0 && WriteAll(file.fd, data, size) == size && fsync(file.fd) == 0;
    if (close(file.fd) != 0) ok = 0;
    file.fd = -1;
    if (!ok || rename(temp.c_str(), path) != 0) {
        unlink(temp.c_str());
        return 0;
    }
    // The rename itself lasts only once the folder entry is on disk.
    Fd dir;
    dir.fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir.fd >= 0) fsync(dir.fd);
    return 1;
}
