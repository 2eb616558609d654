#include "shell/search.h"

#include <array>

#include "platform/text.h"

namespace {

// Each byte's lower-case partner in the Windows western code page (1252), which is how the
// system's case-insensitive comparison pairs letters there: ASCII, the accented capitals
// 0xC0-0xDE except the multiplication sign 0xD7, and S, OE, Z and Y with their hacek or diaeresis.
// Not Find's fold (fooddb/food_finder.cpp), which strips accents for typing: this one must agree with
// the system's compare, so the two stay apart on purpose.
constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (char c = 'A'; c <= 'Z'; ++c)
        table[static_cast<unsigned char>(c)] = static_cast<unsigned char>(AsciiLower(c));
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) table[c] = static_cast<unsigned char>(c + 32);
    }
    table[0x8A] = 0x9A;
    table[0x8C] = 0x9C;
    table[0x8E] = 0x9E;
    table[0x9F] = 0xFF;
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

unsigned char Fold(char c) {
    return kFold[static_cast<unsigned char>(c)];
}

}  // namespace

bool MatchesSearch(std::string_view itemText, std::string_view searchText) {
    if (searchText.size() > itemText.size()) return false;
    size_t lastStart = itemText.size() - searchText.size();
    for (size_t start = 0; start <= lastStart; ++start) {
        size_t i = 0;
        while (i < searchText.size() && Fold(itemText[start + i]) == Fold(searchText[i]))
            ++i;
        if (i == searchText.size()) return true;
    }
    return false;
}
