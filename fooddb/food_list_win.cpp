#include "fooddb/food_files_win.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/file_io.h"
#include "platform/text.h"

namespace {

// Longest sort key of a 255-byte text, with room to spare.
constexpr int kSortKeySize = 4096;

template <typename T>
struct HeapArray {
    T* data = nullptr;
    HeapArray() = default;
    HeapArray(const HeapArray&) = delete;
    HeapArray& operator=(const HeapArray&) = delete;
    ~HeapArray() { std::free(data); }
    int Allocate(size_t count) {
        std::free(data);
        data = nullptr;
        if (count > static_cast<size_t>(-1) / sizeof(T) - 1) return 0;
        data = static_cast<T*>(std::malloc(count * sizeof(T) + 1));
        return data != nullptr;
    }
    void Swap(HeapArray& other) { std::swap(data, other.data); }
};

struct KeyedItem {
    FoodListItem item;
    size_t keyStart;
    size_t keyLength;
};

// One food as a sorted list box shows it: its text and sort key in the arenas of its SortedFoods.
struct SortedFood {
    size_t keyStart;
    size_t keyLength;
    size_t textStart;  // NUL-terminated
    size_t textLength;
    size_t offset;
};

// The foods of a file in the order a sorted list box shows them, with their sort keys.
struct SortedFoods {
    HWND list = nullptr;  // the list they were put into, when they are kept as its contents
    LCID locale = 0;      // of the keys
    HeapArray<SortedFood> foods;
    HeapArray<unsigned char> keys;
    HeapArray<char> texts;
    size_t count = 0;

    const char* Text(size_t i) const { return texts.data + foods.data[i].textStart; }
    bool SameText(size_t i, const SortedFoods& other, size_t j) const {
        return foods.data[i].textLength == other.foods.data[j].textLength &&
               std::memcmp(Text(i), other.Text(j), foods.data[i].textLength) == 0;
    }
    // The list box's order of food i here against food j of `other`, by their sort keys.
    int Compare(size_t i, const SortedFoods& other, size_t j) const {
        const SortedFood& x = foods.data[i];
        const SortedFood& y = other.foods.data[j];
        size_t common = std::min(x.keyLength, y.keyLength);
        int c = common ? std::memcmp(keys.data + x.keyStart, other.keys.data + y.keyStart, common) : 0;
        if (c != 0) return c;
        if (x.keyLength != y.keyLength) return x.keyLength < y.keyLength ? -1 : 1;
        return 0;
    }
    void Swap(SortedFoods& other) {
        std::swap(list, other.list);
        std::swap(locale, other.locale);
        foods.Swap(other.foods);
        keys.Swap(other.keys);
        texts.Swap(other.texts);
        std::swap(count, other.count);
    }
    void Forget() {
        SortedFoods none;
        Swap(none);
    }
};

// The foods of a SortedFoods by their texts (open addressing), so that a refill takes the sort key a
// text already had instead of asking the locale for it again.
class TextIndex {
public:
    int Build(const SortedFoods& foods) {
        size_t size = 16;
        while (size < foods.count * 2) size *= 2;
        if (!slots_.Allocate(size)) return 0;
        std::memset(slots_.data, 0, size * sizeof(size_t));
        mask_ = size - 1;
        foods_ = &foods;
        for (size_t i = 0; i < foods.count; ++i) {
            size_t at = Hash(Text(i)) & mask_;
            while (slots_.data[at] != 0) at = (at + 1) & mask_;
            slots_.data[at] = i + 1;
        }
        return 1;
    }
    // The food with this text, or -1.
    size_t Find(std::string_view text) const {
        if (!foods_) return static_cast<size_t>(-1);
        for (size_t at = Hash(text) & mask_; slots_.data[at] != 0; at = (at + 1) & mask_) {
            if (Text(slots_.data[at] - 1) == text) return slots_.data[at] - 1;
        }
        return static_cast<size_t>(-1);
    }

private:
    std::string_view Text(size_t i) const {
        return std::string_view(foods_->Text(i), foods_->foods.data[i].textLength);
    }
    static size_t Hash(std::string_view text) {
        uint64_t hash = 14695981039346656037u;
        for (unsigned char c : text) hash = (hash ^ c) * 1099511628211u;
        return static_cast<size_t>(hash ^ (hash >> 32));
    }
    HeapArray<size_t> slots_;
    size_t mask_ = 0;
    const SortedFoods* foods_ = nullptr;
};

// What the last remembered fill put into its list. A reload of that list compares the file's foods
// with these and changes only the items that differ: emptying and refilling a list box costs a
// message per item each way, which for a long My Foods list is most of the time of an edit.
SortedFoods g_remembered;

int AddText(HWND list, UINT message, WPARAM index, const char* text, size_t offset) {
    LRESULT at = SendMessageA(list, message, index, reinterpret_cast<LPARAM>(text));
    if (at < 0) return 0;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(offset));
    return 1;
}

