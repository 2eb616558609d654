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
