// The file seam shared by every subsystem: whole-file read, journaled append, a file held from its read
// to its rewrite, atomic replace. Written once (file_io.cpp, write_steps.cpp) over each system's own
// steps (file_seam.h): Win32 opens a changed file without sharing, takes a named mutex for the gate and
// replaces with ReplaceFileA; POSIX, which the native tests run, uses OFD locks and a lock of the folder
// for the gate.
//
// What it promises to several running copies of the program at once:
// - Every read and change of a file passes the file's gate, one copy at a time (the system picks which
//   copy goes next); a copy waits while the one ahead of it makes progress and gives up only after a
//   moment without any (kHeldFileWaitMs). A read therefore waits out another copy's change rather than
//   see half of it.
// - A change reported done is never undone, not by a crash and not by another copy; a change reported
//   failed leaves the file byte for byte as it was. A cut at any write leaves the old file or the new one.
// - Inside the gate a changed file is still opened without sharing (Win32) or locked whole (POSIX), so a
//   program that does not pass the gate cannot write between a read and its rewrite either.
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

// Reads an existing file whole, after any change of it in progress.
ReadResult ReadWholeFile(const char* path, FileImage* image);

// Reads at most `maxSize` bytes from `offset` on (fewer at the end of the file).
ReadResult ReadFileRange(const char* path, size_t offset, size_t maxSize, FileImage* image);

// Reads enough of a text file for the line at `offset`: the line with the byte before it (which tells
// whether the offset is a line start), or the whole file when the line is unusually long.
// `*lineOffset` is where the line starts in `image`.
ReadResult ReadLineOfFile(const char* path, size_t offset, FileImage* image, size_t* lineOffset);

// What must go before a line appended to text that ends as `data` does, so the new line never joins
// a last line left without its line end: "" (empty data or a line end), "\n" after a lone CR, else CR LF.
std::string_view LineEndBeforeAppend(std::string_view data);

// Opens or creates the text file, held, and appends the line after ending a last line left without
// its line end. A short write is undone (the file is cut back to its old length), so the file is never
// left half-written.
int AppendLineToFile(const char* path, const char* line, size_t size);

// How long a copy waits for another that makes no progress with the file, in milliseconds.
constexpr unsigned kHeldFileWaitMs = 1000;

// An existing file held from its read to its rewrite, inside its gate, so no other copy can append
// between the read and the rewrite and have its line written over. Released when the object goes.
class HeldFile {
public:
    HeldFile() = default;
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Holds and reads the file whole; kCannotOpen when there is none or another copy keeps it.
    ReadResult Open(const char* path);
    std::string_view Contents() const { return std::string_view(image_.Data(), image_.Size()); }
    // Writes the new contents over the old ones. On any failure the old bytes are written back, so
    // the file is left as it was read; 0 then.
    int Rewrite(const char* data, size_t size);

private:
    void Close();
    intptr_t gate_ = -1;
    bool entered_ = false;
    intptr_t handle_ = -1;  // a HANDLE or a descriptor; -1 (INVALID_HANDLE_VALUE) for none
    FileImage image_;
    std::string path_;
};

// Writes the bytes to a new file of this process's own in the same folder and then puts it in the
// target's place, so a failed or short write leaves the previous contents byte for byte as they were.
// The target keeps its attributes (and on Windows its security, but where the system's replace could only
// take the target away and a move puts the new file there).
int ReplaceFileContents(const char* path, const char* data, size_t size);

// Every change of a file in place (an append, a rewrite) is all-or-nothing: the bytes it is about to
// change go first to a journal beside the file ("<path>-journal", flushed), then the file is changed and
// flushed, and removing the journal commits, all inside the gate and with the file held. A journal left
// behind by a change that was cut off (a crash, a killed process, a power cut) puts the old bytes back
// before anyone reads or changes the file again. The journal also tells what the change makes of the
// file, so one that could not be removed (an indexer or a scanner holds it open) never undoes the change
// it belongs to. A replace writes "<path>-new-<process>" and puts it in the file's place; a new file that
// a cut left behind never touched the file, and the next replace removes it while the file is there.
// How many files were put back from their journals since the program started; the caller tells the user.
int RestoredFileCount();
// Puts back the file of a journal left behind, if any; every read and write of the seam does this
// first. 1 when a file was put back.
int RestoreInterruptedChange(const char* path);

