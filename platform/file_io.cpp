#include "platform/file_io.h"

#include "platform/byte_order.h"
#include "platform/file_seam.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {
#ifdef PLATELOG_TEST_SEAMS
FileFault g_fileFault = FileFault::kNone;
void (*g_heldFileReadHook)() = nullptr;
int g_cutAt = 0;
int g_writeCalls = 0;
#endif
int g_restoredFiles = 0;

constexpr char kJournalMagic[8] = {'m', 't', 'j', 'o', 'u', 'r', 'n', '2'};
constexpr char kFirstJournalMagic[8] = {'m', 't', 'j', 'o', 'u', 'r', 'n', '1'};
// Where the fields of a journal stand (the layout is described beside FileJournal).
constexpr size_t kExistedAt = 8;
constexpr size_t kOriginalSizeAt = 9;
constexpr size_t kOffsetAt = 17;
constexpr size_t kSavedSizeAt = 25;
constexpr size_t kFirstHeaderSize = 33;
constexpr size_t kChangedSizeAt = 33;
constexpr size_t kChangedSumAt = 41;
constexpr size_t kHeaderSize = 45;
constexpr size_t kTrailerSize = 4;

// How often and how long a journal that cannot be removed is tried again: a scanner or an indexer
// that opened it lets go within moments.
constexpr int kRemoveTries = 6;
constexpr unsigned kRemoveBackoffMs = 20;
// A waiting copy looks this often whether the copy ahead of it makes progress.
constexpr unsigned kGateSliceMs = 100;

// Enough to tell a journal cut off while it was written from a whole one, and a file as a change left
// it from any other; eight bytes a step, read in one byte order on every system.
uint64_t Mix(uint64_t hash, std::string_view bytes) {
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        hash = (hash ^ LoadLittleEndian(bytes.data() + i, 8)) * 0x100000001B3ull;
        hash ^= hash >> 29;
    }
    for (; i < bytes.size(); ++i)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 0x100000001B3ull;
    return hash;
}
constexpr uint64_t kMixStart = 0xCBF29CE484222325ull;
uint32_t Fold(uint64_t hash) {
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}
// Far more than any food's line; a table of megabytes is not read for one line.
constexpr size_t kLineWindow = 64 * 1024;

// Passes the file's gate for as long as the object lives. It waits while the copy ahead makes
// progress, and gives up after a moment without any; the file's own exclusion is all that is left
// then, and an open of a file held that long fails as it always did.
class Gate {
public:
    explicit Gate(const char* path) : gate_(SeamOpenGate(path)) {
        if (gate_ == -1) return;
        uint64_t stamp = SeamStamp(path);
        for (unsigned idle = 0; !(entered_ = SeamEnterGate(gate_, kGateSliceMs) != 0);) {
            uint64_t now = SeamStamp(path);
            idle = now == stamp ? idle + kGateSliceMs : 0;
            stamp = now;
            if (idle >= kHeldFileWaitMs) break;
        }
    }
    ~Gate() {
        if (gate_ != -1) SeamCloseGate(gate_, entered_);
    }
    bool Passed() const { return entered_; }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;
    intptr_t Release(bool* entered) {
        intptr_t gate = gate_;
        *entered = entered_;
        gate_ = -1;
        return gate;
    }

private:
    intptr_t gate_;
    bool entered_ = false;
};
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

#ifdef PLATELOG_TEST_SEAMS
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
#endif

uint32_t FileChecksum(std::string_view bytes) {
    return Fold(Mix(kMixStart, bytes));
}

void DescribeChange(FileJournal* journal, std::string_view change) {
    journal->knowsChange = true;
    journal->changedSize = journal->offset + change.size();
    journal->changedSum = FileChecksum(change);
}

std::string EncodeFileJournalHeader(const FileJournal& journal) {
    std::string out(kJournalMagic, sizeof kJournalMagic);
    out.push_back(journal.existed ? 1 : 0);
    AppendLittleEndian(&out, journal.originalSize, 8);
    AppendLittleEndian(&out, journal.offset, 8);
    AppendLittleEndian(&out, journal.saved.size(), 8);
    AppendLittleEndian(&out, journal.changedSize, 8);
    AppendLittleEndian(&out, journal.changedSum, 4);
    return out;
}

std::string EncodeFileJournalTrailer(const FileJournal& journal, std::string_view header) {
    std::string out;
    AppendLittleEndian(&out, Fold(Mix(Mix(kMixStart, header), journal.saved)), kTrailerSize);
    return out;
}

