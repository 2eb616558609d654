// A food line of either database at any offset of arbitrary bytes becomes an entry or nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "foodlog/food_line.h"
#include "foodlog/log_cells.h"
#include "foodlog/nutrients.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // First bytes choose the offset, the source and the measure; the rest is the file.
    size_t offset = (static_cast<size_t>(data[0]) << 8 | data[1]);
    int32_t source = data[2] & 1;
    int32_t measure = static_cast<int32_t>(data[2] >> 1) % 4 - 1;
    std::string_view file(reinterpret_cast<const char*>(data + 3), size - 3);
    LogEntry entry;
    if (ParseFoodLine(file, offset, "2.5", 3, measure, source, &entry)) {
        if (entry.name[sizeof entry.name - 1] != '\0' ||
            entry.servingText1[sizeof entry.servingText1 - 1] != '\0' ||
            entry.servingText2[sizeof entry.servingText2 - 1] != '\0')
            __builtin_trap();
        EntryNutrients nutrients;
        ComputeNutrients(entry, (data[2] >> 3) & 1, &nutrients);
        char cell[kCellTextSize];
        for (int slot = 0; slot < kNutrientCount; ++slot)
            FormatNutrient(nutrients.amounts[slot], slot, cell, sizeof cell);
    }
    return 0;
}
