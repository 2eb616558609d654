#include "foodlog/food_line.h"

#include <cstring>

#include "fooddb/food_fields.h"
#include "foodlog/nutrients.h"

int ParseFoodLine(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                  int32_t measure, int32_t source, LogEntry* entry) {
    std::string_view line;
    if (!LineAt(data, offset, &line)) return 0;
    std::memset(entry, 0, sizeof *entry);
    bool usda = source != kSourceMyFoods;
    size_t position = 0;
    char field[kFieldTextSize];
    if (usda) position = ReadTextField(line, position, field, sizeof field);  // the record number
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
        SplitUsdaMeasure(field, entry->servingText1, sizeof entry->servingText1, &entry->servingCount1);
        position = ReadRealField(line, position, &entry->servingWeight2);
        position = ReadTextField(line, position, field, sizeof field);
        SplitUsdaMeasure(field, entry->servingText2, sizeof entry->servingText2, &entry->servingCount2);
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
    if (EntryCount() >= kMaxLogEntries) return 0;
    LogEntry entry;
    if (!ParseFoodLine(data, offset, quantityText, quantityLength, measure, source, &entry)) return 0;
    return AppendEntry(entry);
}
