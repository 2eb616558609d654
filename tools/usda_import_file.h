// The usda-import command: a USDA abbreviated table file in, the program's ABBREV.txt out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tools/tool_exit.h"

// Converts the file; returns an exit code and says what happened in `message` (one line, no end).
int ImportUsdaFile(const char* inputPath, const char* outputPath, std::string* message);

// The whole command line: what to print on standard output and standard error, and the exit code.
int RunUsdaImport(int argc, const char* const* argv, std::string* out, std::string* err);
