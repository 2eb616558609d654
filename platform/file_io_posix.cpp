// POSIX half of the file seam, used by the native tests.
#include "platform/file_io.h"

#include <fcntl.h>
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
    file.fd = open(path, O_WRONLY | O_CREAT, 0644);
    if (file.fd < 0) return 0;
    off_t end = lseek(file.fd, 0, SEEK_END);
    if (end < 0) return 0;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = end;
    lock.l_len = static_cast<off_t>(size);
    if (size > 0 && fcntl(file.fd, F_SETLK, &lock) != 0) return 0;
    size_t written = WriteAll(file.fd, data, size);
    int ok = written == size;
    if (!ok && ftruncate(file.fd, end) != 0) ok = 0;
    lock.l_type = F_UNLCK;
    if (size > 0) fcntl(file.fd, F_SETLK, &lock);
    return ok;
}

int ReplaceFileContents(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    std::string temp = std::string(path) + ".new";
    Fd file;
    file.fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_EXCL, 0644);
    if (file.fd < 0) {
        // A temporary file left by an earlier crash is ours to replace.
        unlink(temp.c_str());
        file.fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_EXCL, 0644);
        if (file.fd < 0) return 0;
    }
    size_t written = WriteAll(file.fd, data, size);
    int ok = written == size && fsync(file.fd) == 0;
    close(file.fd);
    file.fd = -1;
    if (!ok || rename(temp.c_str(), path) != 0) {
        unlink(temp.c_str());
        return 0;
    }
    return 1;
}
