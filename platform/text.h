// Plain operations on 8-bit text held in views: copies into fixed buffers and the line structure.
#pragma once

#include <cstddef>
#include <string_view>

// A C string of the view, cut to the buffer; a NUL in the view ends it as it would end any C string.
// A buffer of size 0 is left alone.
void CopyText(std::string_view text, char* buffer, size_t bufferSize);

// True when `offset` is the first byte of a line of the data (lines end at LF).
bool IsLineStart(std::string_view data, size_t offset);

// The number of LF bytes in the data.
size_t CountLineFeeds(std::string_view data);

// The file name part of a path: what follows its last '\', '/' or ':'.
std::string_view FileNameOf(std::string_view path);

// Letter case of the ASCII letters alone: every other byte, of whatever code page, stays as it is, so a
// rule written for ASCII names (a switch, a suffix, a file's magic) never matches a byte that only
// looks alike in some code page.
constexpr bool IsAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool IsAsciiLower(char c) {
    return c >= 'a' && c <= 'z';
}
constexpr char AsciiLower(char c) {
    return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
    return IsAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when the text begins (ends) with `part`, ASCII letter case aside.
bool StartsWithAsciiNoCase(std::string_view text, std::string_view part);
bool EndsWithAsciiNoCase(std::string_view text, std::string_view part);
