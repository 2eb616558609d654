#include "platform/edit_line_win.h"

#include <cstring>

namespace {
constexpr size_t kMaxEditLine = 0xFFFF;
}  // namespace

size_t EditLineLength(HWND edit) {
    if (!edit) return 0;
    LRESULT length = SendMessageA(edit, EM_LINELENGTH, 0, 0);
    if (length <= 0) return 0;
    return static_cast<size_t>(length) > kMaxEditLine ? kMaxEditLine : static_cast<size_t>(length);
}

int GetEditLine(HWND edit, char* text, int size) {
    if (size <= 0) return 0;
    text[0] = '\0';
    int length = static_cast<int>(EditLineLength(edit));
    // EM_GETLINE takes the buffer's capacity in its first WORD, so it needs two bytes to work with.
    if (length <= 0 || size < 2) return 0;
    if (length > size - 1) length = size - 1;
    WORD capacity = static_cast<WORD>(length);
    std::memcpy(text, &capacity, sizeof capacity);
    int copied = static_cast<int>(SendMessageA(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(text)));
    if (copied <= 0) copied = 0;
    if (copied > length) copied = length;
    text[copied] = '\0';
    return copied;
}
