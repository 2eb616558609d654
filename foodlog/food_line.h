// Turning a food's database line into a log entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foodlog/log_table.h"

// The line that starts at `offset`: up to its CR, its LF or the end of the data, whichever comes
// first. Fails (returns 0) when the offset is past the data or not at a line start.
int LineAt(std::string_view data, size_t offset, std::string_view* line);

// Field readers over one line; each returns the position just past the field's '^' (or the end of
// the line when the field is the last one). A missing field reads as empty.
size_t ReadTextField(std::string_view line, size_t position, char* text, size_t textSize);
size_t ReadRealField(std::string_view line, size_t position, float* result);
size_t ReadWholeField(std::string_view line, size_t position, int32_t* result);

// The standard conversions of a field's text, the same on every platform: atof held as a float,
// and atol saturated to 32 bits.
float ParseReal(const char* text);
int32_t ParseWhole(const char* text);

// A food's line of the given database, with the quantity the user typed and the measure chosen,
// as a new log entry (every field not read from the line is zero).
int ParseFoodLine(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                  int32_t measure, int32_t source, LogEntry* entry);

// Appends the food as the next entry of the log table and computes it. 0 when the log is full or
// the line offset does not point at a line of the data.
int AddFoodFromData(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                    int32_t measure, int32_t source);
