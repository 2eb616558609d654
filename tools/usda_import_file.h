// The usda-import command: a USDA file in (the abbreviated table, the food descriptions or the household
// measures), the program's ABBREV.txt, LONGDESC.txt or WEIGHTS.txt out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tools/tool_exit.h"

// Which USDA file the input is.
enum class UsdaSource { kAbbreviated, kDescriptions, kWeights };

// Converts the file; returns an exit code and says what happened in `message` (one line, no end).
int ImportUsdaFile(const char* inputPath, const char* outputPath, std::string* message,
                   UsdaSource source = UsdaSource::kAbbreviated);

// The whole command line: what to print on standard output and standard error, and the exit code.
int RunUsdaImport(int argc, const char* const* argv, std::string* out, std::string* err);