int AddText(HWND list, UINT message, WPARAM index, const FoodListItem& item) {
    char text[kItemTextSize];
    if (!item.text.empty()) std::memcpy(text, item.text.data(), item.text.size());
    text[item.text.size()] = '\0';
    return AddText(list, message, index, text, item.offset);
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

// Not redrawn per change, storage reserved once.
struct BulkFill {
    HWND list;
    BulkFill(HWND list, size_t count, size_t textBytes) : list(list) {
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        if (count > 0) {
            SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count),
                         static_cast<LPARAM>(textBytes + count));
        }
    }
    ~BulkFill() {
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
};

// The foods of a file with their sort keys, in file order, and `order` to sort them by.
struct KeyedFoods {
    HeapArray<KeyedItem> items;
    HeapArray<size_t> order;
    HeapArray<unsigned char> keys;
    size_t keyCapacity = 0;
    size_t keysUsed = 0;
    size_t textBytes = 0;
    size_t count = 0;
};

// Room for a key of the longest kind at the end of the keys.
int MakeRoomForKey(KeyedFoods* keyed) {
    if (keyed->keyCapacity - keyed->keysUsed >= kSortKeySize) return 1;
    size_t grown = keyed->keyCapacity * 2;
    void* bigger = std::realloc(keyed->keys.data, grown + 1);
    if (!bigger) return 0;
    keyed->keys.data = static_cast<unsigned char*>(bigger);
    keyed->keyCapacity = grown;
    return 1;
}

// Writes the sort key of `text` at `to`, copied from `earlier` when `known` finds the text there, and
// returns its length; -1 when the locale cannot make it.
int WriteSortKey(std::string_view text, LCID locale, const TextIndex& known, const SortedFoods* earlier,
                 unsigned char* to) {
    if (text.empty()) return 0;
    size_t same = known.Find(text);
    if (same != static_cast<size_t>(-1)) {
        const SortedFood& had = earlier->foods.data[same];
        if (had.keyLength) std::memcpy(to, earlier->keys.data + had.keyStart, had.keyLength);
        return static_cast<int>(had.keyLength);
    }
    int length = LCMapStringA(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
                              static_cast<int>(text.size()), reinterpret_cast<char*>(to), kSortKeySize);
    return length <= 0 ? -1 : length;
}

