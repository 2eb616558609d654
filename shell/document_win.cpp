#include "shell/document_win.h"

#include <cstdio>

#include "resources/resource.h"
#include "shell/message_box_win.h"

char g_documentPath[kPathSize];
char g_documentTitle[kPathSize];

namespace {
constexpr char kProgramName[] = "MealTally";
constexpr char kUntitled[] = "(untitled)";

const char* ShownTitle(const char* title) { return title && title[0] ? title : kUntitled; }
}  // namespace

void SetDocumentCaption(HWND window, const char* title) {
    char caption[kPathSize + 16];
    std::snprintf(caption, sizeof caption, "%s - %s", kProgramName, ShownTitle(title));
    SetWindowTextA(window, caption);
}

int AskSaveChanges(HWND window, const char* title) {
    char text[kPathSize + 32];
    std::snprintf(text, sizeof text, "Save current changes in %s?", ShownTitle(title));
    int answer = ShowMessageBox(window, text, kProgramName, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES && SendMessageA(window, WM_COMMAND, IDM_FILE_SAVE, 0) == 0) answer = IDCANCEL;
    // A box that could not be shown answers nothing: keep the log rather than lose it.
    if (answer != IDYES && answer != IDNO) answer = IDCANCEL;
    return answer;
}