int DecodeFileJournal(std::string_view bytes, FileJournal* journal) {
    if (bytes.size() < kFirstHeaderSize) return 0;
    const bool first = bytes.compare(0, 8, std::string_view(kFirstJournalMagic, 8)) == 0;
    if (!first && bytes.compare(0, 8, std::string_view(kJournalMagic, 8)) != 0) return 0;
    const size_t headerSize = first ? kFirstHeaderSize : kHeaderSize;
    if (bytes.size() < headerSize + kTrailerSize) return 0;
    const uint64_t savedSize = LoadLittleEndian(bytes.data() + kSavedSizeAt, 8);
    if (savedSize != bytes.size() - headerSize - kTrailerSize) return 0;
    std::string_view saved = bytes.substr(headerSize, static_cast<size_t>(savedSize));
    const uint64_t sum = LoadLittleEndian(bytes.data() + bytes.size() - kTrailerSize, kTrailerSize);
    if (sum != Fold(Mix(Mix(kMixStart, bytes.substr(0, headerSize)), saved))) return 0;
    journal->existed = bytes[kExistedAt] != 0;
    journal->originalSize = LoadLittleEndian(bytes.data() + kOriginalSizeAt, 8);
    journal->offset = LoadLittleEndian(bytes.data() + kOffsetAt, 8);
    journal->saved = saved;
    journal->knowsChange = !first;
    journal->changedSize = first ? 0 : LoadLittleEndian(bytes.data() + kChangedSizeAt, 8);
    journal->changedSum = first ? 0 : static_cast<uint32_t>(LoadLittleEndian(bytes.data() + kChangedSumAt, 4));
    return journal->offset + savedSize == journal->originalSize;
}

// A journal outlives its change when it could not be removed, and a change may be cut off before it
// touched the file: in neither case is there anything to put back.
JournalVerdict JudgeJournal(const FileJournal& journal, int64_t size, std::string_view tail) {
    const uint64_t at = journal.offset;
    if (journal.knowsChange && size >= 0 && static_cast<uint64_t>(size) == journal.changedSize &&
        (journal.existed || at == 0) && FileChecksum(tail) == journal.changedSum)
        return JournalVerdict::kChangeMade;
    if (!journal.existed) return size < 0 ? JournalVerdict::kChangeNotBegun : JournalVerdict::kPutBack;
    if (size >= 0 && static_cast<uint64_t>(size) == journal.originalSize && tail == journal.saved)
        return JournalVerdict::kChangeNotBegun;
    return JournalVerdict::kPutBack;
}

std::string JournalPathOf(const char* path) {
    return std::string(path) + "-journal";
}

std::string NewFilePathOf(const char* path) {
    return std::string(path) + "-new-" + std::to_string(SeamProcessId());
}

int RestoredFileCount() {
    return g_restoredFiles;
}

void CountRestoredFile() {
    ++g_restoredFiles;
}

