#include "fooddb/food_files_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/file_io.h"
#include "platform/text.h"

namespace {

// Longest sort key of a 255-byte text, with room to spare.
constexpr int kSortKeySize = 4096;

template <typename T>
struct HeapArray {
    T* data = nullptr;
    ~HeapArray() { std::free(data); }
    int Allocate(size_t count) {
        if (count > static_cast<size_t>(-1) / sizeof(T)) return 0;
        data = static_cast<T*>(std::malloc(count * sizeof(T) + 1));
        return data != nullptr;
    }
};

struct KeyedItem {
    FoodListItem item;
    size_t keyStart;
    size_t keyLength;
};

int AddText(HWND list, UINT message, WPARAM index, const FoodListItem& item) {
    char text[kItemTextSize];
    if (!item.text.empty()) std::memcpy(text, item.text.data(), item.text.size());
    text[item.text.size()] = '\0';
    LRESULT at = SendMessageA(list, message, index, reinterpret_cast<LPARAM>(text));
    if (at < 0) return 0;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(item.offset));
    return 1;
}

// File order; a sorted list box places each text itself.
int AddInFileOrder(HWND list, std::string_view data, FoodFile file) {
    size_t position = 0;
    FoodListItem item;
    while (NextFoodListItem(data, file, &position, &item)) {
        if (!AddText(list, LB_ADDSTRING, 0, item)) return 0;
    }
    return 1;
}

// Not redrawn per insertion, storage reserved once.
struct BulkFill {
    HWND list;
    BulkFill(HWND list, size_t count, size_t textBytes) : list(list) {
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count),
                     static_cast<LPARAM>(textBytes + count));
    }
    ~BulkFill() {
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
};

// A sorted list box finds each new text's place with about log2(n) locale-aware comparisons, which
// for the 8,790 foods of the USDA table cost far more than everything else of the start-up. The
// sort key of a text orders exactly as that comparison does (the list's locale, case ignored), so
// each text gets its key once, the items are sorted by key, and they are appended in that order:
// a sorted list box does not re-sort texts inserted at an index. Returns -1 when the keys cannot be
// made (memory, an unexpectedly long key), leaving the list untouched; else 1 or 0 as the inserts went.
int InsertPresorted(HWND list, std::string_view data, FoodFile file) {
    LCID locale = static_cast<LCID>(SendMessageA(list, LB_GETLOCALE, 0, 0));
    size_t capacity = CountLineFeeds(data) + 1;  // at most one food a line
    HeapArray<KeyedItem> items;
    HeapArray<size_t> order;
    HeapArray<unsigned char> keys;
    size_t keyCapacity = data.size() + kSortKeySize;
    if (!items.Allocate(capacity) || !order.Allocate(capacity) || !keys.Allocate(keyCapacity)) return -1;

    size_t position = 0;
    size_t used = 0;
    size_t textBytes = 0;
    size_t n = 0;
    FoodListItem item;
    while (n < capacity && NextFoodListItem(data, file, &position, &item)) {
        if (keyCapacity - used < kSortKeySize) {
            size_t grown = keyCapacity * 2;
            void* bigger = std::realloc(keys.data, grown + 1);
            if (!bigger) return -1;
            keys.data = static_cast<unsigned char*>(bigger);
            keyCapacity = grown;
        }
        int length = 0;
        if (!item.text.empty()) {
            length = LCMapStringA(locale, LCMAP_SORTKEY | NORM_IGNORECASE, item.text.data(),
                                  static_cast<int>(item.text.size()),
                                  reinterpret_cast<char*>(keys.data + used), kSortKeySize);
            if (length <= 0) return -1;
        }
        items.data[n] = {item, used, static_cast<size_t>(length)};
        order.data[n] = n;
        used += static_cast<size_t>(length);
        textBytes += item.text.size();
        ++n;
    }
    if (n == 0) return 1;
    const KeyedItem* keyed = items.data;
    const unsigned char* keyBytes = keys.data;
    std::sort(order.data, order.data + n, [keyed, keyBytes](size_t a, size_t b) {
        const KeyedItem& x = keyed[a];
        const KeyedItem& y = keyed[b];
        size_t common = std::min(x.keyLength, y.keyLength);
        int c = common ? std::memcmp(keyBytes + x.keyStart, keyBytes + y.keyStart, common) : 0;
        if (c != 0) return c < 0;
        if (x.keyLength != y.keyLength) return x.keyLength < y.keyLength;
        return a < b;  // equal texts keep their file order
    });
    BulkFill fill(list, n, textBytes);
    for (size_t i = 0; i < n; ++i) {
        if (!AddText(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), keyed[order.data[i]].item)) return 0;
    }
    return 1;
}

bool SortsPlainTexts(HWND list) {
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    return (style & LBS_SORT) && !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
}

}  // namespace

// The whole file is parsed straight out of its one buffer.
int FillFoodList(HWND list, const char* path, FoodFile file) {
    FileImage image;
    if (ReadWholeFile(path, &image) != ReadResult::kOk) return 0;
    std::string_view data(image.Data(), image.Size());
    if (SortsPlainTexts(list) && SendMessageA(list, LB_GETCOUNT, 0, 0) == 0) {
        int ok = InsertPresorted(list, data, file);
        if (ok >= 0) return ok;
    }
    size_t count = 0;
    size_t textBytes = 0;
    CountFoodListItems(data, file, &count, &textBytes);
    if (count == 0) return 1;
    BulkFill fill(list, count, textBytes);
    return AddInFileOrder(list, data, file);
}
