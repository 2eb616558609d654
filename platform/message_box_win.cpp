#include "platform/message_box_win.h"

namespace {

int SystemMessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
    return MessageBoxA(owner, text, caption, flags);
}

MessageBoxFunction g_messageBox = SystemMessageBox;

}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
    return g_messageBox(owner, text, caption, flags);
}

void SetMessageBoxFunction(MessageBoxFunction function) {
    g_messageBox = function ? function : SystemMessageBox;
}
