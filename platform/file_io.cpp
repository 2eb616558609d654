#include "platform/file_io.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {
FileFault g_fileFault = FileFault::kNone;
void (*g_heldFileReadHook)() = nullptr;
// Far more than any food's line; a table of megabytes is not read for one line.
constexpr size_t kLineWindow = 64 * 1024;
}  // namespace

FileImage::~FileImage() {
    Reset();
}

FileImage::FileImage(FileImage&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
}

FileImage& FileImage::operator=(FileImage&& other) noexcept {
    if (this != &other) {
        Reset();
        data_ = other.data_;
        size_ = other.size_;
        other.data_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}

int FileImage::Allocate(size_t size) {
    Reset();
    if (size > static_cast<size_t>(-1) - 2) return 0;
    data_ = static_cast<char*>(std::calloc(size + 2, 1));
    if (!data_) return 0;
    size_ = size;
    return 1;
}

void FileImage::Reset() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
}

ReadResult ReadWholeFile(const char* path, FileImage* image) {
    return ReadFileRange(path, 0, static_cast<size_t>(-1), image);
}

ReadResult ReadLineOfFile(const char* path, size_t offset, FileImage* image, size_t* lineOffset) {
    size_t start = offset > 0 ? offset - 1 : 0;
    ReadResult result = ReadFileRange(path, start, kLineWindow, image);
    if (result != ReadResult::kOk) return result;
    *lineOffset = offset - start;
    std::string_view data(image->Data(), image->Size());
    bool cut =
        image->Size() == kLineWindow && data.find_first_of("\r\n", *lineOffset) == std::string_view::npos;
    if (!cut) return result;
    *lineOffset = offset;
    return ReadWholeFile(path, image);
}

std::string_view LineEndBeforeAppend(std::string_view data) {
    if (data.empty() || data.back() == '\n') return std::string_view();
    if (data.back() == '\r') return "\n";
    return "\r\n";
}

void SetHeldFileReadHook(void (*hook)()) {
    g_heldFileReadHook = hook;
}

void RunHeldFileReadHook() {
    if (g_heldFileReadHook) g_heldFileReadHook();
}

void InjectFileFault(FileFault fault) {
    g_fileFault = fault;
}

FileFault CurrentFileFault() {
    return g_fileFault;
}