// The journal's bytes, little-endian, in one of two layouts:
//   0  magic "mtjourn2" ("mtjourn1": a journal of the first layout, without the two fields at 33)
//   8  1 byte: the file was there before the change (else the change made it)
//   9  8 bytes: its size before the change
//  17  8 bytes: where the saved bytes stood
//  25  8 bytes: how many bytes were saved
//  33  8 bytes: the file's size once the change is made
//  41  4 bytes: the checksum of the file's bytes from the offset on once the change is made
//  45  the saved bytes, then 4 bytes: the header mixed, the saved bytes mixed on from there, folded
//      (EncodeFileJournalTrailer; not FileChecksum of the two joined).
struct FileJournal {
    bool existed = true;        // the file was there before the change (else the change made it)
    uint64_t originalSize = 0;  // its size before the change
    uint64_t offset = 0;        // where the saved bytes stood
    std::string_view saved;     // the bytes from `offset` that the change overwrote
    bool knowsChange = false;   // the two below were written (not in a journal of the first layout)
    uint64_t changedSize = 0;   // the file's size once the change is made
    uint32_t changedSum = 0;    // FileChecksum of the file's bytes from `offset` once the change is made
};
// Fills the journal's last three fields for a change that writes `change` from its offset on.
void DescribeChange(FileJournal* journal, std::string_view change);
uint32_t FileChecksum(std::string_view bytes);
// A journal is its header, the saved bytes, then its trailer, written apart so the saved bytes are not
// copied.
std::string EncodeFileJournalHeader(const FileJournal& journal);
std::string EncodeFileJournalTrailer(const FileJournal& journal, std::string_view header);
// 0 for a journal that was itself cut off while it was written, or made unusable: then the file was
// never touched, or the change was made.
int DecodeFileJournal(std::string_view bytes, FileJournal* journal);
// What a whole journal asks for, given the file as it is now (`tail`: its bytes from the journal's
// offset on; `size`: its size, -1 when there is no file).
enum class JournalVerdict { kChangeMade, kChangeNotBegun, kPutBack };
JournalVerdict JudgeJournal(const FileJournal& journal, int64_t size, std::string_view tail);
std::string JournalPathOf(const char* path);
// The new file of this process's replaces of `path`.
std::string NewFilePathOf(const char* path);

// The ways the tests make a write fail. A journal that an indexer keeps open cannot be removed
// (kJournalStays), nor even written (kJournalLocked).
enum class FileFault { kNone, kOpenFails, kShortWrite, kJournalStays, kJournalLocked };

#ifdef PLATELOG_TEST_SEAMS
// The seams of the tests, only in the programs that test (the shipped program has none):
// A power cut at the N-th write-side call from now (a write, a flush, a change of size, a delete, a
// rename, or the making of a file an append adds; N counts from 1; POSIX counts one more for the flush
// of a folder, which Windows has no call for): that call does only part of its work (a write keeps the first half of its
// bytes, any other call does nothing) and every later one does nothing, though all of them report
// success, as a machine that stopped would never tell. Opening a file to write it is not cut, so a cut
// may leave an empty journal or new file behind, as a real one may. 0 lifts the cut and restarts the
// count.
void CutWritesAt(int call);
// The write-side calls since the last CutWritesAt.
int WriteCallsSoFar();
// Makes the next write operations fail the chosen way until cleared with kNone.
void InjectFileFault(FileFault fault);
// Runs once a HeldFile has been read, before anything can rewrite it (nullptr: nothing).
void SetHeldFileReadHook(void (*hook)());
#endif
