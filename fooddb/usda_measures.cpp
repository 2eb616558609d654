#include "fooddb/usda_measures.h"

#include <algorithm>
#include <cmath>

#include "fooddb/food_fields.h"
#include "platform/text.h"

namespace {

// Words compared as a person reads them: "1 pat,  (1" sq)" and "pat (1" sq)" are one measure.
std::string Letters(std::string_view words) {
    std::string letters;
    for (char c : words) {
        c = AsciiLower(c);
        if (IsAsciiLower(c) || (c >= '0' && c <= '9')) letters.push_back(c);
    }
    return letters;
}

struct LineMeasure {
    float count;
    std::string letters;
};

// The same measure when the words match at the same count, whatever the weight: the table and the
// weight file sometimes differ in it by a rounding ("1 tbsp", 7.8 g and 7.9 g).
bool SameMeasure(const LineMeasure& known, const UsdaMeasure& measure) {
    return std::fabs(known.count - measure.amount) <= 0.001f && known.letters == Letters(measure.words);
}

}  // namespace

void FurtherUsdaMeasures(std::string_view table, size_t offset, std::string_view weights,
                         std::vector<UsdaMeasure>* measures) {
    measures->clear();
    std::string_view line;
    if (!LineAt(table, offset, &line)) return;
    std::string_view record = UsdaText(FieldOf(line, kUsdaRecordField));
    if (record.empty()) return;
    LineMeasure known[2];
    const int measureFields[2] = {kUsdaLine.measure1, kUsdaLine.measure2};
    for (int k = 0; k < 2; ++k) {
        char words[kFieldTextSize];
        SplitUsdaMeasure(FieldOf(line, measureFields[k]), words, sizeof words, &known[k].count);
        known[k].letters = Letters(words);
    }
    LineSpan span;
    for (size_t start = 0; ScanLine(weights, start, &span); start = span.next) {
        std::string_view weight = weights.substr(span.start, span.contentEnd - span.start);
        std::string_view fields[kWeightsLine.fieldCount];
        if (SplitFields(weight, fields, kWeightsLine.fieldCount) != kWeightsLine.fieldCount ||
            UsdaText(fields[kWeightsLine.record]) != record)
            continue;
        UsdaMeasure measure;
        measure.amount = ParseRealField(fields[kWeightsLine.amount]);
        measure.grams = ParseRealField(fields[kWeightsLine.grams]);
        // Compared whole, cut only to be kept: two long measures may share their first 47 bytes.
        measure.words.assign(UsdaText(fields[kWeightsLine.description]));
        if (!(measure.amount > 0.0f) || !(measure.grams > 0.0f) || measure.words.empty()) continue;
        if (SameMeasure(known[0], measure) || SameMeasure(known[1], measure)) continue;
        bool listed = false;
        for (const UsdaMeasure& other : *measures)
            listed = listed || (other.words.compare(0, kMeasureWordsSize - 1, measure.words, 0, kMeasureWordsSize - 1) == 0 &&
                                other.amount == measure.amount);
        if (listed) continue;
        measure.words.resize(std::min(measure.words.size(), kMeasureWordsSize - 1));
        measures->push_back(std::move(measure));
    }
}
