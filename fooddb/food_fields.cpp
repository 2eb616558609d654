#include "fooddb/food_fields.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/numeric.h"
#include "platform/text.h"

bool ScanLine(std::string_view data, size_t offset, LineSpan* span) {
    if (offset >= data.size()) return false;
    const char* base = data.data();
    size_t rest = data.size() - offset;
    const char* lf = static_cast<const char*>(std::memchr(base + offset, '\n', rest));
    size_t lineEnd = lf ? static_cast<size_t>(lf - base) : data.size();
    const void* cr = std::memchr(base + offset, '\r', lineEnd - offset);
    span->start = offset;
    span->contentEnd = cr ? static_cast<size_t>(static_cast<const char*>(cr) - base) : lineEnd;
    span->next = lf ? lineEnd + 1 : data.size();
    return true;
}

int LineAt(std::string_view data, size_t offset, std::string_view* line) {
    LineSpan span;
    if (!IsLineStart(data, offset) || !ScanLine(data, offset, &span)) return 0;
    *line = data.substr(offset, span.contentEnd - offset);
    return 1;
}

namespace {

// The field that starts at `*start`, moving `*start` past its '^', or to npos after the last field:
// the one rule both readers of fields split by.
std::string_view NextField(std::string_view line, size_t* start) {
    size_t caret = line.find('^', *start);
    size_t end = caret == std::string_view::npos ? line.size() : caret;
    std::string_view field = line.substr(*start, end - *start);
    *start = caret == std::string_view::npos ? std::string_view::npos : caret + 1;
    return field;
}

}  // namespace

int SplitFields(std::string_view line, std::string_view* fields, int count) {
    int found = 0;
    for (size_t start = 0; start != std::string_view::npos; ++found) {
        std::string_view field = NextField(line, &start);
        if (found < count) fields[found] = field;
    }
    for (int k = found; k < count; ++k)
        fields[k] = line.substr(line.size());
    return found;
}

std::string_view FieldOf(std::string_view line, int k) {
    size_t start = 0;
    for (int i = 0; i < k; ++i) {
        NextField(line, &start);
        if (start == std::string_view::npos) return line.substr(line.size());
    }
    return NextField(line, &start);
}

float ParseReal(const char* text) {
    return ToFloat(std::atof(text));
}

int32_t ParseWhole(const char* text) {
    // strtoll, not atol: long is 32 bits on Windows and 64 on Linux, and atol's overflow is undefined.
    return SaturateToInt32(static_cast<int64_t>(std::strtoll(text, nullptr, 10)));
}

float ParseRealField(std::string_view field) {
    char text[kFieldTextSize];
    CopyText(field, text, sizeof text);
    return ParseReal(text);
}

int32_t ParseWholeField(std::string_view field) {
    char text[kFieldTextSize];
    CopyText(field, text, sizeof text);
    return ParseWhole(text);
}

std::string_view UsdaText(std::string_view field) {
    if (!field.empty() && field.front() == '~') field.remove_prefix(1);
    if (!field.empty() && field.back() == '~') field.remove_suffix(1);
    return field;
}

int UsdaRecordNumber(std::string_view field) {
    field = UsdaText(field);
    if (field.size() != kUsdaRecordDigits) return -1;
    int number = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

// The count word runs to the first blank; the words follow it.
void SplitUsdaMeasure(std::string_view field, char* words, size_t wordsSize, float* count) {
    if (count) *count = 0.0f;
    const void* nul = std::memchr(field.data(), '\0', field.size());
    if (nul) field = field.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - field.data()));
    std::string_view text = UsdaText(field);
    if (count && !text.empty()) *count = ParseRealField(text);
    size_t blank = text.find(' ');
    CopyText(blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1), words, wordsSize);
}
