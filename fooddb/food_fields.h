// Reading one food's database line: the line at an offset, its '^'-separated fields, and the
// standard conversions of their texts. Both database files are read through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr size_t kFieldTextSize = 256;  // a field text: 255 bytes and its terminator

// Where each part of a food sits in a line of either database file. Everything that reads or
// writes a food line finds its fields here, never by a number of its own.
struct FoodLineFormat {
    int fieldCount;
    int description;
    int firstNutrient;   // the 31 nutrients follow in the log's slot order
    int servingWeight1;  // USDA: the first measure's gram weight; My Foods: the serving amount
    int measure1;        // the first measure's text
    int servingWeight2;  // USDA: the second measure's gram weight; My Foods: "Serving 3"
    int measure2;        // USDA: the second measure's text; My Foods: "Serving 4", its measure row
    int refuse;
};
constexpr int kFoodNutrientFields = 31;
constexpr FoodLineFormat kMyFoodsLine = {37, 0, 1, 32, 33, 34, 35, 36};
constexpr FoodLineFormat kUsdaLine = {38, 1, 2, 33, 34, 35, 36, 37};
constexpr int kMaxFoodLineFields = 38;

// The fields of a line of LONGDESC.txt, the USDA's descriptions of its foods as the build converts them.
// Files of the older layout end after the long description, without the common names.
struct LongDescFormat {
    int fieldCount;
    int olderFieldCount;
    int record;
    int group;
    int surveyFlag;
    int manufacturer;
    int description;
    int commonNames;  // the names people use, ", " between them: "hot dog, frank, wiener"
};
constexpr LongDescFormat kLongDescLine = {6, 5, 0, 1, 2, 3, 4, 5};
constexpr int kLongDescFieldCount = kLongDescLine.fieldCount;

// The fields of a line of WEIGHTS.txt, the USDA's household measures as the build converts them: one
// measure a line, in the USDA's order.
struct WeightsFormat {
    int fieldCount;
    int record;
    int sequence;
    int amount;  // the count the weight is of: 1 for "1 medium"
    int description;
    int grams;
};
constexpr WeightsFormat kWeightsLine = {5, 0, 1, 2, 3, 4};

// The record number, the key that joins the USDA table, its descriptions and its measures, is the
// first field of each of their lines.
constexpr int kUsdaRecordField = 0;
constexpr size_t kUsdaRecordDigits = 5;
static_assert(kLongDescLine.record == kUsdaRecordField && kWeightsLine.record == kUsdaRecordField,
              "the record number leads every USDA line");

// A USDA text field without its '~' quotes: "~Butter, salted~" is "Butter, salted". A leading and a
// trailing '~' are each dropped on their own, so a field that lost one of its quotes still reads as its
// text; a '~' inside stays.
std::string_view UsdaText(std::string_view field);

// The record number of "~01001~" or "01001" (1001); -1 when the field is not five digits.
int UsdaRecordNumber(std::string_view field);

// One line of a database file. Its content runs to its first CR or LF, and the line to just past
// its LF or to the end of the data: so "A\r\n", "A\n" and a last "A" read alike, and whatever
// follows a stray CR on the same line is not part of the food. Every reader of both files splits
// lines this one way.
struct LineSpan {
    size_t start;
    size_t contentEnd;
    size_t next;
};
// The line that starts at `offset`, which need not be a line start; false at or past the end.
bool ScanLine(std::string_view data, size_t offset, LineSpan* span);

// The line that starts at `offset`: its content (see ScanLine). Fails (returns 0) when the offset
// is at or past the end of the data or not at a line start.
int LineAt(std::string_view data, size_t offset, std::string_view* line);

// The first `count` fields of a line (without its line end) into `fields`, missing ones empty
// (pointing at the line's end). Returns how many fields the line has, which may be more than `count`.
int SplitFields(std::string_view line, std::string_view* fields, int count);

// Field k of a line (without its line end); empty when the line has fewer fields. An empty field
// still points into the line, so callers may copy from it.
std::string_view FieldOf(std::string_view line, int k);

// The standard conversions of a field's text, the same on every platform: atof held as a float,
// and strtoll clamped to 32 bits (atol's width and overflow differ between systems).
float ParseReal(const char* text);
int32_t ParseWhole(const char* text);
// The same of a field, cut to 255 bytes first as a field buffer holds it.
float ParseRealField(std::string_view field);
int32_t ParseWholeField(std::string_view field);

// A USDA serving measure description "~1 cup, sliced~" as its words ("cup, sliced") and, when `count`
// is given, its count (1). "~~", an empty field, or one without a blank after the count give the
// empty text; the count is 0 for "~~" and the empty field. A NUL in the field ends it.
void SplitUsdaMeasure(std::string_view field, char* words, size_t wordsSize, float* count);
