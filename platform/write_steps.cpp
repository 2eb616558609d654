// The write-side steps of the file seam, written once over each system's raw calls: every write, flush,
// change of size, delete and rename passes the tests' cut here, so both systems cut them alike (POSIX
// has one more: the flush of a folder).
#include "platform/file_io.h"
#include "platform/file_seam.h"
#include "platform/text.h"

namespace {

// Writes all bytes, unless a short write was injected and `mayFault` lets it act.
bool WriteAll(intptr_t file, const char* data, size_t size, bool mayFault) {
    size_t limit = size;
    if (mayFault && CurrentFileFault() == FileFault::kShortWrite && size > 0) limit = size - 1;
    return RawWrite(file, data, limit) == size;
}

// What a power cut would let through of each call.
bool CutWrite(intptr_t file, const char* data, size_t size, bool mayFault = true) {
    switch (NextWriteStep()) {
        case WriteStep::kGo:
            return WriteAll(file, data, size, mayFault);
        case WriteStep::kPartial:
            WriteAll(file, data, size / 2, false);
            return true;
        case WriteStep::kLost:
            return true;
    }
    return false;
}
bool CutSync(intptr_t file) {
    return NextWriteStep() != WriteStep::kGo || RawSync(file);
}
bool CutSetSize(intptr_t file, uint64_t size) {
    return NextWriteStep() != WriteStep::kGo || RawSetSize(file, size);
}
bool CutDelete(const std::string& path) {
    return NextWriteStep() != WriteStep::kGo || RawDelete(path);
}

// Writes the bytes whole and flushes them, then closes the file; false on any failure.
bool WriteWhole(intptr_t file, const char* const* parts, const size_t* sizes, int count, bool mayFault) {
    if (file == -1) return false;
    bool ok = true;
    for (int i = 0; i < count && ok; ++i)
        ok = CutWrite(file, parts[i], sizes[i], mayFault);
    ok = ok && CutSync(file);
    return RawClose(file) && ok;
}

}  // namespace

int SeamWriteTail(intptr_t handle, uint64_t from, const char* data, size_t size, bool mayFault) {
    // An injected short write fails a change that only cuts the file short, too.
    if (mayFault && size == 0 && CurrentFileFault() == FileFault::kShortWrite) return 0;
    return RawSeek(handle, from) && CutWrite(handle, data, size, mayFault) &&
           CutSetSize(handle, from + size) && CutSync(handle);
}

int SeamWriteJournal(const char* path, const FileJournal& journal) {
    const std::string header = EncodeFileJournalHeader(journal);
    const std::string trailer = EncodeFileJournalTrailer(journal, header);
    const char* parts[] = {header.data(), journal.saved.data(), trailer.data()};
    const size_t sizes[] = {header.size(), journal.saved.size(), trailer.size()};
    return WriteWhole(RawOpenJournal(JournalPathOf(path)), parts, sizes, 3, false);
}

int SeamVoidJournal(const std::string& journalPath) {
    const char zeroes[8] = {};
    const char* parts[] = {zeroes};
    const size_t sizes[] = {sizeof zeroes};
    return WriteWhole(RawOpenToVoid(journalPath), parts, sizes, 1, false);
}

int SeamRemove(const std::string& path) {
    return CutDelete(path);
}

void SeamFlushFolder(const char* path) {
    const intptr_t folder = RawOpenFolder(path);
    if (folder == -1) return;
    CutSync(folder);
    RawClose(folder);
}

int SeamWriteNewFile(const std::string& newPath, const char* target, const char* data, size_t size) {
    const char* parts[] = {data};
    const size_t sizes[] = {size};
    return WriteWhole(RawOpenNewFile(newPath, target), parts, sizes, 1, true);
}

int SeamReplace(const std::string& newPath, const char* target) {
    return NextWriteStep() != WriteStep::kGo || RawMoveInto(newPath, target);
}

// Only "<path>-new-<process number>": a person's own "<path>-newer" beside it is theirs. And only while
// the file is there, since a replace cut off after the system took the target away leaves its new file
// as the only copy.
void SeamRemoveLeftovers(const char* path) {
    if (!SeamExists(path)) return;
    const size_t prefix = FileNameOf(path).size() + sizeof "-new-" - 1;
    for (const std::string& leftover : RawLeftovers(path)) {
        const std::string_view name = FileNameOf(leftover);
        const bool numbered =
            name.size() > prefix && name.find_first_not_of("0123456789", prefix) == std::string_view::npos;
        if (numbered) CutDelete(leftover);
    }
}