// 0 when memory runs out or the locale cannot make a key.
int KeyFoods(std::string_view data, FoodFile file, LCID locale, const TextIndex& known,
             const SortedFoods* earlier, KeyedFoods* keyed) {
    size_t capacity = CountLineFeeds(data) + 1;  // at most one food a line
    keyed->keyCapacity = data.size() + kSortKeySize;
    if (!keyed->items.Allocate(capacity) || !keyed->order.Allocate(capacity) ||
        !keyed->keys.Allocate(keyed->keyCapacity))
        return 0;
    size_t position = 0;
    FoodListItem item;
    while (keyed->count < capacity && NextFoodListItem(data, file, &position, &item)) {
        if (!MakeRoomForKey(keyed)) return 0;
        int length = WriteSortKey(item.text, locale, known, earlier, keyed->keys.data + keyed->keysUsed);
        if (length < 0) return 0;
        size_t n = keyed->count++;
        keyed->items.data[n] = {item, keyed->keysUsed, static_cast<size_t>(length)};
        keyed->order.data[n] = n;
        keyed->keysUsed += static_cast<size_t>(length);
        keyed->textBytes += item.text.size();
    }
    return 1;
}

void SortByKey(KeyedFoods* keyed) {
    const KeyedItem* items = keyed->items.data;
    const unsigned char* keyBytes = keyed->keys.data;
    std::sort(keyed->order.data, keyed->order.data + keyed->count, [items, keyBytes](size_t a, size_t b) {
        const KeyedItem& x = items[a];
        const KeyedItem& y = items[b];
        size_t common = std::min(x.keyLength, y.keyLength);
        int c = common ? std::memcmp(keyBytes + x.keyStart, keyBytes + y.keyStart, common) : 0;
        if (c != 0) return c < 0;
        if (x.keyLength != y.keyLength) return x.keyLength < y.keyLength;
        return a < b;  // equal texts keep their file order
    });
}

// Moves the keyed foods into `sorted` in their sorted order, each text copied out of the file's buffer.
int TakeSorted(KeyedFoods* keyed, LCID locale, SortedFoods* sorted) {
    SortedFoods result;
    size_t n = keyed->count;
    if (!result.foods.Allocate(n) || !result.texts.Allocate(keyed->textBytes + n)) return 0;
    size_t textAt = 0;
    for (size_t i = 0; i < n; ++i) {
        const KeyedItem& from = keyed->items.data[keyed->order.data[i]];
        size_t length = from.item.text.size();
        if (length) std::memcpy(result.texts.data + textAt, from.item.text.data(), length);
        result.texts.data[textAt + length] = '\0';
        result.foods.data[i] = {from.keyStart, from.keyLength, textAt, length, from.item.offset};
        textAt += length + 1;
    }
    result.keys.Swap(keyed->keys);
    result.count = n;
    result.locale = locale;
    sorted->Swap(result);
    return 1;
}

// A sorted list box finds each new text's place with about log2(n) locale-aware comparisons, which
// for the 8,790 foods of the USDA table cost far more than everything else of the start-up. The
// sort key of a text orders exactly as that comparison does (the list's locale, case ignored), so
// each text gets its key once and the items are sorted by key; appended in that order, they stand
// where the list box would put them, as a sorted list box does not re-sort texts inserted at an
// index. A text that `earlier` holds, sorted for the same locale, takes its key from there. Returns
// 0 when the keys cannot be made (memory, an unexpectedly long key).
int SortFoods(HWND list, std::string_view data, FoodFile file, SortedFoods* sorted,
              const SortedFoods* earlier = nullptr) {
    LCID locale = static_cast<LCID>(SendMessageA(list, LB_GETLOCALE, 0, 0));
    TextIndex known;
    if (earlier && earlier->locale == locale && earlier->count > 0 && !known.Build(*earlier)) return 0;
    KeyedFoods keyed;
    if (!KeyFoods(data, file, locale, known, earlier, &keyed)) return 0;
    SortByKey(&keyed);
    return TakeSorted(&keyed, locale, sorted);
}

int InsertSorted(HWND list, const SortedFoods& sorted) {
    const SortedFood* last = sorted.count ? &sorted.foods.data[sorted.count - 1] : nullptr;
    BulkFill fill(list, sorted.count, last ? last->textStart + last->textLength : 0);
    for (size_t i = 0; i < sorted.count; ++i) {
        if (!AddText(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), sorted.Text(i), sorted.foods.data[i].offset))
            return 0;
    }
    return 1;
}

