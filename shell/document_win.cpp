#include "shell/document_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foodlog/add_food_win.h"
#include "foodlog/log_history.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "logdoc/log_document.h"
#include "logdoc/log_document_win.h"
#include "platform/file_dialog_win.h"
#include "platform/message_box_win.h"
#include "platform/text.h"
#include "printing/print_job_win.h"
#include "resources/resource.h"
#include "shell/command_line.h"

static void InitFileDialog(HWND window);

namespace {

char g_documentPath[kPathSize];
char g_documentTitle[kPathSize];

constexpr char kUntitled[] = "(untitled)";
constexpr char kInsertLogTitle[] = "Insert Log";

OPENFILENAMEA g_fileDialog;

const char* ShownTitle(const char* title) {
    return title && title[0] ? title : kUntitled;
}

void CopyPath(char* destination, const char* source) {
    lstrcpynA(destination, source, kPathSize);
}

// The dialog works on copies, so a cancelled dialog leaves the document's path and title alone.
int ChooseFile(HWND window, char* path, char* title, DWORD flags, bool save,
               const char* dialogTitle = nullptr) {
    char chosenPath[kPathSize];
    char chosenTitle[kPathSize] = "";
    CopyPath(chosenPath, path);
    g_fileDialog.hwndOwner = window;
    g_fileDialog.lpstrFile = chosenPath;
    g_fileDialog.nMaxFile = kPathSize;
    g_fileDialog.lpstrFileTitle = chosenTitle;
    g_fileDialog.nMaxFileTitle = kPathSize;
    g_fileDialog.Flags = flags;
    g_fileDialog.lpstrTitle = dialogTitle;
    BOOL chosen = save ? GetSaveFileNameA(&g_fileDialog) : GetOpenFileNameA(&g_fileDialog);
    g_fileDialog.lpstrFile = nullptr;
    g_fileDialog.lpstrFileTitle = nullptr;
    g_fileDialog.lpstrTitle = nullptr;
    if (!chosen) return 0;
    CopyPath(path, chosenPath);
    CopyPath(title, chosenTitle);
    return 1;
}

void ForgetDocument() {
    g_documentPath[0] = '\0';
    g_documentTitle[0] = '\0';
}

}  // namespace

const char* DocumentPath() {
    return g_documentPath;
}

const char* DocumentTitle() {
    return g_documentTitle;
}

void ResetDocument(HWND window) {
    ForgetDocument();
    InitFileDialog(window);
}

void SetDocumentCaption(HWND window, const char* title) {
    char caption[kPathSize + 16];
    std::snprintf(caption, sizeof caption, "%s - %s", kProgramCaption, ShownTitle(title));
    SetWindowTextA(window, caption);
}

// A warning owned by the window, caption "MealTally", with the title (or "(untitled)") in the format's %s.
static void ShowDocumentMessage(HWND window, const char* format, const char* title) {
    char text[kPathSize + 64];
    std::snprintf(text, sizeof text, format, ShownTitle(title));
    ShowMessageBox(window, text, kProgramCaption, MB_ICONWARNING);
}

int AskSaveChanges(HWND window, const char* title) {
    char text[kPathSize + 32];
    std::snprintf(text, sizeof text, "Save current changes in %s?", ShownTitle(title));
    int answer = ShowMessageBox(window, text, kProgramCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES && SendMessageA(window, WM_COMMAND, IDM_FILE_SAVE, 0) == 0) answer = IDCANCEL;
    // A box that could not be shown answers nothing: keep the log rather than lose it.
    if (answer != IDYES && answer != IDNO) answer = IDCANCEL;
    return answer;
}

// The open and save dialogs share one record, prepared once.
static void InitFileDialog(HWND window) {
    g_fileDialog = FileDialogRecord(window, kLogFileFilter, kLogExtension, nullptr, nullptr, 0, 0);
}

// Nonzero when the user chose a file; the buffers (kPathSize each) are written only then.
static int ChooseOpenFile(HWND window, char* path, char* title) {
    return ChooseFile(window, path, title, OFN_HIDEREADONLY | OFN_CREATEPROMPT, false);
}

// An untitled log is offered today's date as its name: one log a day, as the Summary of Days reads them.
static int ChooseSaveFile(HWND window, char* path, char* title) {
    if (path[0]) return ChooseFile(window, path, title, OFN_OVERWRITEPROMPT, true);
    char proposed[kPathSize];
    char chosenTitle[kPathSize] = "";
    SYSTEMTIME today;
    GetLocalTime(&today);
    std::snprintf(proposed, sizeof proposed, "%04u-%02u-%02u.%s", today.wYear, today.wMonth, today.wDay,
                  kLogExtension);
    if (!ChooseFile(window, proposed, chosenTitle, OFN_OVERWRITEPROMPT, true)) return 0;
    CopyPath(path, proposed);
    CopyPath(title, chosenTitle);
    return 1;
}

