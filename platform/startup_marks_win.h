// Where start-up time goes: the program marks the moments it reaches, and the start-up benchmark reads
// them. A mark costs one counter read; nothing is ever shown or written.
#pragma once

struct StartupMark {
    const char* step;    // what was done since the mark before
    long long counter;   // QueryPerformanceCounter when it was done
};

void MarkStartup(const char* step);
// The marks so far, in order; at most kMaxStartupMarks are kept.
int StartupMarkCount();
const StartupMark* StartupMarks();
constexpr int kMaxStartupMarks = 32;
