// Turning a food's database line into a log entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fooddb/usda_measures.h"
#include "foodlog/log_table.h"

// A food's line of the given database, with the quantity the user typed and the measure chosen,
// as a new log entry (every field not read from the line is zero). A USDA food logged in one of its
// further measures keeps that measure as its first (the entry is a snapshot of the food as logged, and
// a log document holds two measures), with the measure code of the first.
int ParseFoodLine(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                  int32_t measure, int32_t source, LogEntry* entry, const UsdaMeasure* further = nullptr);

// Appends the food as the next entry of the log table and computes it, a step of the history. 0 when
// the log is full or the line offset does not point at a line of the data.
int AddFoodFromData(std::string_view data, size_t offset, const char* quantityText, int quantityLength,
                    int32_t measure, int32_t source, const UsdaMeasure* further = nullptr);
