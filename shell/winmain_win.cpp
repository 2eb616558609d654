#include <windows.h>

#include "shell/main_window_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    return RunPlatelog(instance, commandLine, show);
}
