// Start-up as a person waits for it: whole processes, from their creation until the main window is
// visible, against the floor program; and where platelog's own start-up time goes, step by step.
#pragma once

// With the whole SR28 table installed: prints the medians of the floor and of platelog.exe, started
// alternately, and their ratio; then the steps of the program's start-up, run in copies of this
// benchmark that `benchExe` starts with --start-steps.
void RunStartupBenchmark(const char* programExe, const char* floorExe, const char* benchExe, int runs);

// The --start-steps mode: runs the program as WinMain does, closes it once its message loop runs and
// prints one line: the milliseconds from process creation to each start-up mark.
int PrintStartupSteps();
