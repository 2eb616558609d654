#include "foodlog/log_history.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

enum class Shape { kAppended, kRemoved, kQuantity };

struct Change {
    ChangeKind kind;
    Shape shape;
    int first;                      // appended: where the entries begin; quantity: the entry
    std::vector<int> positions;     // removed: where each entry stood, rising
    std::vector<LogEntry> entries;  // the entries added or removed, in log order
    uint32_t before;                // quantity: the bit patterns of the old and new value, so that
    uint32_t after;                 // taking it back restores the very bytes a save writes
};

std::vector<Change> g_changes;
size_t g_done = 0;  // the first g_done steps are in the log; the rest were taken back
// g_done when the log was last saved; -1 once no walk through the history leads back to it.
long long g_savedAt = 0;

constexpr const char* kChangeNames[] = {"Add", "Delete", "Change Quantity", "Insert Log", "Paste", "Cut"};

uint32_t QuantityBits(int position) {
    uint32_t bits;
    std::memcpy(&bits, &EntryAt(position).quantity, sizeof bits);
    return bits;
}

void Record(Change change) {
    g_changes.erase(g_changes.begin() + static_cast<std::ptrdiff_t>(g_done), g_changes.end());
    if (g_savedAt > static_cast<long long>(g_done)) g_savedAt = -1;
    g_changes.push_back(std::move(change));
    g_done = g_changes.size();
}

void FollowSavedState() {
    if (g_savedAt == static_cast<long long>(g_done)) {
        ClearModified();
    } else {
        MarkModified();
    }
}

int RemovePositions(const std::vector<int>& positions) {
    if (positions.empty() || positions.back() >= EntryCount()) return 0;
    for (size_t i = positions.size(); i-- > 0;)
        RemoveEntry(positions[i]);
    return 1;
}

// Each entry goes back where it stood; in rising order every later position is counted with the
// entries put back before it.
int InsertAtPositions(const std::vector<int>& positions, const std::vector<LogEntry>& entries) {
    int count = EntryCount();
    if (count + static_cast<int>(positions.size()) > kMaxLogEntries) return 0;
    for (size_t i = 0; i < positions.size(); ++i)
        if (positions[i] > count + static_cast<int>(i)) return 0;
    for (size_t i = 0; i < positions.size(); ++i)
        InsertEntry(positions[i], entries[i]);
    return 1;
}

int SetQuantityBits(int position, uint32_t bits) {
    if (position < 0 || position >= EntryCount()) return 0;
    LogEntry entry = EntryAt(position);
    std::memcpy(&entry.quantity, &bits, sizeof bits);
    return ReplaceEntry(position, entry);
}

// Walks one step; a log that no longer holds what the step expects is left alone.
int Apply(const Change& change, bool forward) {
    const int added = static_cast<int>(change.entries.size());
    switch (change.shape) {
        case Shape::kAppended:
            if (forward) return EntryCount() == change.first && AppendEntries(change.entries.data(), added);
            if (EntryCount() != change.first + added) return 0;
            for (int i = 0; i < added; ++i)
                RemoveEntry(EntryCount() - 1);
            return 1;
        case Shape::kRemoved:
            return forward ? RemovePositions(change.positions) : InsertAtPositions(change.positions, change.entries);
        case Shape::kQuantity:
            return SetQuantityBits(change.first, forward ? change.after : change.before);
    }
    return 0;
}

void DropHistory() {
    g_changes.clear();
    g_done = 0;
    g_savedAt = -1;
}

}  // namespace

const char* ChangeName(ChangeKind kind) {
    return kChangeNames[static_cast<int>(kind)];
}

int AppendAsChange(ChangeKind kind, const LogEntry* entries, int count) {
    int first = EntryCount();
    if (count <= 0 || !AppendEntries(entries, count)) return 0;
    Change change = {kind, Shape::kAppended, first, {}, std::vector<LogEntry>(entries, entries + count), 0, 0};
    Record(std::move(change));
    return 1;
}

int RemoveAsChange(ChangeKind kind, const int* positions, int count) {
    if (count <= 0 || !positions) return 0;
    std::vector<int> rising(positions, positions + count);
    std::sort(rising.begin(), rising.end());
    if (rising.front() < 0 || rising.back() >= EntryCount() ||
        std::adjacent_find(rising.begin(), rising.end()) != rising.end())
        return 0;
    Change change = {kind, Shape::kRemoved, 0, std::move(rising), {}, 0, 0};
    for (int position : change.positions)
        change.entries.push_back(EntryAt(position));
    RemovePositions(change.positions);
    Record(std::move(change));
    return 1;
}

int SetQuantityAsChange(int position, float quantity) {
    if (position < 0 || position >= EntryCount()) return 0;
    uint32_t before = QuantityBits(position);
    SetQuantity(position, quantity);
    Record({ChangeKind::kChangeQuantity, Shape::kQuantity, position, {}, {}, before, QuantityBits(position)});
    return 1;
}

int NextUndo(ChangeKind* kind) {
    if (g_done == 0) return 0;
    if (kind) *kind = g_changes[g_done - 1].kind;
    return 1;
}

int NextRedo(ChangeKind* kind) {
    if (g_done >= g_changes.size()) return 0;
    if (kind) *kind = g_changes[g_done].kind;
    return 1;
}

int UndoChange() {
    if (g_done == 0) return 0;
    if (!Apply(g_changes[g_done - 1], false)) {
        DropHistory();
        return 0;
    }
    --g_done;
    FollowSavedState();
    return 1;
}

int RedoChange() {
    if (g_done >= g_changes.size()) return 0;
    if (!Apply(g_changes[g_done], true)) {
        DropHistory();
        return 0;
    }
    ++g_done;
    FollowSavedState();
    return 1;
}

void StartHistory() {
    g_changes.clear();
    g_done = 0;
    MarkSaved();
}

void MarkSaved() {
    g_savedAt = static_cast<long long>(g_done);
    ClearModified();
}
