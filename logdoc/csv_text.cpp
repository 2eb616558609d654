#include "logdoc/csv_text.h"

void AppendCsvField(std::string_view text, std::string* out) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
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

void AppendCsvRow(const LogRowTexts& row, std::string* out) {
    for (int column = 0; column < row.count; ++column) {
        if (column > 0) out->push_back(',');
        AppendCsvField(row.cells[column], out);
    }
    out->append("\r\n");
}
