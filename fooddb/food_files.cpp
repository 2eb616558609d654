#include "fooddb/food_files.h"

#include <cstring>

#include "fooddb/field_rules.h"
#include "fooddb/food_fields.h"
#include "fooddb/measure_table.h"
#include "platform/file_io.h"
#include "platform/text.h"

// Empty lines are skipped. A NUL inside a description ends its text, since the list holds C strings,
// but not the listing: the rest of the file is still listed.
int NextFoodListItem(std::string_view data, FoodFile file, size_t* position, FoodListItem* item) {
    const FoodLineFormat& format = file == FoodFile::kUsda ? kUsdaLine : kMyFoodsLine;
    LineSpan span;
    for (size_t start = *position; ScanLine(data, start, &span); start = span.next) {
        std::string_view line = data.substr(span.start, span.contentEnd - span.start);
        if (line.empty()) continue;
        std::string_view text = FieldOf(line, format.description);
        const void* nul = std::memchr(text.data(), '\0', text.size());
        if (nul) text = text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data()));
        if (text.size() > kItemTextSize - 1) text = text.substr(0, kItemTextSize - 1);
        item->text = text;
        item->offset = span.start;
        *position = span.next;
        return 1;
    }
    *position = data.size();
    return 0;
}

void CountFoodListItems(std::string_view data, FoodFile file, size_t* count, size_t* textBytes) {
    *count = 0;
    *textBytes = 0;
    size_t position = 0;
    FoodListItem item;
    while (NextFoodListItem(data, file, &position, &item)) {
        ++*count;
        *textBytes += item.text.size();
    }
}

int ReadUsdaServings(std::string_view data, size_t offset, char* first, size_t firstSize, char* second,
                     size_t secondSize) {
    std::string_view line;
    if (!LineAt(data, offset, &line)) return 0;
    SplitUsdaMeasure(FieldOf(line, kUsdaLine.measure1), first, firstSize, nullptr);
    SplitUsdaMeasure(FieldOf(line, kUsdaLine.measure2), second, secondSize, nullptr);
    return 1;
}

int ReadMyFoodServing(std::string_view data, size_t offset, char* text, size_t textSize, int* secondRow) {
    std::string_view line;
    if (!LineAt(data, offset, &line)) return 0;
    CopyText(FieldOf(line, kMyFoodMeasureField), text, textSize);
    *secondRow = SecondMeasureRow(FieldOf(line, kMyFoodSecondMeasureField));
    return 1;
}

int ReadMyFoodFields(std::string_view data, size_t offset, MyFoodFields* fields) {
    std::string_view line;
    if (!LineAt(data, offset, &line)) return 0;
    std::string_view texts[kMyFoodFieldCount];
    SplitFields(line, texts, kMyFoodFieldCount);
    for (int k = 0; k < kMyFoodFieldCount; ++k)
        CopyText(texts[k], fields->text[k], sizeof fields->text[k]);
    return 1;
}

int32_t SecondMeasureValue(std::string_view field) {
    return ParseWholeField(field);
}

int SecondMeasureRow(std::string_view field) {
    if (field.empty()) return kNoMeasureRow;
    int32_t value = SecondMeasureValue(field);
    return MeasureTableName(value) ? static_cast<int>(value) : kNoMeasureRow;
}

int SecondMeasurePickerRow(const char* fieldText) {
    int row = SecondMeasureRow(fieldText);
    return row < kSecondMeasureRows ? row : kNoMeasureRow;
}

int LineSpanAt(std::string_view data, size_t offset, size_t* end) {
    LineSpan span;
    if (!IsLineStart(data, offset) || !ScanLine(data, offset, &span)) return 0;
    *end = span.next;
    return 1;
}

int CopyWithoutLine(std::string_view data, size_t offset, char* contents, size_t contentsSize,
                    size_t* contentsLength) {
    size_t end = 0;
    if (!LineSpanAt(data, offset, &end)) return 0;
    size_t length = data.size() - (end - offset);
    if (contentsSize < length) return 0;
    if (offset > 0) std::memcpy(contents, data.data(), offset);
    if (end < data.size()) std::memcpy(contents + offset, data.data() + end, data.size() - end);
    *contentsLength = length;
    return 1;
}

