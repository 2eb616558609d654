#include "fooddb/field_rules.h"

bool IsNumericField(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if ((c < '0' || c > '9') && c != '.') return false;
    }
    return true;
}

// '~' and '^' are the file's own delimiters. A line break or NUL cannot be typed into the single-line
// edits, but a name that held one would split or cut the food's line, so it is refused as well.
bool IsNameField(const char* text, size_t length) {
    if (length < 1 || length > kMaxFoodNameLength) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '~' || c == '^' || c == '\r' || c == '\n' || c == '\0') return false;
    }
    return true;
}