// Turns a list that holds `old` into one that holds `now`, item by item: equal texts in the same
// order stay and get their new offset, the others are deleted or inserted where they belong. 0, with
// the list half changed, when it did not hold `old` (something else changed it) or refused a change.
int ChangeSortedItems(HWND list, const SortedFoods& old, const SortedFoods& now) {
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(old.count)) return 0;
    // Invariant: items 0 to at-1 are now's first j foods, the items from `at` on old's foods from i on.
    size_t i = 0;
    size_t j = 0;
    WPARAM at = 0;
    while (i < old.count || j < now.count) {
        if (i < old.count &&
            SendMessageA(list, LB_GETITEMDATA, at, 0) != static_cast<LRESULT>(old.foods.data[i].offset)) {
            return 0;
        }
        if (i < old.count && j < now.count && old.SameText(i, now, j)) {
            size_t offset = now.foods.data[j].offset;
            if (old.foods.data[i].offset != offset &&
                SendMessageA(list, LB_SETITEMDATA, at, static_cast<LPARAM>(offset)) == LB_ERR) {
                return 0;
            }
            ++i;
            ++j;
            ++at;
        } else if (j == now.count || (i < old.count && old.Compare(i, now, j) <= 0)) {
            if (SendMessageA(list, LB_DELETESTRING, at, 0) == LB_ERR) return 0;
            ++i;
        } else {
            if (!AddText(list, LB_INSERTSTRING, at, now.Text(j), now.foods.data[j].offset)) return 0;
            ++j;
            ++at;
        }
    }
    return 1;
}

bool SortsPlainTexts(HWND list) {
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    return (style & LBS_SORT) && !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
}

}  // namespace

// The whole file is parsed straight out of its one buffer.
int FillFoodList(HWND list, const char* path, FoodFile file, bool remember) {
    FileImage image;
    if (ReadWholeFile(path, &image) != ReadResult::kOk) return 0;
    std::string_view data(image.Data(), image.Size());
    if (SortsPlainTexts(list) && SendMessageA(list, LB_GETCOUNT, 0, 0) == 0) {
        SortedFoods sorted;
        if (SortFoods(list, data, file, &sorted)) {
            if (g_remembered.list == list) g_remembered.Forget();
            if (!InsertSorted(list, sorted)) return 0;
            if (remember) {
                sorted.list = list;
                g_remembered.Swap(sorted);
            }
            return 1;
        }
    }
    if (g_remembered.list == list) g_remembered.Forget();
    size_t count = 0;
    size_t textBytes = 0;
    CountFoodListItems(data, file, &count, &textBytes);
    if (count == 0) return 1;
    BulkFill fill(list, count, textBytes);
    return AddInFileOrder(list, data, file);
}

int RefillFoodList(HWND list, const char* path, FoodFile file) {
    FileImage image;
    ReadResult read = ReadWholeFile(path, &image);
    SortedFoods now;
    if (read != ReadResult::kOk || !SortsPlainTexts(list) ||
        g_remembered.list != list ||
        !SortFoods(list, std::string_view(image.Data(), image.Size()), file, &now, &g_remembered)) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        if (g_remembered.list == list) g_remembered.Forget();
        return read == ReadResult::kOk ? FillFoodList(list, path, file, true) : 0;
    }
    int changed;
    {
        BulkFill fill(list, 0, 0);
        changed = ChangeSortedItems(list, g_remembered, now);
        if (changed) {
            // As after emptying and filling: nothing selected, the top of the list shown.
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            SendMessageA(list, LB_SETTOPINDEX, 0, 0);
        }
    }
    g_remembered.Forget();
    if (!changed) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        if (!InsertSorted(list, now)) return 0;
    }
    now.list = list;
    g_remembered.Swap(now);
    return 1;
}
