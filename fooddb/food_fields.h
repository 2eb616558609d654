// Reading one food's database line: the line at an offset, its '^'-separated fields, and the
// standard conversions of their texts. Both database files are read through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr size_t kFieldTextSize = 256;  // a field text: 255 bytes and its terminator

// The line that starts at `offset`: up to its CR, its LF or the end of the data, whichever comes
// first. Fails (returns 0) when the offset is past the data or not at a line start.
int LineAt(std::string_view data, size_t offset, std::string_view* line);

// Field k of a line (without its line end); empty when the line has fewer fields. An empty field
// still points into the line, so callers may copy from it.
std::string_view FieldOf(std::string_view line, int k);

// Field readers over one line; each returns the position just past the field's '^' (or the end of
// the line when the field is the last one). A missing field reads as empty.
size_t ReadTextField(std::string_view line, size_t position, char* text, size_t textSize);
size_t ReadRealField(std::string_view line, size_t position, float* result);
size_t ReadWholeField(std::string_view line, size_t position, int32_t* result);

// The standard conversions of a field's text, the same on every platform: atof held as a float,
// and atol saturated to 32 bits.
float ParseReal(const char* text);
int32_t ParseWhole(const char* text);

// A USDA serving measure description "~1 cup, sliced~" as its words ("cup, sliced") and, when `count`
// is given, its count (1). "~~", an empty field, or one without a blank after the count give the
// empty text; the count is 0 for "~~" and the empty field. A NUL in the field ends it.
void SplitUsdaMeasure(std::string_view field, char* words, size_t wordsSize, float* count);
