#include "logdoc/day_summary.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string_view>

#include "foodlog/nutrients.h"
#include "logdoc/csv_text.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "platform/text.h"

namespace {

constexpr char kAverageRowLabel[] = "AVERAGE";
constexpr char kUnreadableDayText[] = "could not be read";

constexpr const char* kSummaryHeaders[] = {"Log", "Entries"};
constexpr int kLeadingColumns = 2;

// The records of a day and of the average are held by view mode.
static_assert(kAmountsView == 0 && kPercentView == 1, "two view modes, 0 and 1");

int ViewIndex(int viewMode) {
    return viewMode == kPercentView ? kPercentView : kAmountsView;
}

// File names compare as Windows shows them, letter case aside; dates written YYYY-MM-DD sort by day.
bool TitleBefore(const SummaryDay& a, const SummaryDay& b) {
    size_t n = std::min(a.title.size(), b.title.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(AsciiUpper(a.title[i]));
        unsigned char y = static_cast<unsigned char>(AsciiUpper(b.title[i]));
        if (x != y) return x < y;
    }
    if (a.title.size() != b.title.size()) return a.title.size() < b.title.size();
    if (a.title != b.title) return a.title < b.title;
    return a.path < b.path;
}

// A header, checksum and version as the program writes them with a count of 0: a saved empty log, a
// day without entries. The program's Open refuses it, since it would open nothing.
bool IsEmptyLog(std::string_view document, const DecodedDocument& decoded) {
    return decoded.fault == DocumentFault::kCount && document.size() > kLogDocumentCountOffset &&
           document[kLogDocumentCountOffset] == 0;
}

// One day from a document's bytes; unreadable when the document is damaged. `scratch` holds
// kMaxLogEntries entries.
void SummarizeDocument(std::string_view document, unsigned views, LogEntry* scratch, SummaryDay* day) {
    DecodedDocument decoded;
    if (!DecodeLogDocument(document, scratch, &decoded)) {
        day->readable = IsEmptyLog(document, decoded);
        return;
    }
    // As opening the document computes each entry and the TOTAL row sums them, in either view.
    for (int view = 0; view < 2; ++view)
        if (views & SummaryView(view)) TotalsOfEntries(scratch, decoded.count, view, &day->totals[view]);
    day->entries = decoded.count;
    day->readable = true;
}

// The mean of `count` integers that add up to `sum`, rounded by the program's one rule.
int32_t RoundedMean(int64_t sum, int count) {
    if (count <= 0) return 0;
    return RoundQuotient(static_cast<double>(sum) / count);
}

void ReadDay(const std::string& path, unsigned views, LogEntry* scratch, SummaryDay* day) {
    day->path = path;
    day->title = std::string(FileNameOf(path));
    FileImage image;
    if (ReadWholeFile(path.c_str(), &image) != ReadResult::kOk) return;
    SummarizeDocument(std::string_view(image.Data(), image.Size()), views, scratch, day);
}

}  // namespace

void AverageDays(unsigned views, DaySummary* summary) {
    int64_t sums[2][kNutrientCount] = {};
    int64_t entries = 0;
    int days = 0;
    for (const SummaryDay& day : summary->days) {
        if (!day.readable) continue;
        ++days;
        entries += day.entries;
        for (int view = 0; view < 2; ++view)
            for (int slot = 0; slot < kNutrientCount; ++slot)
                sums[view][slot] += day.totals[view].amounts[slot];
    }
    summary->readableDays = days;
    summary->meanEntriesTenths = RoundedMean(entries * 10, days);
    for (int view = 0; view < 2; ++view) {
        if (!(views & SummaryView(view))) continue;
        for (int slot = 0; slot < kNutrientCount; ++slot)
            summary->average[view].amounts[slot] = RoundedMean(sums[view][slot], days);
    }
}

int SummarizeDays(const std::vector<std::string>& paths, unsigned views, DaySummary* summary) {
    *summary = DaySummary{};
    if (paths.empty() || TooManyDays(paths.size())) return 0;
    std::unique_ptr<LogEntry[]> scratch(new (std::nothrow) LogEntry[kMaxLogEntries]);
    if (!scratch) return 0;
    summary->days.resize(paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        ReadDay(paths[i], views, scratch.get(), &summary->days[i]);
    std::stable_sort(summary->days.begin(), summary->days.end(), TitleBefore);
    AverageDays(views, summary);
    return 1;
}

std::string SummaryTitle(const DaySummary& summary) {
    int unreadable = static_cast<int>(summary.days.size()) - summary.readableDays;
    char text[96];
    int length = std::snprintf(text, sizeof text, "Summary of %d day%s", summary.readableDays,
                               summary.readableDays == 1 ? "" : "s");
    if (unreadable > 0 && length > 0)
        std::snprintf(text + length, sizeof text - length, " (%d could not be read)", unreadable);
    return text;
}

int SummaryColumnCount(ColumnChoice choice) {
    int count = kLeadingColumns;
    for (int position = kFirstNutrientPosition; position < kFieldPositions; ++position)
        count += IsPositionChosen(position, choice);
    return count;
}

void FormatSummaryHeaders(int viewMode, ColumnChoice choice, LogRowTexts* out) {
    out->count = 0;
    for (const char* header : kSummaryHeaders)
        PutCell(out, header);
    PutHeaders(viewMode, choice, kFirstNutrientPosition, out);
}

void FormatSummaryRow(const DaySummary& summary, int row, int viewMode, ColumnChoice choice,
                      LogRowTexts* out) {
    out->count = 0;
    const int days = static_cast<int>(summary.days.size());
    char count[32] = "";
    const EntryNutrients* nutrients = nullptr;
    if (row >= 0 && row < days) {
        const SummaryDay& day = summary.days[static_cast<size_t>(row)];
        PutCell(out, day.title.c_str());
        if (day.readable) {
            std::snprintf(count, sizeof count, "%d", day.entries);
            nutrients = &day.totals[ViewIndex(viewMode)];
        }
        PutCell(out, day.readable ? count : kUnreadableDayText);
    } else {
        PutCell(out, kAverageRowLabel);
        if (summary.readableDays > 0) {
            // Entry counts are never negative, so neither is their mean.
            int tenths = static_cast<int>(summary.meanEntriesTenths);
            std::snprintf(count, sizeof count, "%d.%d", tenths / 10, tenths % 10);
            nutrients = &summary.average[ViewIndex(viewMode)];
        }
        PutCell(out, count);
    }
    if (nutrients) FormatNutrientCells(*nutrients, choice, out);
    // A row without numbers still has every cell, so each record of a CSV has as many fields as its header.
    const int columns = SummaryColumnCount(choice);
    while (out->count < columns)
        PutCell(out, "");
}

void FormatSummaryCsv(const DaySummary& summary, int viewMode, ColumnChoice choice, std::string* out) {
    out->clear();
    LogRowTexts row;
    FormatSummaryHeaders(viewMode, choice, &row);
    AppendCsvRow(row, out);
    for (int i = 0; i <= static_cast<int>(summary.days.size()); ++i) {
        FormatSummaryRow(summary, i, viewMode, choice, &row);
        AppendCsvRow(row, out);
    }
}
