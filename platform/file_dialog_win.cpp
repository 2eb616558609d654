#include "platform/file_dialog_win.h"

OPENFILENAMEA FileDialogRecord(HWND owner, const char* filter, const char* defaultExtension, const char* title,
                               char* file, DWORD fileSize, DWORD flags) {
    OPENFILENAMEA record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = owner;
    record.lpstrFilter = filter;
    record.lpstrDefExt = defaultExtension;
    record.lpstrTitle = title;
    record.lpstrFile = file;
    record.nMaxFile = fileSize;
    record.Flags = flags;
    return record;
}
