#include "platform/same_file.h"

#include <windows.h>

#include "platform/handles_win.h"

namespace {

// The volume and the file's index on it identify a file on Windows; any access right will do.
int FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    UniqueFile file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    return GetFileInformationByHandle(file.get(), info) != 0;
}

}  // namespace

int IsSameFile(const char* firstPath, const char* secondPath) {
    if (lstrcmpiA(firstPath, secondPath) == 0) return 1;
    BY_HANDLE_FILE_INFORMATION first;
    BY_HANDLE_FILE_INFORMATION second;
    if (!FileIdentity(firstPath, &first) || !FileIdentity(secondPath, &second)) return 0;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
