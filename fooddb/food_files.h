// The two food database files read and written over their bytes: the USDA table (ABBREV.txt, 38
// fields a line, read only) and the user's My Foods file (mtmyfood, 37 fields a line).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fooddb/food_fields.h"
#include "fooddb/measure_table.h"

constexpr int kMyFoodFieldCount = kMyFoodsLine.fieldCount;
constexpr int kMyFoodMeasureField = kMyFoodsLine.measure1;
constexpr int kMyFoodSecondMeasureField = kMyFoodsLine.measure2;
constexpr int kMyFoodServingAmountField = kMyFoodsLine.servingWeight1;
constexpr int kMyFoodServing3Field = kMyFoodsLine.servingWeight2;
constexpr int kMyFoodRefuseField = kMyFoodsLine.refuse;
constexpr size_t kItemTextSize = 256;  // a list item: a description cut to 255 bytes and its terminator

// The messages of a field that fails its check; %s stands for the field's label.
constexpr char kDescriptionMessage[] =
    "Illegal Character or blank field: \"%s\"\r\nor line exceeds 64 characters";
constexpr char kBlankFieldMessage[] = "Illegal Character or blank field: \"%s\"";
constexpr char kMeasureNameMessage[] =
    "Illegal Character or blank field: \"%s\"\r\n\t\t\t\t\t\t\tor line exceeds 64 characters";
constexpr char kNumericMessage[] = "Illegal Character: \"%s\"";
// The Edit Food Item dialog's own wording of the description and measure messages.
constexpr char kEditDescriptionMessage[] = "Illegal Character: \"%s\"\r\nor line exceeds 64 Characters.";
constexpr char kEditMeasureMessage[] = "Illegal Character: \"%s\"\r\nor line exceeds 64 characters";

enum class FoodFile { kMyFoods, kUsda };

// One food as its list shows it: the description (a view into the data, at most 255 bytes, never
// holding '^', CR, LF or NUL) and the offset of the food's line.
struct FoodListItem {
    std::string_view text;
    size_t offset;
};

// Lists the food of the line at `*position`, which must be a line start, and moves `*position` to the
// next line.
// Returns 0 when no line is left.
int NextFoodListItem(std::string_view data, FoodFile file, size_t* position, FoodListItem* item);

// The number of items NextFoodListItem lists and the sum of their text lengths.
void CountFoodListItems(std::string_view data, FoodFile file, size_t* count, size_t* textBytes);

// The USDA food's two household measures: the words of fields 34 and 36 without their count word
// and quotes, empty where a field is "~~" or missing. 0, reading nothing, when the offset is not a line
// start.
int ReadUsdaServings(std::string_view data, size_t offset, char* first, size_t firstSize, char* second,
                     size_t secondSize);

// The My Foods food's serving measure (field 33) and the MeasureTable row of its second measure
// (field 35), kNoMeasureRow for none. 0, reading nothing, when the offset is not a line start.
int ReadMyFoodServing(std::string_view data, size_t offset, char* text, size_t textSize, int* secondRow);

struct MyFoodFields {
    char text[kMyFoodFieldCount][kFieldTextSize];
};

// The 37 field texts of the My Foods line at `offset`, each cut to 255 bytes, missing ones empty.
int ReadMyFoodFields(std::string_view data, size_t offset, MyFoodFields* fields);

// "Serving 4" (field 35) read the one way every reader reads it: the leading
// whole number as strtoll reads it (leading blanks and a sign too), 0 when there is none (the value a
// log entry keeps as its measure index).
int32_t SecondMeasureValue(std::string_view field);
// The MeasureTable row that field names, or kNoMeasureRow: for an empty field, and for "99" and
// every other value the table has no row for.
int SecondMeasureRow(std::string_view field);
// The second measure picker's row for a field 35 text, or kNoMeasureRow: the picker has only the
// table's first kSecondMeasureRows rows.
int SecondMeasurePickerRow(const char* fieldText);

// The bytes of the line at `offset` with its line end: [offset, *end). 0 when not a line start.
int LineSpanAt(std::string_view data, size_t offset, size_t* end);

// The data without the line at `offset`: the bytes before it and those after its line end, into
// `contents` (which holds at least data.size() bytes). 0, writing nothing, when not a line start.
int CopyWithoutLine(std::string_view data, size_t offset, char* contents, size_t contentsSize,
                    size_t* contentsLength);

// The first of the 37 field texts, in order k = 0 to 36, that a new My Foods line cannot hold.
struct FieldFailure {
    int field;
    const char* message;
    bool warning;  // shown with the warning icon
};
int CheckMyFoodFields(const std::string_view fields[kMyFoodFieldCount], FieldFailure* failure);

// The Edit Food Item dialog's own check, in order: the description, fields 1 to 32 as numbers, the
// measure. The first failure only.
int CheckEditFoodFields(const std::string_view fields[kMyFoodFieldCount], FieldFailure* failure);
// What Edit also checks before it writes: a serving amount, and the hidden fields 34 and 36 as numbers.
int CheckEditFoodSaveFields(const std::string_view fields[kMyFoodFieldCount], FieldFailure* failure);

// True when the line at `offset` still is the food the My Foods list shows there as `text`: a line
// start whose list text is exactly `text`.
bool IsListedMyFood(std::string_view data, size_t offset, std::string_view text);

// The bytes of the line at `offset`, line end included; empty when not a line start.
std::string_view LineBytesAt(std::string_view data, size_t offset);

// The data with the line at `offset` taken out and `line` added at the end, into `contents` (which
// holds at least data.size() + line.size() + 2 bytes). A last line left without its line end has it
// finished first (LF after a lone CR, else CR LF), so the new line never joins it. 0, writing nothing, when not a line start.
int MoveLineToEnd(std::string_view data, size_t offset, std::string_view line, char* contents,
                  size_t contentsSize, size_t* contentsLength);

// The new line: the field texts joined by '^', ended by CR LF.
size_t MyFoodLineLength(const std::string_view fields[kMyFoodFieldCount]);
// Writes the line into `line` and returns its length; 0 when `lineSize` is too small.
size_t AssembleMyFoodLine(const std::string_view fields[kMyFoodFieldCount], char* line, size_t lineSize);

// The message with the field's label in place of its %s, cut to the buffer.
void FormatFieldMessage(const char* format, const char* label, char* text, size_t textSize);
