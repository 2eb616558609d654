#include "platform/startup_marks_win.h"

#include <windows.h>

namespace {
StartupMark g_marks[kMaxStartupMarks];
int g_markCount;
}  // namespace

void MarkStartup(const char* step) {
    if (g_markCount >= kMaxStartupMarks) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    g_marks[g_markCount++] = {step, now.QuadPart};
}

int StartupMarkCount() {
    return g_markCount;
}

const StartupMark* StartupMarks() {
    return g_marks;
}
