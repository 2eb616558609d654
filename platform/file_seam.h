// The steps of the seam that each system takes its own way (file_io_win.cpp and file_io_posix.cpp); the
// read, the append, the held file, the rewrite, the replace and the restore are written once over them,
// in file_io.cpp. The write-side steps are written once too (write_steps.cpp), over each system's raw
// calls, and each write, flush, change of size, delete and rename goes through the cut seam of the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

enum class WriteStep { kGo, kPartial, kLost };
#ifdef PLATELOG_TEST_SEAMS
// Counts one write-side call and says how much of it happens under the tests' cut (CutWritesAt).
WriteStep NextWriteStep();
// The fault the tests chose (InjectFileFault).
FileFault CurrentFileFault();
void RunHeldFileReadHook();
#else
// The shipped program has no cut, no fault and no hook: every write-side call does its work.
inline WriteStep NextWriteStep() {
    return WriteStep::kGo;
}
inline FileFault CurrentFileFault() {
    return FileFault::kNone;
}
inline void RunHeldFileReadHook() {}
#endif
// A file was put back from its journal.
void CountRestoredFile();

// The gate of a file (POSIX: of its folder): every copy of the program passes it, one at a time, for
// each read and change of the file. -1 when there is none to be had; the file's own exclusion
// still holds then. A copy that already passed a file's gate passes it again at once.
intptr_t SeamOpenGate(const char* path);
// Waits at most `ms` milliseconds to pass; 1 once passed.
int SeamEnterGate(intptr_t gate, unsigned ms);
void SeamCloseGate(intptr_t gate, bool entered);
// A number that changes whenever the file or its journal does, so a waiting copy can tell that the
// copy ahead of it is making progress. A replace's new file is not looked at: a replace that writes for
// longer than kHeldFileWaitMs looks idle.
uint64_t SeamStamp(const char* path);

// The write-side steps (write_steps.cpp).
// Makes the open file hold `data` from `from` on and nothing after it, flushed.
int SeamWriteTail(intptr_t handle, uint64_t from, const char* data, size_t size, bool mayFault);
// The journal of a change about to be made beside `path`, flushed before the change begins.
int SeamWriteJournal(const char* path, const FileJournal& journal);
// Zeroes the journal's magic in place, flushed: for a journal that cannot be removed.
int SeamVoidJournal(const std::string& journalPath);
// Removes a file; one already gone counts as removed.
int SeamRemove(const std::string& path);
// Makes a rename, a removal or a creation in the folder of `path` last (POSIX: the folder's entries are
// flushed; Windows keeps them with the file system's own log).
void SeamFlushFolder(const char* path);
// Writes a replace's new file whole, flushed, with the target's permissions where the system has them.
int SeamWriteNewFile(const std::string& newPath, const char* target, const char* data, size_t size);
// Puts the new file in the target's place (see RawMoveInto).
int SeamReplace(const std::string& newPath, const char* target);
// Removes the new files "<path>-new-<number>" of replaces that a cut or a crash left behind, while the
// file itself is there.
void SeamRemoveLeftovers(const char* path);

// Each system's raw calls under those steps: no cut and no fault. Handles are those the opens of this
// header give (SeamHold, SeamCreate, the RawOpen calls); -1 is none.
// The number of bytes written.
size_t RawWrite(intptr_t handle, const char* data, size_t size);
bool RawSync(intptr_t handle);
// Ends the file at `size`; where that leaves the file's position differs by system, so a writer seeks.
bool RawSetSize(intptr_t handle, uint64_t size);
bool RawSeek(intptr_t handle, uint64_t offset);
bool RawClose(intptr_t handle);
// Removes a file; one already gone counts as removed.
bool RawDelete(const std::string& path);
// The file a journal is written to, made anew; -1 when it cannot be.
intptr_t RawOpenJournal(const std::string& journalPath);
// A journal that could not be removed, opened to be written over in place.
intptr_t RawOpenToVoid(const std::string& journalPath);
// A replace's new file, made anew; POSIX gives it the target's permissions before a byte goes in (it is
// made 0600, so it is never readable by more people than the target).
intptr_t RawOpenNewFile(const std::string& newPath, const char* target);
// The folder of `path`, to flush its entries; -1 where the system has no such step.
intptr_t RawOpenFolder(const char* path);
// Windows: ReplaceFileA, which keeps the target's attributes and security; where it could only take the
// target away, a move finishes and the attributes are put back. POSIX: one rename, which keeps the
// permissions RawOpenNewFile gave.
bool RawMoveInto(const std::string& newPath, const char* target);
// The paths in the folder of `path` whose names begin "<name>-new-" (replaces' new files, and maybe more).
std::vector<std::string> RawLeftovers(const char* path);
// Whether a file is there, without opening it.
bool SeamExists(const std::string& path);
// Reads as ReadFileRange does, without passing the gate or putting anything back first. On Windows a
// holder's unshared open keeps a read out, so it waits a moment for one; POSIX locks keep no read out.
ReadResult SeamRead(const char* path, size_t offset, size_t maxSize, FileImage* image);
// Opens an existing file to change it, held against every other copy: -1 with `busy` false when there
// is no such file, -1 with `busy` true when another copy holds it past a moment's wait (Windows: or
// when the file is there but refused; POSIX tells every failed open as no file).
intptr_t SeamHold(const char* path, bool* busy);
// Makes a new file, held as SeamHold holds one; -1 when the file is there already or cannot be made.
intptr_t SeamCreate(const char* path);
void SeamRelease(intptr_t handle);
// The size of a held file, -1 when it cannot be told, and its bytes, as SeamRead reads a file's.
int64_t SeamSize(intptr_t handle);
ReadResult SeamReadHeld(intptr_t handle, size_t offset, size_t maxSize, FileImage* image);
void SeamPause(unsigned ms);
// This process's number, which makes a replace's new file its own.
unsigned long SeamProcessId();