LRESULT NewDocument(HWND window) {
    if (IsModified() && AskSaveChanges(window, g_documentTitle) == IDCANCEL) return 0;
    ForgetDocument();
    SetDocumentCaption(window, g_documentTitle);
    SendMessageA(LogListView(), LVM_DELETEALLITEMS, 0, 0);
    ClearLog();
    StartHistory();
    return 0;
}

// A log that was not replaced (the dialog cancelled, the file refused) keeps its history; it counts as
// saved as it stands, as the cleared modified flag says.
LRESULT OpenDocument(HWND window) {
    if (IsModified() && AskSaveChanges(window, g_documentTitle) == IDCANCEL) return 0;
    bool opened = false;
    if (ChooseOpenFile(window, g_documentPath, g_documentTitle)) {
        opened = OpenLogDocument(g_documentPath) != 0;
        if (!opened) {
            ShowMessageBox(window, kOpenFailedMessage, kOpenFailedCaption, MB_ICONWARNING);
            ForgetDocument();
        }
    }
    SetDocumentCaption(window, g_documentTitle);
    if (opened) {
        StartHistory();
    } else {
        MarkSaved();
    }
    return 0;
}

// The chosen file's name is kept apart from the document's, so Save still writes the log's own file.
LRESULT InsertDocument(HWND window) {
    char path[kPathSize] = "";
    char title[kPathSize] = "";
    if (!ChooseFile(window, path, title, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, false, kInsertLogTitle))
        return 0;
    int count = 0;
    switch (InsertLogDocumentIntoView(path, &count)) {
        case InsertResult::kInserted:
            MarkModified();
            return 1;
        case InsertResult::kTooMany: {
            char text[sizeof kInsertTooManyFormat + kPathSize + 32];
            std::snprintf(text, sizeof text, kInsertTooManyFormat, title, count,
                          kMaxLogEntries - EntryCount());
            ShowMessageBox(window, text, kLimitCaption, MB_ICONWARNING);
            return 0;
        }
        case InsertResult::kUnreadable:
            break;
    }
    ShowMessageBox(window, kOpenFailedMessage, kOpenFailedCaption, MB_ICONWARNING);
    return 0;
}

LRESULT SaveDocument(HWND window) {
    if (!g_documentPath[0]) return SaveDocumentAs(window);
    if (!SaveLogDocument(EntryCount(), g_documentPath)) {
        ShowDocumentMessage(window, kCouldNotWriteFormat, g_documentTitle);
        return 0;
    }
    MarkSaved();
    return 1;
}

LRESULT SaveDocumentAs(HWND window) {
    if (!ChooseSaveFile(window, g_documentPath, g_documentTitle)) return 0;
    SetDocumentCaption(window, g_documentTitle);
    // The caption already names the new file, so only a message tells the user nothing was written.
    if (!SaveLogDocument(EntryCount(), g_documentPath)) {
        ShowDocumentMessage(window, kCouldNotWriteFormat, g_documentTitle);
        return 0;
    }
    MarkSaved();
    return 1;
}

LRESULT PrintDocument(HWND window) {
    if (!PrintLog(window, g_documentTitle)) ShowDocumentMessage(window, kPrintFailedFormat, g_documentTitle);
    return 0;
}

LRESULT ShowAbout(HWND window) {
    char text[128];
    std::snprintf(text, sizeof text, "Help is available on our Website: \r\n %s", kProductAddress);
    ShowMessageBox(window, text, "Help", MB_OK);
    return 0;
}

void OpenCommandLineDocument(HWND window, const char* commandLine) {
    std::string path;
    StartDocument start = ParseCommandLine(commandLine ? commandLine : "", &path);
    if (start == StartDocument::kNone) return;
    char fullPath[kPathSize] = "";
    DWORD length = GetFullPathNameA(path.c_str(), sizeof fullPath, fullPath, nullptr);
    if (length == 0 || length >= sizeof fullPath) CopyPath(fullPath, path.c_str());
    if (OpenLogDocument(fullPath)) {
        StartHistory();
    } else {
        ShowMessageBox(window, kOpenFailedMessage, kOpenFailedCaption, MB_ICONWARNING);
        start = StartDocument::kUntitled;
    }
    if (start == StartDocument::kUntitled) {
        // A bare path's document stays untitled: a later Save asks for a name.
        ForgetDocument();
        return;
    }
    // Opened by its association: named as File > Open names it, so Save writes it back.
    CopyPath(g_documentPath, fullPath);
    std::string title(FileNameOf(fullPath));
    CopyPath(g_documentTitle, title.c_str());
    SetDocumentCaption(window, g_documentTitle);
}