// Every field the readers bring back whole must fit their 255-byte field buffer: a longer numeric
// text is refused with its field's message rather than written and cut short on the next edit.
int CheckMyFoodFields(const std::string_view fields[kMyFoodFieldCount], FieldFailure* failure) {
    for (int k = 0; k < kMyFoodFieldCount; ++k) {
        std::string_view text = fields[k];
        const char* message = nullptr;
        if (k == kMyFoodsLine.description) {
            if (!IsNameField(text.data(), text.size())) message = kDescriptionMessage;
        } else if (k == kMyFoodServingAmountField) {
            if (text.empty() || text.size() >= kFieldTextSize || !IsNumericField(text.data(), text.size()))
                message = kBlankFieldMessage;
        } else if (k == kMyFoodMeasureField) {
            if (text.empty()) {
                message = kBlankFieldMessage;
            } else if (!IsNameField(text.data(), text.size())) {
                message = kMeasureNameMessage;
            }
        } else if (text.size() >= kFieldTextSize || !IsNumericField(text.data(), text.size())) {
            message = kNumericMessage;
        }
        if (message) {
            *failure = {k, message, false};
            return 0;
        }
    }
    return 1;
}

int CheckEditFoodFields(const std::string_view fields[kMyFoodFieldCount], FieldFailure* failure) {
    const int description = kMyFoodsLine.description;
    if (!IsNameField(fields[description].data(), fields[description].size())) {
        *failure = {description, kEditDescriptionMessage, true};
        return 0;
    }
    for (int k = kMyFoodsLine.firstNutrient; k <= kMyFoodServingAmountField; ++k) {
        if (!IsNumericField(fields[k].data(), fields[k].size())) {
            *failure = {k, kNumericMessage, false};
            return 0;
        }
    }
    std::string_view measure = fields[kMyFoodMeasureField];
    if (!IsNameField(measure.data(), measure.size())) {
        *failure = {kMyFoodMeasureField, kEditMeasureMessage, false};
        return 0;
    }
    return 1;
}

int CheckEditFoodSaveFields(const std::string_view fields[kMyFoodFieldCount], FieldFailure* failure) {
    if (fields[kMyFoodServingAmountField].empty()) {
        *failure = {kMyFoodServingAmountField, kBlankFieldMessage, false};
        return 0;
    }
    for (int k : {kMyFoodServing3Field, kMyFoodRefuseField}) {
        if (!IsNumericField(fields[k].data(), fields[k].size())) {
            *failure = {k, kNumericMessage, false};
            return 0;
        }
    }
    return 1;
}

// The food is read as the list was filled, so a line changed in any way the list would show, or a
// blank line or another food now at the offset, no longer matches.
bool IsListedMyFood(std::string_view data, size_t offset, std::string_view text) {
    if (offset >= data.size() || !IsLineStart(data, offset)) return false;
    size_t position = offset;
    FoodListItem item;
    if (!NextFoodListItem(data, FoodFile::kMyFoods, &position, &item)) return false;
    return item.offset == offset && item.text == text;
}

std::string_view LineBytesAt(std::string_view data, size_t offset) {
    size_t end = 0;
    if (!LineSpanAt(data, offset, &end)) return std::string_view();
    return data.substr(offset, end - offset);
}

int MoveLineToEnd(std::string_view data, size_t offset, std::string_view line, char* contents,
                  size_t contentsSize, size_t* contentsLength) {
    if (contentsSize < data.size() + line.size() + 2) return 0;
    size_t length = 0;
    if (!CopyWithoutLine(data, offset, contents, contentsSize, &length)) return 0;
    std::string_view lineEnd = LineEndBeforeAppend(std::string_view(contents, length));
    if (!lineEnd.empty()) std::memcpy(contents + length, lineEnd.data(), lineEnd.size());
    length += lineEnd.size();
    if (!line.empty()) std::memcpy(contents + length, line.data(), line.size());
    *contentsLength = length + line.size();
    return 1;
}

size_t MyFoodLineLength(const std::string_view fields[kMyFoodFieldCount]) {
    size_t length = (kMyFoodFieldCount - 1) + 2;  // the separators and CR LF
    for (int k = 0; k < kMyFoodFieldCount; ++k)
        length += fields[k].size();
    return length;
}

size_t AssembleMyFoodLine(const std::string_view fields[kMyFoodFieldCount], char* line, size_t lineSize) {
    size_t length = MyFoodLineLength(fields);
    if (lineSize < length) return 0;
    size_t at = 0;
    for (int k = 0; k < kMyFoodFieldCount; ++k) {
        if (!fields[k].empty()) std::memcpy(line + at, fields[k].data(), fields[k].size());
        at += fields[k].size();
        line[at++] = k + 1 < kMyFoodFieldCount ? '^' : '\r';
    }
    line[at++] = '\n';
    return at;
}

void FormatFieldMessage(const char* format, const char* label, char* text, size_t textSize) {
    if (textSize == 0) return;
    size_t at = 0;
    auto put = [&](char c) {
        if (at + 1 < textSize) text[at++] = c;
    };
    const char* hole = std::strstr(format, "%s");
    for (const char* p = format; *p; ++p) {
        if (p == hole) {
            for (const char* l = label; *l; ++l)
                put(*l);
            ++p;
            continue;
        }
        put(*p);
    }
    text[at] = '\0';
}
