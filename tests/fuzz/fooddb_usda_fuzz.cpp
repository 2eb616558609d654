// The USDA list and serving readers, and the search over the listed texts, on arbitrary bytes at
// arbitrary offsets: no read outside the data, every result inside its buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fooddb/food_files.h"
#include "platform/text.h"
#include "shell/search.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size < 4) return 0;
    // The first bytes choose the offset, the buffer sizes and a search text length; the rest is the file.
    size_t offset = static_cast<size_t>(bytes[0]) << 8 | bytes[1];
    size_t firstSize = 1 + bytes[2] % 64;
    size_t secondSize = 1 + bytes[3] % 64;
    std::string_view data(reinterpret_cast<const char*>(bytes + 4), size - 4);
    std::string_view search = data.substr(0, bytes[2] % 8);

    size_t position = 0;
    size_t listed = 0;
    size_t lastOffset = 0;
    FoodListItem item;
    while (NextFoodListItem(data, FoodFile::kUsda, &position, &item)) {
        Check(IsLineStart(data, item.offset));
        Check(listed == 0 || item.offset > lastOffset);
        Check(item.text.size() < kItemTextSize);
        Check(item.text.find_first_of(std::string_view("^\r\n\0", 4)) == std::string_view::npos);
        Check(item.text.data() >= data.data() &&
              item.text.data() + item.text.size() <= data.data() + data.size());
        lastOffset = item.offset;
        ++listed;
        MatchesSearch(item.text, search);
        MatchesSearch(search, item.text);
    }
    Check(position == data.size());
    size_t count = 0;
    size_t textBytes = 0;
    CountFoodListItems(data, FoodFile::kUsda, &count, &textBytes);
    Check(count == listed);

    char first[64];
    char second[64];
    std::memset(first, 'x', sizeof first);
    std::memset(second, 'x', sizeof second);
    int ok = ReadUsdaServings(data, offset, first, firstSize, second, secondSize);
    Check(ok == (IsLineStart(data, offset) ? 1 : 0));
    if (ok) {
        Check(std::memchr(first, '\0', firstSize) != nullptr);
        Check(std::memchr(second, '\0', secondSize) != nullptr);
        for (size_t i = firstSize; i < sizeof first; ++i)
            Check(first[i] == 'x');
        for (size_t i = secondSize; i < sizeof second; ++i)
            Check(second[i] == 'x');
        Check(std::strchr(first, '^') == nullptr && std::strchr(second, '^') == nullptr);
    }
    return 0;
}
