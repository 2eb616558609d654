// The steps of a journaled change that each system takes its own way (file_io_win.cpp and
// file_io_posix.cpp); the append, the held file, the rewrite and the restore are written once over them, in
// file_io.cpp. Every step
// goes through the cut seam of the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_io.h"

enum class WriteStep { kGo, kPartial, kLost };
// Counts one write-side call and says how much of it happens under the tests' cut (CutWritesAt).
WriteStep NextWriteStep();
// A file was put back from its journal.
void CountRestoredFile();

// Makes the open file hold `data` from `from` on and nothing after it, flushed.
int SeamWriteTail(intptr_t handle, uint64_t from, const char* data, size_t size, bool mayFault);
// The journal of a change about to be made beside `path`, flushed before the change begins.
int SeamWriteJournal(const char* path, const FileJournal& journal);
// Removes a file; one already gone counts as removed.
int SeamRemove(const std::string& path);
// Whether a file is there, without opening it.
bool SeamExists(const std::string& path);
// Reads as ReadFileRange does, without putting anything back first.
ReadResult SeamRead(const char* path, size_t offset, size_t maxSize, FileImage* image);
// Opens an existing file to change it, held against every other copy: -1 with `busy` false when there
// is no such file, -1 with `busy` true when another copy holds it past a moment's wait.
intptr_t SeamHold(const char* path, bool* busy);
// Makes a new file, held as SeamHold holds one; -1 when the file is there already or cannot be made.
intptr_t SeamCreate(const char* path);
void SeamRelease(intptr_t handle);
// The size of a held file, -1 when it cannot be told, and its bytes, as SeamRead reads a file's.
int64_t SeamSize(intptr_t handle);
ReadResult SeamReadHeld(intptr_t handle, size_t offset, size_t maxSize, FileImage* image);
