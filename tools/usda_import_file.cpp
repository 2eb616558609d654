#include "tools/usda_import_file.h"

#include <cstring>

#include "platform/file_io.h"
#include "platform/text.h"
#include "platform/same_file.h"
#include "tools/usda_import.h"

namespace {

constexpr char kUsage[] =
    "usage: usda-import <USDA SR abbreviated file> <output ABBREV.txt>\n"
    "Converts the USDA's abbreviated nutrient table (ABBREV.txt of the ASCII download, 53 fields a line)\n"
    "into Meal-Tally's ABBREV.txt (38 fields a line). Put the output in Meal-Tally's installation folder.\n";

}  // namespace

// The output replaces its old contents in one step, so a failed import leaves an earlier ABBREV.txt
// usable; and the input is never written, also when the output path names it in another spelling.
int ImportUsdaFile(const char* inputPath, const char* outputPath, std::string* message) {
    FileImage input;
    ReadResult read = ReadWholeFile(inputPath, &input);
    if (read != ReadResult::kOk) {
        *message = std::string("cannot read ") + inputPath +
                   (read == ReadResult::kNoMemory ? " (not enough memory)" : "");
        return kToolFailed;
    }
    if (std::strcmp(inputPath, outputPath) == 0 || IsSameFile(inputPath, outputPath)) {
        *message = std::string(outputPath) + " is the input file; name another output file";
        return kToolFailed;
    }
    std::string_view source(input.Data(), input.Size());
    std::string converted;
    size_t badLine = 0;
    size_t badFields = 0;
    if (!ConvertUsdaTable(source, &converted, &badLine, &badFields)) {
        *message = std::string(inputPath) + ": line " + std::to_string(badLine) + " has " +
                   std::to_string(badFields) + " fields; a USDA abbreviated table has " +
                   std::to_string(kUsdaSourceFieldCount);
        return kToolFailed;
    }
    if (converted.empty()) {
        *message = std::string(inputPath) + " holds no foods";
        return kToolFailed;
    }
    if (!ReplaceFileContents(outputPath, converted.data(), converted.size())) {
        *message = std::string("cannot write ") + outputPath;
        return kToolFailed;
    }
    *message = "wrote " + std::to_string(CountLineFeeds(converted)) + " foods to " + outputPath;
    return kToolOk;
}

int RunUsdaImport(int argc, const char* const* argv, std::string* out, std::string* err) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        *out = kUsage;
        return kToolOk;
    }
    if (argc != 3 || argv[1][0] == '\0' || argv[2][0] == '\0') {
        *err = kUsage;
        return kToolUsage;
    }
    std::string message;
    int code = ImportUsdaFile(argv[1], argv[2], &message);
    (code == kToolOk ? *out : *err) = "usda-import: " + message + "\n";
    return code;
}
