#include "platform/file_io.h"

#include "platform/file_seam.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {
FileFault g_fileFault = FileFault::kNone;
void (*g_heldFileReadHook)() = nullptr;
int g_cutAt = 0;
int g_writeCalls = 0;
int g_restoredFiles = 0;

constexpr char kJournalMagic[8] = {'m', 't', 'j', 'o', 'u', 'r', 'n', '1'};
constexpr size_t kJournalHeaderSize = 8 + 1 + 8 + 8 + 8 + 4;

void PutUint64(std::string* out, uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
uint64_t GetUint64(const char* at) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(at[i]);
    return value;
}
// Enough to tell a journal cut off while it was written from a whole one; eight bytes a step, since a
// journal holds up to the whole file.
uint64_t Mix(uint64_t hash, std::string_view bytes) {
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * 0x100000001B3ull;
        hash ^= hash >> 29;
    }
    for (; i < bytes.size(); ++i)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 0x100000001B3ull;
    return hash;
}
uint32_t Checksum(std::string_view header, std::string_view saved) {
    uint64_t hash = Mix(Mix(0xCBF29CE484222325ull, header), saved);
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}
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

std::string EncodeFileJournalHeader(const FileJournal& journal) {
    std::string out(kJournalMagic, sizeof kJournalMagic);
    out.push_back(journal.existed ? 1 : 0);
    PutUint64(&out, journal.originalSize);
    PutUint64(&out, journal.offset);
    PutUint64(&out, journal.saved.size());
    return out;
}

std::string EncodeFileJournalTrailer(const FileJournal& journal, std::string_view header) {
    uint32_t sum = Checksum(header, journal.saved);
    std::string out;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((sum >> (8 * i)) & 0xFF));
    return out;
}

int DecodeFileJournal(std::string_view bytes, FileJournal* journal) {
    if (bytes.size() < kJournalHeaderSize || bytes.compare(0, 8, std::string_view(kJournalMagic, 8)) != 0)
        return 0;
    uint64_t savedSize = GetUint64(bytes.data() + 25);
    if (savedSize != bytes.size() - kJournalHeaderSize) return 0;
    uint32_t sum = 0;
    for (int i = 3; i >= 0; --i)
        sum = sum << 8 | static_cast<unsigned char>(bytes[bytes.size() - 4 + static_cast<size_t>(i)]);
    if (sum != Checksum(bytes.substr(0, 33), bytes.substr(33, static_cast<size_t>(savedSize)))) return 0;
    journal->existed = bytes[8] != 0;
    journal->originalSize = GetUint64(bytes.data() + 9);
    journal->offset = GetUint64(bytes.data() + 17);
    journal->saved = bytes.substr(33, static_cast<size_t>(savedSize));
    return journal->offset + savedSize == journal->originalSize;
}

std::string JournalPathOf(const char* path) {
    return std::string(path) + "-journal";
}

std::string NewFilePathOf(const char* path) {
    return std::string(path) + "-new";
}

int RestoredFileCount() {
    return g_restoredFiles;
}

void CountRestoredFile() {
    ++g_restoredFiles;
}

void CutWritesAt(int call) {
    g_cutAt = call;
    g_writeCalls = 0;
}

int WriteCallsSoFar() {
    return g_writeCalls;
}

WriteStep NextWriteStep() {
    ++g_writeCalls;
    if (g_cutAt == 0 || g_writeCalls < g_cutAt) return WriteStep::kGo;
    return g_writeCalls == g_cutAt ? WriteStep::kPartial : WriteStep::kLost;
}

// A held file can be neither renamed over nor replaced while it is open, and letting it go for a rename
// would let another copy append into the gap; so it is changed in place, from the first byte that
// differs, after the bytes it replaces have gone to the journal.
int HeldFile::Rewrite(const char* data, size_t size) {
    if (handle_ == -1 || CurrentFileFault() == FileFault::kOpenFails) return 0;
    std::string_view old(image_.Data(), image_.Size());
    size_t first = 0;
    while (first < size && first < old.size() && old[first] == data[first])
        ++first;
    if (first == size && size == old.size()) return 1;
    FileJournal journal;
    journal.originalSize = old.size();
    journal.offset = first;
    journal.saved = old.substr(first);
    if (!SeamWriteJournal(path_.c_str(), journal)) {
        SeamRemove(JournalPathOf(path_.c_str()));
        return 0;
    }
    bool ok = SeamWriteTail(handle_, first, data + first, size - first, true);
    // A failed write puts the read bytes back; if even that fails, the journal stays for the next reader.
    if (!ok && !SeamWriteTail(handle_, first, old.data() + first, old.size() - first, false)) return 0;
    SeamRemove(JournalPathOf(path_.c_str()));
    return ok ? 1 : 0;
}

ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    RestoreInterruptedChange(path);
    return SeamRead(path, offset, maxSize, image);
}

