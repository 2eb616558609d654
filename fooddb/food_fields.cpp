#include "fooddb/food_fields.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/numeric.h"
#include "platform/text.h"

namespace {

size_t FieldEnd(std::string_view line, size_t position) {
    size_t end = line.find('^', position);
    return end == std::string_view::npos ? line.size() : end;
}

size_t PastField(std::string_view line, size_t end) {
    return end < line.size() ? end + 1 : line.size();
}

// The field's text as a NUL-terminated copy, cut to the field buffer's size.
size_t CopyField(std::string_view line, size_t position, char* text, size_t textSize) {
    if (position > line.size()) position = line.size();
    size_t end = FieldEnd(line, position);
    size_t length = end - position;
    if (length > textSize - 1) length = textSize - 1;
    std::memcpy(text, line.data() + position, length);
    text[length] = '\0';
    return PastField(line, end);
}

}  // namespace

int LineAt(std::string_view data, size_t offset, std::string_view* line) {
    if (!IsLineStart(data, offset)) return 0;
    size_t end = data.find_first_of("\r\n", offset);
    if (end == std::string_view::npos) end = data.size();
    *line = data.substr(offset, end - offset);
    return 1;
}

std::string_view FieldOf(std::string_view line, int k) {
    size_t start = 0;
    for (int i = 0; i < k; ++i) {
        size_t caret = line.find('^', start);
        if (caret == std::string_view::npos) return line.substr(line.size());
        start = caret + 1;
    }
    size_t end = line.find('^', start);
    if (end == std::string_view::npos) end = line.size();
    return line.substr(start, end - start);
}

float ParseReal(const char* text) {
    return ToFloat(std::atof(text));
}

int32_t ParseWhole(const char* text) {
    // strtoll, not atol: long is 32 bits on Windows and 64 on Linux, and atol's overflow is undefined.
    return SaturateToInt32(static_cast<int64_t>(std::strtoll(text, nullptr, 10)));
}

size_t ReadTextField(std::string_view line, size_t position, char* text, size_t textSize) {
    return CopyField(line, position, text, textSize);
}

size_t ReadRealField(std::string_view line, size_t position, float* result) {
    char text[kFieldTextSize];
    size_t next = CopyField(line, position, text, sizeof text);
    *result = ParseReal(text);
    return next;
}

size_t ReadWholeField(std::string_view line, size_t position, int32_t* result) {
    char text[kFieldTextSize];
    size_t next = CopyField(line, position, text, sizeof text);
    *result = ParseWhole(text);
    return next;
}

// The first byte is the opening quote, the count word runs to the first blank, and the last byte of
// what follows, the closing quote, is dropped.
void SplitUsdaMeasure(std::string_view field, char* words, size_t wordsSize, float* count) {
    if (count) *count = 0.0f;
    const void* nul = std::memchr(field.data(), '\0', field.size());
    if (nul) field = field.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - field.data()));
    if (field.size() < 2 || field[1] == '~') {
        CopyText(std::string_view(), words, wordsSize);
        return;
    }
    if (count) {
        char text[kFieldTextSize];
        CopyText(field.substr(1), text, sizeof text);
        *count = ParseReal(text);
    }
    size_t blank = field.find(' ', 1);
    if (blank == std::string_view::npos) {
        CopyText(std::string_view(), words, wordsSize);
        return;
    }
    std::string_view rest = field.substr(blank + 1);
    if (!rest.empty() && rest.back() == '~') rest.remove_suffix(1);
    CopyText(rest, words, wordsSize);
}
