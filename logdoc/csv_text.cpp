#include "logdoc/csv_text.h"

namespace {

void AppendField(std::string_view text, const char* special, std::string* out) {
    if (text.find_first_of(special) == std::string_view::npos) {
        out->append(text);
        return;
    }
    out->push_back('"');
    for (char c : text) {
        if (c == '"') out->push_back('"');
        out->push_back(c);
    }
    out->push_back('"');
}

void AppendRow(const LogRowTexts& row, char separator, const char* special, std::string* out) {
    for (int column = 0; column < row.count; ++column) {
        if (column > 0) out->push_back(separator);
        AppendField(row.cells[column], special, out);
    }
    out->append("\r\n");
}

}  // namespace

void AppendCsvField(std::string_view text, std::string* out) {
    AppendField(text, ",\"\r\n", out);
}

void AppendCsvRow(const LogRowTexts& row, std::string* out) {
    AppendRow(row, ',', ",\"\r\n", out);
}

void AppendTabRow(const LogRowTexts& row, std::string* out) {
    AppendRow(row, '\t', "\t\"\r\n", out);
}
