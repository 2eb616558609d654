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
// Where LONGDESC.txt takes each field of FOOD_DES.txt from.
constexpr Layout DescriptionLayout() {
    Layout layout = {kFoodDesFieldCount, kLongDescFieldCount, {}};
    layout.picks[kLongDescLine.record] = 0;
    layout.picks[kLongDescLine.group] = 1;
    layout.picks[kLongDescLine.surveyFlag] = 6;
    layout.picks[kLongDescLine.manufacturer] = 5;
    layout.picks[kLongDescLine.description] = 2;
    layout.picks[kLongDescLine.commonNames] = 4;
    return layout;
}
constexpr Layout kDescriptionLayout = DescriptionLayout();
constexpr Layout kWeightLayout = {kWeightFieldCount, 5, {0, 1, 2, 3, 4}};
constexpr int kMostSourceFields =
    kFoodDesFieldCount > kWeightFieldCount ? kFoodDesFieldCount : kWeightFieldCount;

std::string_view Unquoted(std::string_view field) {
    if (field.size() >= 2 && field.front() == '~' && field.back() == '~')
        return field.substr(1, field.size() - 2);
    return field;
}

// The key that joins descriptions, measures and the nutrient table: a line without one could never
// be matched to its food, so the file is refused rather than shipped with it.
bool IsRecordNumber(std::string_view text) {
    if (text.size() != 5) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

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
        if (found != layout.sourceFields || !IsRecordNumber(Unquoted(fields[0]))) {
            fault->line = lineNumber;
            fault->fields = static_cast<size_t>(found);
            fault->badRecordNumber = found == layout.sourceFields;
            output->clear();
            return 0;
        }
        for (int i = 0; i < layout.outputFields; ++i) {
            if (i > 0) output->push_back('^');
            output->append(Unquoted(fields[layout.picks[i]]));
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
