// Times platelog-csv's whole work for a full log: reading a 50-entry document of real USDA foods,
// computing it and writing its CSV, in both views and with all columns; and a summary of a year of such
// logs, 365 documents of 50 entries each. Native, not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/year_of_logs.h"
#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "logdoc/day_summary.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "tools/log_csv.h"
#include "tools/usda_import.h"

namespace {

constexpr char kSr28Path[] = PLATELOG_SR28_TABLE;
constexpr int kRuns = 51;
constexpr double kLimitMilliseconds = 20.0;
constexpr int kSummaryRuns = 11;
constexpr double kSummaryLimitMilliseconds = 200.0;

// The median of the runs, in milliseconds.
double Time(const std::string& document, const std::string& output, int viewMode, ColumnChoice choice) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        std::string message;
        auto start = std::chrono::steady_clock::now();
        int code = ExportLogCsv(document.c_str(), output.c_str(), viewMode, choice, &message);
        auto end = std::chrono::steady_clock::now();
        if (code != kToolOk) {
            std::fprintf(stderr, "bench: %s\n", message.c_str());
            return 1e9;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The committed USDA table, converted as the program installs it; false, said on stderr, when it cannot be.
bool LoadTable(std::string* table) {
    FileImage source;
    if (ReadWholeFile(kSr28Path, &source) != ReadResult::kOk) {
        std::fprintf(stderr, "bench: cannot read %s\n", kSr28Path);
        return false;
    }
    size_t badLine = 0;
    if (!ConvertUsdaTable(std::string_view(source.Data(), source.Size()), table, &badLine)) {
        std::fprintf(stderr, "bench: line %zu of the table is not a USDA line\n", badLine);
        return false;
    }
    return true;
}

// Fifty foods spread over the table, the longest descriptions among them, in every measure.
bool FillLogAcross(const std::string& table) {
    std::vector<size_t> offsets;
    for (size_t at = 0; at < table.size(); at = table.find('\n', at) + 1)
        offsets.push_back(at);
    ClearLog();
    for (int i = 0; i < kMaxLogEntries; ++i) {
        size_t offset = offsets[(offsets.size() - 1) * static_cast<size_t>(i) / (kMaxLogEntries - 1)];
        if (!AddFoodFromData(table, offset, "1.5", 3, i % 3, kSourceUsda)) {
            std::fprintf(stderr, "bench: cannot add the food at offset %zu\n", offset);
            return false;
        }
    }
    return true;
}

// The saved log to CSV in each view; how many medians passed their limit.
int TimeDocument(const std::string& document, const std::string& output) {
    struct {
        const char* what;
        int viewMode;
        ColumnChoice choice;
    } const cases[] = {
        {"50 entries to CSV, percent view", kPercentView, ColumnChoice::kColumnSet},
        {"50 entries to CSV, amounts view", kAmountsView, ColumnChoice::kColumnSet},
        {"50 entries to CSV, all 34 columns", kAmountsView, ColumnChoice::kAllPositions},
    };
    int over = 0;
    for (const auto& c : cases) {
        double median = Time(document, output, c.viewMode, c.choice);
        over += median > kLimitMilliseconds;
        std::printf("%-36s median %7.3f ms  (%d runs, limit %.0f ms)\n", c.what, median, kRuns,
                    kLimitMilliseconds);
    }
    FileImage csv;
    if (ReadWholeFile(output.c_str(), &csv) == ReadResult::kOk)
        std::printf("%-36s %zu bytes\n", "CSV size", csv.Size());
    return over;
}

// --summary of the year's documents; the median in milliseconds, or a negative number when the
// export failed, said on stderr.
double TimeSummary(const std::vector<std::string>& year, const std::string& output) {
    std::vector<double> times;
    for (int run = 0; run < kSummaryRuns; ++run) {
        std::string message;
        auto start = std::chrono::steady_clock::now();
        int code = ExportSummaryCsv(year, output.c_str(), kPercentView, ColumnChoice::kColumnSet, &message);
        auto end = std::chrono::steady_clock::now();
        if (code != kToolOk) {
            std::fprintf(stderr, "bench: %s\n", message.c_str());
            return -1.0;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    std::string table;
    if (!LoadTable(&table) || !FillLogAcross(table)) return 1;
    std::string document = folder + "/csv-bench.mtf";
    std::string output = folder + "/csv-bench.csv";
    if (!SaveLogDocument(EntryCount(), document.c_str())) {
        std::fprintf(stderr, "bench: cannot write %s\n", document.c_str());
        return 1;
    }
    int over = TimeDocument(document, output);
    std::remove(document.c_str());

    std::vector<std::string> year = WriteYearOfLogs(table, folder, "summary-");
    if (year.empty()) {
        std::fprintf(stderr, "bench: cannot write the year of logs in %s\n", folder.c_str());
        return 1;
    }
    double median = TimeSummary(year, output);
    if (median < 0) return 1;
    over += median > kSummaryLimitMilliseconds;
    std::printf("%-36s median %7.3f ms  (%d runs, limit %.0f ms)\n", "--summary of 365 logs of 50 entries",
                median, kSummaryRuns, kSummaryLimitMilliseconds);
    for (const std::string& path : year)
        std::remove(path.c_str());
    std::remove(output.c_str());
    return over ? 1 : 0;
}
