// Reading back what platelog-csv writes: RFC 4180 records ended by CR LF.
#pragma once

#include <string>
#include <vector>

namespace csv {

using Rows = std::vector<std::vector<std::string>>;

// The records of the text; `ok` turns false on a bare LF, an unclosed quote or text after a closing quote.
inline Rows Parse(const std::string& text, bool* ok) {
    Rows rows;
    std::vector<std::string> row;
    std::string field;
    *ok = true;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            ++i;
            while (true) {
                if (i >= text.size()) {
                    *ok = false;
                    return rows;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.push_back(text[i++]);
            }
            if (i < text.size() && text[i] != ',' && text[i] != '\r') {
                *ok = false;
                return rows;
            }
        }
        while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
            field.push_back(text[i++]);
        if (i >= text.size()) {
            *ok = false;  // every record ends with CR LF
            return rows;
        }
        if (text[i] == ',') {
            row.push_back(field);
            field.clear();
            ++i;
        } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            row.push_back(field);
            field.clear();
            rows.push_back(row);
            row.clear();
            i += 2;
        } else {
            *ok = false;
            return rows;
        }
    }
    return rows;
}

}  // namespace csv
