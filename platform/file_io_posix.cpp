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

// Writes all bytes unless a short write was injected; returns the number written.
size_t WriteAll(int fd, const char* data, size_t size) {
    size_t limit = size;
    if (CurrentFileFault() == FileFault::kShortWrite && size > 0) limit = size - 1;
    size_t done = 0;
    while (done < limit) {
        ssize_t n = write(fd, data + done, limit - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

}  // namespace

ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    Fd file;
    file.fd = open(path, O_RDONLY);
    if (file.fd < 0) return ReadResult::kCannotOpen;
    struct stat info;
    if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::kCannotOpen;
    size_t fileSize = static_cast<size_t>(info.st_size);
    size_t size = offset >= fileSize ? 0 : fileSize - offset;
    if (size > maxSize) size = maxSize;
    if (!image->Allocate(size)) return ReadResult::kNoMemory;
    if (size > 0 && lseek(file.fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        image->Reset();
        return ReadResult::kReadFailed;
    }
    size_t done = 0;
    while (done < image->Size()) {
        ssize_t n = read(file.fd, image->Data() + done, image->Size() - done);
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

int AppendToFile(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    Fd file;
    int created = 0;
    file.fd = open(path, O_WRONLY);
    if (file.fd < 0 && errno == ENOENT) {
        file.fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
        created = file.fd >= 0;
    }
    if (file.fd < 0) return 0;
    int ok = 0;
    off_t end = lseek(file.fd, 0, SEEK_END);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = end;
    lock.l_len = static_cast<off_t>(size);
    int locked = end >= 0 && size > 0 && fcntl(file.fd, F_SETLK, &lock) == 0;
    if (end >= 0 && (size == 0 || locked)) {
        ok = WriteAll(file.fd, data, size) == size;
        if (!ok && ftruncate(file.fd, end) != 0) ok = 0;
    }
    if (locked) {
        lock.l_type = F_UNLCK;
        fcntl(file.fd, F_SETLK, &lock);
    }
    // A file this call created and could not fill would otherwise stay behind empty.
    if (!ok && created) unlink(path);
    return ok;
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
