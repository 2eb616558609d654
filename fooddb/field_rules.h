// The two rules every My Foods field text obeys.
#pragma once

#include <cstddef>

// Digits '0' to '9' and '.' only, any number of points; the empty text passes.
bool IsNumericField(const char* text, size_t length);

// 1 to 64 characters, none of them '~', '^', CR, LF or NUL, so the text stays one whole field of one
// line.
bool IsNameField(const char* text, size_t length);

constexpr size_t kMaxFoodNameLength = 64;
