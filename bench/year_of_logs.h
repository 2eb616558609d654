// A year of full logs for the benchmarks, written the same way under Wine and natively.
#pragma once

#include <string>
#include <vector>

constexpr int kYearOfLogs = 365;

// 365 documents of 50 entries, each day other foods of the converted USDA table in other quantities and
// measures, saved as <folder>/<prefix>2026-001.mtf and on, so they sort by day. Returns the paths, or
// nothing when a food cannot be added or a document cannot be written; the log is left empty.
std::vector<std::string> WriteYearOfLogs(const std::string& table, const std::string& folder,
                                         const char* prefix);