namespace {

int RemoveJournal(const std::string& journalPath) {
    if (CurrentFileFault() == FileFault::kJournalStays || CurrentFileFault() == FileFault::kJournalLocked)
        return 0;
    return SeamRemove(journalPath);
}

// Ends a change that was made: the journal goes, and where it cannot, it is made unusable in place.
// Even a journal left whole cannot undo the change, as it tells what the change made of the file.
void CommitJournal(const char* path) {
    const std::string journalPath = JournalPathOf(path);
    for (int attempt = 1; attempt <= kRemoveTries; ++attempt) {
        if (RemoveJournal(journalPath)) {
            SeamFlushFolder(path);
            return;
        }
        if (attempt < kRemoveTries) SeamPause(kRemoveBackoffMs * static_cast<unsigned>(attempt));
    }
    if (CurrentFileFault() != FileFault::kJournalLocked) SeamVoidJournal(journalPath);
}

// Puts back the change of a journal left behind, with the gate passed: no copy of the program is
// changing the file now, so the journal is a cut-off change or one whose journal outlived it.
int RestoreInGate(const char* path) {
    const std::string journalPath = JournalPathOf(path);
    if (!SeamExists(journalPath)) return 0;
    // A holder that does not pass the gate is making its own change: not ours to undo.
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
    JournalVerdict verdict = JournalVerdict::kChangeNotBegun;
    if (whole) {
        FileImage tail;
        const int64_t size = file == -1 ? -1 : SeamSize(file);
        if (size >= 0 && SeamReadHeld(file, static_cast<size_t>(journal.offset), static_cast<size_t>(-1),
                                      &tail) != ReadResult::kOk) {
            SeamRelease(file);
            return 0;
        }
        verdict = JudgeJournal(journal, size, std::string_view(tail.Data(), tail.Size()));
    }
    bool done = verdict != JournalVerdict::kPutBack;
    if (!done && journal.existed)
        done = file != -1 &&
               SeamWriteTail(file, journal.offset, journal.saved.data(), journal.saved.size(), false);
    // A file the change made goes; an open file cannot be removed everywhere, so it is let go first. The
    // journal of a file that stays is removed while the file is held, so no copy finds it in between.
    if (!done && !journal.existed) {
        if (file != -1) SeamRelease(file);
        file = -1;
        done = SeamRemove(path) != 0;
    }
    if (done) {
        SeamRemove(journalPath);
        SeamFlushFolder(path);
    }
    if (file != -1) SeamRelease(file);
    if (!done || verdict != JournalVerdict::kPutBack) return 0;
    CountRestoredFile();
    return 1;
}

// Appends with the gate passed; the last bytes are read through the held handle, so the line end added
// before the line is decided on exactly the bytes the line follows.
int AppendInGate(const char* path, const char* line, size_t size) {
    RestoreInGate(path);
    const std::string journalPath = JournalPathOf(path);
    bool busy = false;
    intptr_t file = SeamHold(path, &busy);
    bool created = false;
    bool journaled = false;
    std::string bytes;
    FileJournal journal;
    if (file == -1 && !busy) {
        // Even the file's creation is undone after a cut: the journal says it was not there.
        journal.existed = false;
        bytes.assign(line, size);
        DescribeChange(&journal, bytes);
        journaled = SeamWriteJournal(path, journal) != 0;
        // Making the file is a write too; a machine cut off before it never made it.
        if (journaled && NextWriteStep() != WriteStep::kGo) return 1;
        if (journaled) file = SeamCreate(path);
        created = file != -1;
        if (created) SeamFlushFolder(path);
    }
    if (file == -1) {
        if (journaled) SeamRemove(journalPath);
        return 0;
    }
    int ok = 0;
    const int64_t end = SeamSize(file);
    FileImage last;
    const size_t lastSize = end < 2 ? static_cast<size_t>(end < 0 ? 0 : end) : 2;
    if (end >= 0 &&
        SeamReadHeld(file, static_cast<size_t>(end) - lastSize, lastSize, &last) == ReadResult::kOk &&
        last.Size() == lastSize) {
        if (!created) {
            journal.originalSize = journal.offset = static_cast<uint64_t>(end);
            bytes.assign(LineEndBeforeAppend(std::string_view(last.Data(), last.Size())));
            bytes.append(line, size);
            DescribeChange(&journal, bytes);
            journaled = SeamWriteJournal(path, journal) != 0;
        }
        if (journaled) {
            ok = SeamWriteTail(file, static_cast<uint64_t>(end), bytes.data(), bytes.size(), true);
            // Cut back to the old end so no partial line remains; if even that fails, the journal stays
            // for the next reader.
            if (!ok && !SeamWriteTail(file, static_cast<uint64_t>(end), nullptr, 0, false)) journaled = false;
        }
    }
    if (ok) CommitJournal(path);
    // A file this call created and could not fill would otherwise stay behind empty; it is let go first,
    // as an open file cannot be removed everywhere.
    if (!ok && journaled && !created) SeamRemove(journalPath);
    SeamRelease(file);
    if (!ok && created && SeamRemove(path)) SeamRemove(journalPath);
    return ok;
}

// A copy that gave up waiting at the gate may be beside another's replace whose write has stalled: the
// new files beside the target are left for the next copy that passes it, as one of them may be live.
int ReplaceInGate(const char* path, const char* data, size_t size, bool passed) {
    RestoreInGate(path);
    if (passed) SeamRemoveLeftovers(path);
    const std::string newPath = NewFilePathOf(path);
    if (!SeamWriteNewFile(newPath, path, data, size)) {
        SeamRemove(newPath);
        return 0;
    }
    if (!SeamReplace(newPath, path)) {
        SeamRemove(newPath);
        return 0;
    }
    SeamFlushFolder(path);
    return 1;
}

}  // namespace

ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image) {
    Gate gate(path);
    RestoreInGate(path);
    return SeamRead(path, offset, maxSize, image);
}

int RestoreInterruptedChange(const char* path) {
    Gate gate(path);
    return RestoreInGate(path);
}

int AppendLineToFile(const char* path, const char* line, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    Gate gate(path);
    return AppendInGate(path, line, size);
}

int ReplaceFileContents(const char* path, const char* data, size_t size) {
    if (CurrentFileFault() == FileFault::kOpenFails) return 0;
    Gate gate(path);
    return ReplaceInGate(path, data, size, gate.Passed());
}

HeldFile::~HeldFile() {
    Close();
}

void HeldFile::Close() {
    if (handle_ != -1) SeamRelease(handle_);
    handle_ = -1;
    if (gate_ != -1) SeamCloseGate(gate_, entered_);
    gate_ = -1;
}

ReadResult HeldFile::Open(const char* path) {
    Close();
    image_.Reset();
    Gate gate(path);
    RestoreInGate(path);
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
    gate_ = gate.Release(&entered_);
    RunHeldFileReadHook();
    return result;
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
    DescribeChange(&journal, std::string_view(data + first, size - first));
    if (!SeamWriteJournal(path_.c_str(), journal)) {
        SeamRemove(JournalPathOf(path_.c_str()));
        return 0;
    }
    bool ok = SeamWriteTail(handle_, first, data + first, size - first, true);
    // A failed write puts the read bytes back; if even that fails, the journal stays for the next reader.
    if (!ok && !SeamWriteTail(handle_, first, old.data() + first, old.size() - first, false)) return 0;
    if (ok) {
        CommitJournal(path_.c_str());
        return 1;
    }
    SeamRemove(JournalPathOf(path_.c_str()));
    return 0;
}
