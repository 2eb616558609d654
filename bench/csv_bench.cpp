// Times platelog-csv's whole work for a full log: reading a 50-entry document of real USDA foods,
// computing it and writing its CSV, in both views and with all columns; and a summary of a year of such
// logs, 365 documents of 50 entries each. Native, not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
constexpr int kYear = 365;
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

// A year of full logs, each day other foods of the table in other quantities and measures, named by
// their dates. Returns the paths, or nothing when a document cannot be written.
std::vector<std::string> WriteYear(const std::string& table, const std::vector<size_t>& offsets,
                                   const std::string& folder) {
    std::vector<std::string> paths;
    const char* quantities[] = {"1", "0.5", "2", "150", "1.25", "3"};
    for (int day = 0; day < kYear; ++day) {
        ClearLog();
        for (int i = 0; i < kMaxLogEntries; ++i) {
            size_t offset =
                offsets[(static_cast<size_t>(day) * 7919 + static_cast<size_t>(i) * 104729) % offsets.size()];
            const char* quantity = quantities[(day + i) % 6];
            int measure = (day + i) % 3;
            if (!AddFoodFromData(table, offset, quantity, static_cast<int>(std::strlen(quantity)), measure,
                                 kSourceUsda))
                return {};
        }
        char name[64];
        std::snprintf(name, sizeof name, "/summary-2026-%03d.mtf", day + 1);
        paths.push_back(folder + name);
        if (!SaveLogDocument(EntryCount(), paths.back().c_str())) return {};
    }
    return paths;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    FileImage source;
    if (ReadWholeFile(kSr28Path, &source) != ReadResult::kOk) {
        std::fprintf(stderr, "bench: cannot read %s\n", kSr28Path);
        return 1;
    }
    std::string table;
    size_t badLine = 0;
    if (!ConvertUsdaTable(std::string_view(source.Data(), source.Size()), &table, &badLine)) {
        std::fprintf(stderr, "bench: line %zu of the table is not a USDA line\n", badLine);
        return 1;
    }
    // Fifty foods spread over the table, the longest descriptions among them, in every measure.
    std::vector<size_t> offsets;
    for (size_t at = 0; at < table.size(); at = table.find('\n', at) + 1)
        offsets.push_back(at);
    ClearLog();
    for (int i = 0; i < kMaxLogEntries; ++i) {
        size_t offset = offsets[(offsets.size() - 1) * static_cast<size_t>(i) / (kMaxLogEntries - 1)];
        if (!AddFoodFromData(table, offset, "1.5", 3, i % 3, kSourceUsda)) {
            std::fprintf(stderr, "bench: cannot add the food at offset %zu\n", offset);
            return 1;
        }
    }
    std::string document = folder + "/csv-bench.mtf";
    std::string output = folder + "/csv-bench.csv";
    if (!SaveLogDocument(EntryCount(), document.c_str())) {
        std::fprintf(stderr, "bench: cannot write %s\n", document.c_str());
        return 1;
    }
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
    std::remove(document.c_str());

    std::vector<std::string> year = WriteYear(table, offsets, folder);
    if (year.empty()) {
        std::fprintf(stderr, "bench: cannot write the year of logs in %s\n", folder.c_str());
        return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < kSummaryRuns; ++run) {
        std::string message;
        auto start = std::chrono::steady_clock::now();
        int code = ExportSummaryCsv(year, output.c_str(), kPercentView, ColumnChoice::kColumnSet, &message);
        auto end = std::chrono::steady_clock::now();
        if (code != kToolOk) {
            std::fprintf(stderr, "bench: %s\n", message.c_str());
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    double median = times[times.size() / 2];
    over += median > kSummaryLimitMilliseconds;
    std::printf("%-36s median %7.3f ms  (%d runs, limit %.0f ms)\n", "--summary of 365 logs of 50 entries",
                median, kSummaryRuns, kSummaryLimitMilliseconds);
    for (const std::string& path : year)
        std::remove(path.c_str());
    std::remove(output.c_str());
    return over ? 1 : 0;
}