int RestoreInterruptedChange(const char* path) {
    const std::string journalPath = JournalPathOf(path);
    if (!SeamExists(journalPath)) return 0;
    // A copy that holds the file is making its own change: not ours to undo, nor its journal ours to
    // open, which would keep the copy from removing it. Held, a journal that is gone was committed
    // meanwhile.
    bool busy = false;
    intptr_t file = SeamHold(path, &busy);
    if (busy) return 0;
    FileImage bytes;
    FileJournal journal;
    if (SeamRead(journalPath.c_str(), 0, static_cast<size_t>(-1), &bytes) != ReadResult::kOk) {
        if (file != -1) SeamRelease(file);
        return 0;
    }
    // A journal cut off while it was written: the file was never touched.
    const bool whole = DecodeFileJournal(std::string_view(bytes.Data(), bytes.Size()), &journal);
    bool restored = whole && journal.existed && file != -1 &&
                    SeamWriteTail(file, journal.offset, journal.saved.data(), journal.saved.size(), false);
    // An open file cannot be removed everywhere, so it is let go first.
    if (file != -1) SeamRelease(file);
    if (whole && !journal.existed) restored = SeamRemove(path) != 0;
    if (!whole || restored) SeamRemove(journalPath);
    if (!restored) return 0;
    CountRestoredFile();
    return 1;
}

// The last bytes are read through the held handle, so the line end added before the line is decided on
// exactly the bytes the line follows.
int AppendLineToFile(const char* path, const char* line, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    RestoreInterruptedChange(path);
    const std::string journalPath = JournalPathOf(path);
    bool busy = false;
    intptr_t file = SeamHold(path, &busy);
    bool created = false;
    bool journaled = false;
    if (file == -1 && !busy) {
        // Even the file's creation is undone after a cut: the journal says it was not there.
        FileJournal journal;
        journal.existed = false;
        journaled = SeamWriteJournal(path, journal) != 0;
        // Making the file is a write too; a machine cut off before it never made it.
        if (journaled && NextWriteStep() != WriteStep::kGo) return 1;
        if (journaled) file = SeamCreate(path);
        created = file != -1;
    }
    if (file == -1) {
        if (journaled) SeamRemove(journalPath);
        return 0;
    }
    int ok = 0;
    const int64_t end = SeamSize(file);
    FileImage tail;
    const size_t tailSize = end < 2 ? static_cast<size_t>(end < 0 ? 0 : end) : 2;
    if (end >= 0 && SeamReadHeld(file, static_cast<size_t>(end) - tailSize, tailSize, &tail) == ReadResult::kOk &&
        tail.Size() == tailSize) {
        FileJournal journal;
        journal.originalSize = journal.offset = static_cast<uint64_t>(end);
        if (!created) journaled = SeamWriteJournal(path, journal) != 0;
        if (journaled) {
            std::string bytes(LineEndBeforeAppend(std::string_view(tail.Data(), tail.Size())));
            bytes.append(line, size);
            ok = SeamWriteTail(file, journal.offset, bytes.data(), bytes.size(), true);
            // Cut back to the old end so no partial line remains.
            if (!ok && !SeamWriteTail(file, journal.offset, nullptr, 0, false)) journaled = false;
        }
    }
    // A file this call created and could not fill would otherwise stay behind empty; it is let go first,
    // as an open file cannot be removed everywhere.
    SeamRelease(file);
    if (!ok && created) SeamRemove(path);
    if (journaled) SeamRemove(journalPath);
    return ok;
}

HeldFile::~HeldFile() {
    Close();
}

void HeldFile::Close() {
    if (handle_ == -1) return;
    SeamRelease(handle_);
    handle_ = -1;
}

ReadResult HeldFile::Open(const char* path) {
    Close();
    image_.Reset();
    RestoreInterruptedChange(path);
    path_ = path;
    bool busy = false;
    intptr_t file = SeamHold(path, &busy);
    if (file == -1) return ReadResult::kCannotOpen;
    ReadResult result = SeamReadHeld(file, 0, static_cast<size_t>(-1), &image_);
    if (result != ReadResult::kOk) {
        SeamRelease(file);
        return result;
    }
    handle_ = file;
    RunHeldFileReadHook();
    return result;
}
