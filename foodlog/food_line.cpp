#include "foodlog/food_line.h"

#include <cstring>

#include "fooddb/food_fields.h"
#include "fooddb/food_files.h"
#include "foodlog/log_history.h"
#include "foodlog/nutrients.h"
#include "platform/text.h"

int ParseFoodLine(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                  int32_t measure, int32_t source, LogEntry* entry, const UsdaMeasure* further) {
    static_assert(kFoodNutrientFields == kNutrientCount, "a food line holds every nutrient slot");
    std::string_view line;
    if (!LineAt(data, offset, &line)) return 0;
    std::memset(entry, 0, sizeof *entry);
    bool usda = source != kSourceMyFoods;
    const FoodLineFormat& format = usda ? kUsdaLine : kMyFoodsLine;
    std::string_view fields[kMaxFoodLineFields];
    SplitFields(line, fields, format.fieldCount);
    CopyText(fields[format.description], entry->name, sizeof entry->name);
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        std::string_view field = fields[format.firstNutrient + slot];
        entry->values[slot] = KindOfSlot(slot) == SlotKind::kWholeUnit ? ParseWholeField(field)
                                                                       : ToMilliUnits(ParseRealField(field));
    }
    entry->servingWeight1 = ParseRealField(fields[format.servingWeight1]);
    entry->servingWeight2 = ParseRealField(fields[format.servingWeight2]);
    if (usda) {
        SplitUsdaMeasure(fields[format.measure1], entry->servingText1, sizeof entry->servingText1,
                         &entry->servingCount1);
        SplitUsdaMeasure(fields[format.measure2], entry->servingText2, sizeof entry->servingText2,
                         &entry->servingCount2);
    } else {
        CopyText(fields[format.measure1], entry->servingText1, sizeof entry->servingText1);
        entry->measureIndex = SecondMeasureValue(fields[format.measure2]);
    }
    entry->refuse = ParseWholeField(fields[format.refuse]);
    if (usda && further) {
        static_assert(kMeasureWordsSize == kServingTextSize, "a further measure's words fit the entry");
        entry->servingWeight1 = further->grams;
        entry->servingCount1 = further->amount;
        CopyText(further->words, entry->servingText1, sizeof entry->servingText1);
        measure = kMeasureFirst;
    }

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
                    int32_t measure, int32_t source, const UsdaMeasure* further) {
    if (EntryCount() >= kMaxLogEntries) return 0;
    LogEntry entry;
    if (!ParseFoodLine(data, offset, quantityText, quantityLength, measure, source, &entry, further)) return 0;
    return AppendAsChange(ChangeKind::kAdd, &entry, 1);
}
