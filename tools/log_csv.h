// The platelog-csv command: a log document in, the log's table as CSV out, header row, one row per
// entry and the TOTAL row, each cell as the log list view shows it; or, with --summary, several
// documents in and the table of the program's Summary of Days out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foodlog/log_columns.h"
#include "logdoc/csv_text.h"
#include "tools/tool_exit.h"

// The log as it now stands (its entries computed in the current view mode): the header row of that
// view, then the rows of the list view, each line ended by CR LF. Nothing for an empty log.
void FormatLogCsv(ColumnChoice choice, std::string* out);

// Reads the document, computes it in the view mode and replaces the output file with its CSV in one
// step. Returns an exit code and says what happened in `message` (one line, no end).
int ExportLogCsv(const char* inputPath, const char* outputPath, int viewMode, ColumnChoice choice,
                 std::string* message);

// Reads the documents as the program's Summary of Days does and replaces the output file with the
// summary's table (a row per document, then the AVERAGE row) as CSV in one step. Nothing is written when
// no document can be read or the output is one of the inputs.
int ExportSummaryCsv(const std::vector<std::string>& inputPaths, const char* outputPath, int viewMode,
                     ColumnChoice choice, std::string* message);

// The whole command line: what to print on standard output and standard error, and the exit code.
int RunPlatelogCsv(int argc, const char* const* argv, std::string* out, std::string* err);
