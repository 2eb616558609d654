#include "platform/text.h"

#include <cstring>

void CopyText(std::string_view text, char* buffer, size_t bufferSize) {
    if (bufferSize == 0) return;
    size_t length = text.size() < bufferSize - 1 ? text.size() : bufferSize - 1;
    if (length > 0) std::memmove(buffer, text.data(), length);
    buffer[length] = '\0';
}

bool IsLineStart(std::string_view data, size_t offset) {
    return offset < data.size() && (offset == 0 || data[offset - 1] == '\n');
}

size_t CountLineFeeds(std::string_view data) {
    size_t count = 0;
    const char* at = data.data();
    const char* end = at + data.size();
    while (at < end) {
        const void* lf = std::memchr(at, '\n', static_cast<size_t>(end - at));
        if (!lf) break;
        ++count;
        at = static_cast<const char*>(lf) + 1;
    }
    return count;
}

std::string_view FileNameOf(std::string_view path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

namespace {
bool SameAsciiNoCase(std::string_view a, std::string_view b) {
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}
}  // namespace

bool StartsWithAsciiNoCase(std::string_view text, std::string_view part) {
    return text.size() >= part.size() && SameAsciiNoCase(text.substr(0, part.size()), part);
}

bool EndsWithAsciiNoCase(std::string_view text, std::string_view part) {
    return text.size() >= part.size() && SameAsciiNoCase(text.substr(text.size() - part.size()), part);
}
