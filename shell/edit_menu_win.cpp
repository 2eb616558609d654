#include "shell/edit_menu_win.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "foodlog/add_food_win.h"
#include "foodlog/log_edit_win.h"
#include "foodlog/log_history.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "logdoc/copied_entries.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "resources/resource.h"

namespace {

constexpr int kMenuTextSize = 64;
// Another program may hold the clipboard for a moment: a few short tries before giving up.
constexpr int kClipboardTries = 5;
constexpr DWORD kClipboardRetryMilliseconds = 10;

bool OpenTheClipboard(HWND window) {
    for (int attempt = 0; attempt < kClipboardTries; ++attempt) {
        if (OpenClipboard(window)) return true;
        Sleep(kClipboardRetryMilliseconds);
    }
    return false;
}

// Hands a copy of the bytes to the clipboard, which owns them once it took them.
bool SetClipboardBytes(UINT format, const char* bytes, size_t size) {
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return false;
    void* target = GlobalLock(memory.get());
    if (!target) return false;
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory.get());
    if (!SetClipboardData(format, memory.get())) return false;
    memory.release();
    return true;
}

// The bytes of the clipboard's entries; empty when it holds none. Another program may have put any
// amount there: no more is read than the longest copy of entries takes.
std::string ClipboardEntries(HWND window) {
    std::string bytes;
    if (!IsClipboardFormatAvailable(EntriesFormat()) || !OpenTheClipboard(window)) return bytes;
    HANDLE data = GetClipboardData(EntriesFormat());
    const void* source = data ? GlobalLock(data) : nullptr;
    if (source) {
        SIZE_T size = GlobalSize(data);
        bytes.assign(static_cast<const char*>(source), size < kMaxCopiedEntriesSize ? size : kMaxCopiedEntriesSize);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

int CountSelected() {
    int positions[kMaxLogEntries];
    return SelectedEntries(positions);
}

void SetItem(HMENU menu, UINT id, bool enabled, const char* text = nullptr) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE | (text ? MIIM_STRING : 0);
    item.fState = enabled ? MFS_ENABLED : MFS_GRAYED;
    item.dwTypeData = const_cast<char*>(text);
    SetMenuItemInfoA(menu, id, FALSE, &item);
}

// "&Undo Delete\tCtrl+Z", or "&Undo\tCtrl+Z" with no step to take back.
void SetStepItem(HMENU menu, UINT id, const char* verb, const char* shortcut, int (*next)(ChangeKind*)) {
    ChangeKind kind;
    bool enabled = next(&kind) != 0;
    char text[kMenuTextSize];
    std::snprintf(text, sizeof text, "%s%s%s\t%s", verb, enabled ? " " : "", enabled ? ChangeName(kind) : "",
                  shortcut);
    SetItem(menu, id, enabled, text);
}

}  // namespace

UINT EntriesFormat() {
    static UINT format = RegisterClipboardFormatA(kEntriesFormatName);
    return format;
}

LRESULT UndoLogChange() {
    FinishQuantityEdit();
    if (UndoChange()) RefreshLog();
    return 0;
}

LRESULT RedoLogChange() {
    FinishQuantityEdit();
    if (RedoChange()) RefreshLog();
    return 0;
}

LRESULT CopyEntries(HWND window) {
    FinishQuantityEdit();
    if (EntryCount() == 0) return 0;
    int positions[kMaxLogEntries];
    int count = SelectedEntries(positions);
    std::string text = CopiedEntriesText(positions, count);
    std::unique_ptr<LogEntry[]> entries(new (std::nothrow) LogEntry[kMaxLogEntries]);
    if (!entries) return 0;
    int copied = count > 0 ? count : EntryCount();
    for (int i = 0; i < copied; ++i)
        entries[i] = EntryAt(count > 0 ? positions[i] : i);
    std::string own;
    if (!EncodeCopiedEntries(entries.get(), copied, &own)) return 0;
    bool done = false;
    if (OpenTheClipboard(window)) {
        done = EmptyClipboard() && SetClipboardBytes(CF_TEXT, text.c_str(), text.size() + 1) &&
               SetClipboardBytes(EntriesFormat(), own.data(), own.size());
        CloseClipboard();
    }
    if (!done) ShowMessageBox(window, kCopyFailedMessage, kProgramCaption, MB_ICONWARNING);
    return done ? 1 : 0;
}

// Deletes only what was put on the clipboard: a cut whose copy failed keeps its entries.
LRESULT CutEntries(HWND window) {
    FinishQuantityEdit();
    if (CountSelected() == 0 || !CopyEntries(window)) return 0;
    if (RemoveSelectedEntries(ChangeKind::kCut)) MarkModified();
    return 0;
}

LRESULT PasteEntries(HWND window) {
    FinishQuantityEdit();
    std::string bytes = ClipboardEntries(window);
    if (bytes.empty()) return 0;
    std::unique_ptr<LogEntry[]> entries(new (std::nothrow) LogEntry[kMaxLogEntries]);
    int count = 0;
    if (!entries || !DecodeCopiedEntries(bytes, entries.get(), &count)) {
        ShowMessageBox(window, kPasteDamagedMessage, kProgramCaption, MB_ICONWARNING);
        return 0;
    }
    if (!AppendAsChange(ChangeKind::kPaste, entries.get(), count)) {
        char text[sizeof kPasteTooManyFormat + 32];
        std::snprintf(text, sizeof text, kPasteTooManyFormat, count, kMaxLogEntries - EntryCount());
        ShowMessageBox(window, text, kLimitCaption, MB_ICONWARNING);
        return 0;
    }
    MarkModified();
    RefreshLog();
    return 0;
}

LRESULT DeleteEntries() {
    FinishQuantityEdit();
    DeleteSelectedEntries();
    return 0;
}

LRESULT SelectAllInLog() {
    FinishQuantityEdit();
    SelectAllEntries();
    // Selected rows show only in a log that has the focus.
    if (EntryCount() > 0) SetFocus(LogListView());
    return 0;
}

void UpdateEditMenu(HMENU editMenu) {
    bool anySelected = CountSelected() > 0;
    SetStepItem(editMenu, IDM_EDIT_UNDO, "&Undo", "Ctrl+Z", NextUndo);
    SetStepItem(editMenu, IDM_EDIT_REDO, "&Redo", "Ctrl+Y", NextRedo);
    SetItem(editMenu, IDM_EDIT_CUT, anySelected);
    SetItem(editMenu, IDM_EDIT_COPY, EntryCount() > 0);
    SetItem(editMenu, IDM_EDIT_PASTE, IsClipboardFormatAvailable(EntriesFormat()) != 0);
    SetItem(editMenu, IDM_EDIT_DELETE, anySelected);
    SetItem(editMenu, IDM_EDIT_SELECT_ALL, EntryCount() > 0);
}
