// The record of an open or save dialog, filled as every dialog of the program fills it.
#pragma once

#include <windows.h>
#include <commdlg.h>

// The record without the members Windows 2000 added (76 bytes in the 32-bit program), for the owner,
// its filter, default extension and title, and the buffer that gets the chosen path.
OPENFILENAMEA FileDialogRecord(HWND owner, const char* filter, const char* defaultExtension, const char* title,
                               char* file, DWORD fileSize, DWORD flags);
