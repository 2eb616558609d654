#include "foodlog/food_line.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "foodlog/nutrients.h"

namespace {

constexpr size_t kFieldTextSize = 256;

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

void CopyText(char* destination, size_t destinationSize, const char* source) {
    size_t length = std::strlen(source);
    if (length > destinationSize - 1) length = destinationSize - 1;
    std::memmove(destination, source, length);
    destination[length] = '\0';
}

// A USDA measure description "~1 cup, sliced~" as its count (1) and its words ("cup, sliced").
// Two tildes only, or an empty field, give an empty text and count 0.
void ShortenUsdaMeasure(const char* field, char* text, size_t textSize, float* count) {
    *count = 0.0f;
    if (field[0] == '\0' || field[1] == '~' || field[1] == '\0') {
        text[0] = '\0';
        return;
    }
    *count = ParseReal(field + 1);
    const char* blank = std::strchr(field + 1, ' ');
    if (!blank) {
        text[0] = '\0';
        return;
    }
    char words[kFieldTextSize];
    CopyText(words, sizeof words, blank + 1);
    size_t length = std::strlen(words);
    if (length > 0 && words[length - 1] == '~') words[length - 1] = '\0';
    CopyText(text, textSize, words);
}

}  // namespace

int LineAt(std::string_view data, size_t offset, std::string_view* line) {
    if (offset >= data.size()) return 0;
    if (offset > 0 && data[offset - 1] != '\n') return 0;
    size_t end = data.find_first_of("\r\n", offset);
    if (end == std::string_view::npos) end = data.size();
    *line = data.substr(offset, end - offset);
    return 1;
}

float ParseReal(const char* text) {
    double value = std::atof(text);
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

int32_t ParseWhole(const char* text) {
    // strtoll, not atol: long is 32 bits on Windows and 64 on Linux, and atol's overflow is undefined.
    long long value = std::strtoll(text, nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
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

int ParseFoodLine(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                  int32_t measure, int32_t source, LogEntry* entry) {
    std::string_view line;
    if (!LineAt(data, offset, &line)) return 0;
    std::memset(entry, 0, sizeof *entry);
    bool usda = source != kSourceMyFoods;
    size_t position = 0;
    char field[kFieldTextSize];
    if (usda) position = CopyField(line, position, field, sizeof field);  // the record number
    position = ReadTextField(line, position, entry->name, sizeof entry->name);
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        if (KindOfSlot(slot) == SlotKind::kWholeUnit) {
            position = ReadWholeField(line, position, &entry->values[slot]);
        } else {
            float value = 0.0f;
            position = ReadRealField(line, position, &value);
            entry->values[slot] = ToMilliUnits(value);
        }
    }
    position = ReadRealField(line, position, &entry->servingWeight1);
    if (usda) {
        position = ReadTextField(line, position, field, sizeof field);
        ShortenUsdaMeasure(field, entry->servingText1, sizeof entry->servingText1, &entry->servingCount1);
        position = ReadRealField(line, position, &entry->servingWeight2);
        position = ReadTextField(line, position, field, sizeof field);
        ShortenUsdaMeasure(field, entry->servingText2, sizeof entry->servingText2, &entry->servingCount2);
    } else {
        position = ReadTextField(line, position, entry->servingText1, sizeof entry->servingText1);
        position = ReadRealField(line, position, &entry->servingWeight2);
        position = ReadWholeField(line, position, &entry->measureIndex);
    }
    ReadWholeField(line, position, &entry->refuse);

    char quantity[kFieldTextSize];
    size_t length = quantityLength < 0 ? 0 : static_cast<size_t>(quantityLength);
    if (length > sizeof quantity - 1) length = sizeof quantity - 1;
    if (length > 0) std::memcpy(quantity, quantityText, length);
    quantity[length] = '\0';
    entry->quantity = ParseReal(quantity);
    entry->measure = measure;
    entry->source = source;
    return 1;
}

int AddFoodFromData(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                    int32_t measure, int32_t source) {
    if (g_entryCount < 0 || g_entryCount >= kMaxLogEntries) return 0;
    LogEntry entry;
    if (!ParseFoodLine(data, offset, quantityText, quantityLength, measure, source, &entry)) return 0;
    g_logEntries[g_entryCount] = entry;
    ComputeEntry(g_entryCount);
    ++g_entryCount;
    return 1;
}
