// The file seam shared by every subsystem: whole-file read, locked append, a file held from its read
// to its rewrite, atomic replace. One implementation for Win32 (CreateFileA, LockFile, MoveFileExA)
// and one for POSIX (native tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A file's bytes followed by two zero bytes, so that scanners which stop at NUL stop at the end.
class FileImage {
public:
    FileImage() = default;
    ~FileImage();
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;
    FileImage(FileImage&& other) noexcept;
    FileImage& operator=(FileImage&& other) noexcept;

    // Allocates size + 2 zeroed bytes; 0 when the memory cannot be had.
    int Allocate(size_t size);
    void Reset();
    char* Data() { return data_; }
    const char* Data() const { return data_; }
    size_t Size() const { return size_; }
    void SetSize(size_t size) { size_ = size; }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
};

enum class ReadResult { kOk, kCannotOpen, kNoMemory, kReadFailed };

// Opens an existing file sharing read access and reads it whole.
ReadResult ReadWholeFile(const char* path, FileImage* image);

// Reads at most `maxSize` bytes from `offset` on (fewer at the end of the file), sharing read access.
ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image);

// Reads enough of a text file for the line at `offset`: the line with the byte before it (which tells
// whether the offset is a line start), or the whole file when the line is unusually long.
// `*lineOffset` is where the line starts in `image`.
ReadResult ReadLineOfFile(const char* path, size_t offset, FileImage* image, size_t* lineOffset);

// What must go before a line appended to text that ends as `data` does, so the new line never joins
// a last line left without its line end: "" (empty data or a line end), "\n" after a lone CR, else CR LF.
std::string_view LineEndBeforeAppend(std::string_view data);

// Opens or creates the text file without sharing, locks the range past its end and appends the line,
// after ending a last line left without its line end. While another copy holds the file it waits a
// moment (kHeldFileWaitMs) before it gives up. A short write is undone (the file is cut back to its old
// length), so the file is never left half-written.
int AppendLineToFile(const char* path, const char* line, size_t size);

// How long an open waits for a file that another copy holds, in milliseconds.
constexpr unsigned kHeldFileWaitMs = 1000;

// An existing file held from its read to its rewrite: opened without sharing and locked whole, as an
// append locks its range, so no other copy can append between the read and the rewrite and have its
// line written over. Released when the object goes.
class HeldFile {
public:
    HeldFile() = default;
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Opens, locks and reads the file whole; waits a moment while another copy holds it, and then
    // gives kCannotOpen.
    ReadResult Open(const char* path);
    std::string_view Contents() const { return std::string_view(image_.Data(), image_.Size()); }
    // Writes the new contents over the old ones. On any failure the old bytes are written back, so
    // the file is left as it was read; 0 then.
    int Rewrite(const char* data, size_t size);

private:
    void Close();
    intptr_t handle_ = -1;  // a HANDLE or a descriptor; -1 (INVALID_HANDLE_VALUE) for none
    FileImage image_;
    std::string path_;
};

// Writes the bytes to a temporary file in the same folder and then moves it over the target, so a
// failed or short write leaves the previous contents byte for byte as they were.
int ReplaceFileContents(const char* path, const char* data, size_t size);

// Test seam: runs once a HeldFile has been read, before anything can rewrite it (nullptr: nothing).
void SetHeldFileReadHook(void (*hook)());
void RunHeldFileReadHook();

// Every change of a file in place (an append, a rewrite) is all-or-nothing: the bytes it is about to
// change go first to a journal beside the file ("<path>-journal", with the file's size, flushed), then
// the file is changed and flushed, and deleting the journal commits. A journal left behind by a change
// that was cut off (a crash, a killed process, a power cut) puts the old bytes back before anyone reads
// or changes the file again. A replace writes "<path>-new" and renames it over the file; one that a cut
// left behind never touched the file, and the next replace writes over it.
// The number of files put back so since the program started; the caller tells the user.
int RestoredFileCount();
// Puts back the file of a journal left behind, if any and if no other copy holds the file now. Every
// read and write of the seam does this first; 1 when a file was put back.
int RestoreInterruptedChange(const char* path);

// The journal's bytes: what a cut-off change of a file is undone with. Portable, so both seams and the
// tests read and write it alike.
struct FileJournal {
    bool existed = true;        // the file was there before the change (else the change made it)
    uint64_t originalSize = 0;  // its size before the change
    uint64_t offset = 0;        // where the saved bytes stood
    std::string_view saved;     // the bytes from `offset` that the change overwrote
};
// A journal is its header, the saved bytes, then its trailer, written apart so the saved bytes are not copied.
std::string EncodeFileJournalHeader(const FileJournal& journal);
std::string EncodeFileJournalTrailer(const FileJournal& journal, std::string_view header);
// 0 for a journal that was itself cut off while it was written: then the file was never touched.
int DecodeFileJournal(std::string_view bytes, FileJournal* journal);
std::string JournalPathOf(const char* path);
std::string NewFilePathOf(const char* path);

// Test seam: a power cut at the N-th write-side call from now (a write, a flush, a change of size, a
// delete or a rename; N counts from 1): that call does only part of its work (a write keeps the first
// half of its bytes, any other call does nothing) and every later one does nothing, though all of them
// report success, as a machine that stopped would never tell. 0 lifts the cut and restarts the count.
void CutWritesAt(int call);
// The write-side calls since the last CutWritesAt.
int WriteCallsSoFar();

// Test seam: makes the next write operations fail the chosen way until cleared with kNone.
enum class FileFault { kNone, kOpenFails, kShortWrite };
void InjectFileFault(FileFault fault);
FileFault CurrentFileFault();
