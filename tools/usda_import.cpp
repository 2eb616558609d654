#include "tools/usda_import.h"

#include "fooddb/food_fields.h"

namespace {

// For each field of the program's layout, the field of the USDA's layout it comes from:
// record number, description, the 31 nutrients in the program's slot order (folate is total
// folate, vitamin A in IU, vitamin E in mg), the two measures with their gram weights, refuse.
constexpr int kSourceFieldOf[kUsdaFieldCount] = {
    0,  1,                                   // NDB number, description
    2,  3,  4,  5,  7,  8,  6,               // water .. ash
    10, 13, 11, 15, 14, 12, 16, 17, 18, 19,  // minerals
    32, 40, 21, 22, 23, 24, 25, 26, 31, 20,  // vitamins
    44, 45, 46, 47,                          // fats, cholesterol
    48, 49, 50, 51,                          // measures
    52,                                      // refuse
};

}  // namespace

int ConvertUsdaLine(std::string_view sourceLine, std::string* output) {
    std::string_view fields[kUsdaSourceFieldCount];
    if (SplitFields(sourceLine, fields, kUsdaSourceFieldCount) != kUsdaSourceFieldCount) return 0;
    for (int i = 0; i < kUsdaFieldCount; ++i) {
        if (i > 0) output->push_back('^');
        output->append(fields[kSourceFieldOf[i]]);
    }
    output->append("\r\n");
    return 1;
}

int ConvertUsdaTable(std::string_view source, std::string* output, size_t* badLine, size_t* badFields) {
    output->clear();
    output->reserve(source.size());
    size_t lineNumber = 0;
    LineSpan span;
    for (size_t start = 0; ScanLine(source, start, &span); start = span.next) {
        std::string_view line = source.substr(span.start, span.contentEnd - span.start);
        ++lineNumber;
        if (line.empty()) continue;
        if (!ConvertUsdaLine(line, output)) {
            *badLine = lineNumber;
            if (badFields) *badFields = static_cast<size_t>(SplitFields(line, nullptr, 0));
            output->clear();
            return 0;
        }
    }
    return 1;
}
