#include "tools/usda_describe.h"

#include "fooddb/food_fields.h"

namespace {

constexpr int kMostOutputFields = 6;

// The source's field count and, in the program's order, the source fields each line is made of.
struct Layout {
    int sourceFields;
    int outputFields;
    int picks[kMostOutputFields];
};
// An output field and the source field it is taken from.
struct Pick {
    int output;
    int source;
};
template <size_t N>
constexpr Layout LayoutOf(int sourceFields, const Pick (&picks)[N]) {
    Layout layout = {sourceFields, static_cast<int>(N), {}};
    for (const Pick& pick : picks)
        layout.picks[pick.output] = pick.source;
    return layout;
}
// Where LONGDESC.txt takes each field of FOOD_DES.txt from, and WEIGHTS.txt each of WEIGHT.txt.
constexpr Pick kDescriptionPicks[] = {
    {kLongDescLine.record, 0},       {kLongDescLine.group, 1},       {kLongDescLine.surveyFlag, 6},
    {kLongDescLine.manufacturer, 5}, {kLongDescLine.description, 2}, {kLongDescLine.commonNames, 4},
};
constexpr Pick kWeightPicks[] = {
    {kWeightsLine.record, 0},      {kWeightsLine.sequence, 1}, {kWeightsLine.amount, 2},
    {kWeightsLine.description, 3}, {kWeightsLine.grams, 4},
};
constexpr Layout kDescriptionLayout = LayoutOf(kFoodDesFieldCount, kDescriptionPicks);
constexpr Layout kWeightLayout = LayoutOf(kWeightFieldCount, kWeightPicks);
static_assert(kDescriptionLayout.outputFields == kLongDescLine.fieldCount &&
                  kWeightLayout.outputFields == kWeightsLine.fieldCount,
              "every field of the program's files is taken from the source");
constexpr int kMostSourceFields =
    kFoodDesFieldCount > kWeightFieldCount ? kFoodDesFieldCount : kWeightFieldCount;

int ConvertTable(std::string_view source, const Layout& layout, std::string* output, UsdaLineFault* fault) {
    output->clear();
    output->reserve(source.size());
    *fault = UsdaLineFault();
    std::string_view fields[kMostSourceFields];
    size_t lineNumber = 0;
    LineSpan span;
    for (size_t start = 0; ScanLine(source, start, &span); start = span.next) {
        std::string_view line = source.substr(span.start, span.contentEnd - span.start);
        ++lineNumber;
        if (line.empty()) continue;
        int found = SplitFields(line, fields, layout.sourceFields);
        // The record number joins descriptions, measures and the nutrient table: a line without one
        // could never be matched to its food, so the file is refused rather than shipped with it.
        if (found != layout.sourceFields || UsdaRecordNumber(fields[kUsdaRecordField]) < 0) {
            fault->line = lineNumber;
            fault->fields = static_cast<size_t>(found);
            fault->badRecordNumber = found == layout.sourceFields;
            output->clear();
            return 0;
        }
        for (int i = 0; i < layout.outputFields; ++i) {
            if (i > 0) output->push_back('^');
            output->append(UsdaText(fields[layout.picks[i]]));
        }
        output->append("\r\n");
    }
    return 1;
}

}  // namespace

int ConvertUsdaDescriptions(std::string_view source, std::string* output, UsdaLineFault* fault) {
    return ConvertTable(source, kDescriptionLayout, output, fault);
}

int ConvertUsdaWeights(std::string_view source, std::string* output, UsdaLineFault* fault) {
    return ConvertTable(source, kWeightLayout, output, fault);
}
