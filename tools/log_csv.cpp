#include "tools/log_csv.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "foodlog/log_cells.h"
#include "foodlog/log_table.h"
#include "logdoc/day_summary.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "platform/same_file.h"

namespace {

constexpr char kUsage[] =
    "usage: platelog-csv [--amounts|--percent] [--all-columns] <log document .mtf> <output .csv>\n"
    "       platelog-csv --summary [--amounts|--percent] [--all-columns] <log .mtf>... <output .csv>\n"
    "Writes a Meal-Tally food log as CSV: a header row, one row per entry and the TOTAL row, each cell as\n"
    "the program's log shows it. --percent (the default) shows vitamins and minerals as % of the Daily\n"
    "Values, --amounts as amounts; --all-columns adds the five columns the program does not show.\n"
    "--summary writes a row per log instead, one log a day: its entry count and TOTAL row, in the order\n"
    "of the file names, and last the AVERAGE of the days that could be read.\n";

struct Options {
    int viewMode = kPercentView;
    bool viewChosen = false;
    bool summary = false;
    ColumnChoice choice = ColumnChoice::kColumnSet;
    std::vector<const char*> paths;
};

// 0 for a usage error: an unknown option, two different views, an empty path, or other than two paths
// (at least two with --summary: the logs, then the output).
int ParseOptions(int argc, const char* const* argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        int view = -1;
        if (std::strcmp(arg, "--amounts") == 0) {
            view = kAmountsView;
        } else if (std::strcmp(arg, "--percent") == 0) {
            view = kPercentView;
        } else if (std::strcmp(arg, "--all-columns") == 0) {
            options->choice = ColumnChoice::kAllPositions;
            continue;
        } else if (std::strcmp(arg, "--summary") == 0) {
            options->summary = true;
            continue;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return 0;
        } else {
            if (arg[0] == '\0') return 0;
            options->paths.push_back(arg);
            continue;
        }
        if (options->viewChosen && options->viewMode != view) return 0;
        options->viewMode = view;
        options->viewChosen = true;
    }
    return options->summary ? options->paths.size() >= 2 : options->paths.size() == 2;
}

}  // namespace

void FormatLogCsv(ColumnChoice choice, std::string* out) {
    out->clear();
    if (EntryCount() <= 0) return;
    LogRowTexts row;
    FormatLogHeaders(ViewMode(), choice, &row);
    AppendCsvRow(row, out);
    for (int entry = 0; entry < EntryCount(); ++entry) {
        FormatLogRow(entry, choice, &row);
        AppendCsvRow(row, out);
    }
    ComputeTotals();
    FormatLogRow(kTotalsRecord, choice, &row);
    AppendCsvRow(row, out);
}

// The document goes through the same reader, checks and arithmetic as Open in the program, so a
// document the program refuses is refused here too, and nothing is written for it.
int ExportLogCsv(const char* inputPath, const char* outputPath, int viewMode, ColumnChoice choice,
                 std::string* message) {
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
    std::unique_ptr<LogEntry[]> entries(new (std::nothrow) LogEntry[kMaxLogEntries]);
    if (!entries) {
        *message = std::string("cannot read ") + inputPath + " (not enough memory)";
        return kToolFailed;
    }
    DecodedDocument decoded;
    if (!DecodeLogDocument(std::string_view(input.Data(), input.Size()), entries.get(), &decoded)) {
        *message = std::string(inputPath) + " is not a Meal-Tally log document, or it is damaged";
        return kToolFailed;
    }
    SetViewMode(viewMode);
    ReplaceEntries(entries.get(), decoded.count);
    std::string csv;
    FormatLogCsv(choice, &csv);
    if (!ReplaceFileContents(outputPath, csv.data(), csv.size())) {
        *message = std::string("cannot write ") + outputPath;
        return kToolFailed;
    }
    *message = "wrote " + std::to_string(decoded.count) + " entries to " + outputPath;
    return kToolOk;
}

// Every document goes through the reader and arithmetic of the program's Summary of Days, so the file is
// the table that window shows and saves.
int ExportSummaryCsv(const std::vector<std::string>& inputPaths, const char* outputPath, int viewMode,
                     ColumnChoice choice, std::string* message) {
    if (TooManyDays(inputPaths.size())) {
        *message = "a summary takes at most " + std::to_string(kMaxSummaryDays) + " log documents";
        return kToolUsage;
    }
    for (const std::string& input : inputPaths) {
        if (IsSameFile(input.c_str(), outputPath)) {
            *message = std::string(outputPath) + " is one of the input files; name another output file";
            return kToolFailed;
        }
    }
    DaySummary summary;
    if (!SummarizeDays(inputPaths, SummaryView(viewMode), &summary)) {
        *message = "cannot make the summary (not enough memory)";
        return kToolFailed;
    }
    if (summary.readableDays == 0) {
        *message = "none of the log documents could be read; nothing was written";
        return kToolFailed;
    }
    std::string csv;
    FormatSummaryCsv(summary, viewMode, choice, &csv);
    if (!ReplaceFileContents(outputPath, csv.data(), csv.size())) {
        *message = std::string("cannot write ") + outputPath;
        return kToolFailed;
    }
    std::string unreadable;
    for (const SummaryDay& day : summary.days)
        if (!day.readable) unreadable += (unreadable.empty() ? "" : ", ") + day.path;
    std::string title = SummaryTitle(summary);
    title[0] = 's';  // "Summary of ..." within the sentence
    *message = "wrote the " + title + " to " + outputPath;
    if (!unreadable.empty()) *message += "; could not read " + unreadable;
    return kToolOk;
}

int RunPlatelogCsv(int argc, const char* const* argv, std::string* out, std::string* err) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        *out = kUsage;
        return kToolOk;
    }
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        *err = kUsage;
        return kToolUsage;
    }
    std::string message;
    int code = kToolOk;
    if (options.summary) {
        std::vector<std::string> inputs(options.paths.begin(), options.paths.end() - 1);
        code = ExportSummaryCsv(inputs, options.paths.back(), options.viewMode, options.choice, &message);
    } else {
        code = ExportLogCsv(options.paths[0], options.paths[1], options.viewMode, options.choice, &message);
    }
    (code == kToolOk ? *out : *err) = "platelog-csv: " + message + "\n";
    return code;
}
