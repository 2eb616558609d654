#include "fooddb/food_files_win.h"

#include <cstring>

#include "platform/file_io.h"

// The USDA table has thousands of lines: the list reserves its storage once and is not redrawn
// per insertion, and every item is parsed straight out of the one file buffer.
int FillFoodList(HWND list, const char* path, FoodFile file) {
    FileImage image;
    if (ReadWholeFile(path, &image) != ReadResult::kOk) return 0;
    std::string_view data(image.Data(), image.Size());
    size_t count = 0;
    size_t textBytes = 0;
    CountFoodListItems(data, file, &count, &textBytes);
    if (count == 0) return 1;

    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(textBytes + count));
    int ok = 1;
    size_t position = 0;
    FoodListItem item;
    char text[kItemTextSize];
    while (NextFoodListItem(data, file, &position, &item)) {
        std::memcpy(text, item.text.data(), item.text.size());
        text[item.text.size()] = '\0';
        LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (index < 0) {
            ok = 0;
            break;
        }
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(item.offset));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return ok;
}
