#include "tools/usda_import_file.h"

#include <cstring>

#include "platform/file_io.h"
#include "platform/text.h"
#include "platform/same_file.h"
#include "tools/usda_describe.h"
#include "tools/usda_import.h"

namespace {

constexpr char kUsage[] =
    "usage: usda-import <USDA SR abbreviated file> <output ABBREV.txt>\n"
    "       usda-import --descriptions <USDA SR FOOD_DES.txt> <output LONGDESC.txt>\n"
    "       usda-import --weights <USDA SR WEIGHT.txt> <output WEIGHTS.txt>\n"
    "Converts the USDA's abbreviated nutrient table (ABBREV.txt of the ASCII download, 53 fields a line)\n"
    "into Meal-Tally's ABBREV.txt (38 fields a line), its food descriptions (FOOD_DES.txt, 14 fields)\n"
    "into LONGDESC.txt and its household measures (WEIGHT.txt, 7 fields) into WEIGHTS.txt.\n"
    "Put the output in Meal-Tally's installation folder.\n";

// How each source converts, and the words its messages use.
struct Conversion {
    int (*convert)(std::string_view source, std::string* output, UsdaLineFault* fault);
    const char* fileKind;
    int fieldCount;
    const char* lineNoun;
};

int ConvertAbbreviated(std::string_view source, std::string* output, UsdaLineFault* fault) {
    *fault = UsdaLineFault();
    return ConvertUsdaTable(source, output, &fault->line, &fault->fields);
}

Conversion ConversionOf(UsdaSource source) {
    switch (source) {
        case UsdaSource::kDescriptions:
            return {ConvertUsdaDescriptions, "a USDA food description file", kFoodDesFieldCount, "foods"};
        case UsdaSource::kWeights:
            return {ConvertUsdaWeights, "a USDA weight file", kWeightFieldCount, "measures"};
        case UsdaSource::kAbbreviated:
            break;
    }
    return {ConvertAbbreviated, "a USDA abbreviated table", kUsdaSourceFieldCount, "foods"};
}

bool SourceOfOption(const char* option, UsdaSource* source) {
    if (std::strcmp(option, "--descriptions") == 0) {
        *source = UsdaSource::kDescriptions;
    } else if (std::strcmp(option, "--weights") == 0) {
        *source = UsdaSource::kWeights;
    } else {
        return false;
    }
    return true;
}

}  // namespace

// The output replaces its old contents in one step, so a failed import leaves an earlier file
// usable; and the input is never written, also when the output path names it in another spelling.
int ImportUsdaFile(const char* inputPath, const char* outputPath, std::string* message, UsdaSource source) {
    FileImage input;
    ReadResult read = ReadWholeFile(inputPath, &input);
    if (read != ReadResult::kOk) {
        *message = std::string("cannot read ") + inputPath +
                   (read == ReadResult::kNoMemory ? " (not enough memory)" : "");
        return kToolFailed;
    }
    if (IsSameFile(inputPath, outputPath)) {
        *message = std::string(outputPath) + " is the input file; name another output file";
        return kToolFailed;
    }
    const Conversion conversion = ConversionOf(source);
    std::string converted;
    UsdaLineFault fault;
    if (!conversion.convert(std::string_view(input.Data(), input.Size()), &converted, &fault)) {
        *message = std::string(inputPath) + ": line " + std::to_string(fault.line);
        if (fault.badRecordNumber) {
            *message += " has no 5-digit record number";
        } else {
            *message += " has " + std::to_string(fault.fields) + " fields; " + conversion.fileKind + " has " +
                        std::to_string(conversion.fieldCount);
        }
        return kToolFailed;
    }
    if (converted.empty()) {
        *message = std::string(inputPath) + " holds no " + conversion.lineNoun;
        return kToolFailed;
    }
    if (!ReplaceFileContents(outputPath, converted.data(), converted.size())) {
        *message = std::string("cannot write ") + outputPath;
        return kToolFailed;
    }
    *message = "wrote " + std::to_string(CountLineFeeds(converted)) + " " + conversion.lineNoun + " to " +
               outputPath;
    return kToolOk;
}

int RunUsdaImport(int argc, const char* const* argv, std::string* out, std::string* err) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        *out = kUsage;
        return kToolOk;
    }
    UsdaSource source = UsdaSource::kAbbreviated;
    int first = argc >= 2 && SourceOfOption(argv[1], &source) ? 2 : 1;
    if (argc - first != 2 || argv[first][0] == '\0' || argv[first + 1][0] == '\0') {
        *err = kUsage;
        return kToolUsage;
    }
    std::string message;
    int code = ImportUsdaFile(argv[first], argv[first + 1], &message, source);
    (code == kToolOk ? *out : *err) = "usda-import: " + message + "\n";
    return code;
}
