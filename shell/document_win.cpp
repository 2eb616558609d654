#include "shell/document_win.h"

#include <cstdio>

char g_documentPath[kPathSize];
char g_documentTitle[kPathSize];

namespace {
constexpr char kProgramName[] = "MealTally";
constexpr char kUntitled[] = "(untitled)";
}  // namespace

void SetDocumentCaption(HWND window, const char* title) {
    char caption[kPathSize + 16];
    std::snprintf(caption, sizeof caption, "%s - %s", kProgramName, title && title[0] ? title : kUntitled);
    SetWindowTextA(window, caption);
}
