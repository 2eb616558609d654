#include "bench/year_of_logs.h"

#include <cstdio>
#include <cstring>

#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "logdoc/log_document.h"

std::vector<std::string> WriteYearOfLogs(const std::string& table, const std::string& folder,
                                         const char* prefix) {
    std::vector<size_t> offsets;
    for (size_t at = 0; at < table.size(); at = table.find('\n', at) + 1) {
        offsets.push_back(at);
        if (table.find('\n', at) == std::string::npos) break;
    }
    const char* quantities[] = {"1", "0.5", "2", "150", "1.25", "3"};
    std::vector<std::string> paths;
    for (int day = 0; day < kYearOfLogs && !offsets.empty(); ++day) {
        ClearLog();
        for (int i = 0; i < kMaxLogEntries; ++i) {
            size_t offset =
                offsets[(static_cast<size_t>(day) * 7919 + static_cast<size_t>(i) * 104729) % offsets.size()];
            const char* quantity = quantities[(day + i) % 6];
            if (!AddFoodFromData(table, offset, quantity, static_cast<int>(std::strlen(quantity)),
                                 (day + i) % 3, kSourceUsda))
                return {};
        }
        char name[64];
        std::snprintf(name, sizeof name, "/%s2026-%03d.mtf", prefix, day + 1);
        paths.push_back(folder + name);
        if (!SaveLogDocument(EntryCount(), paths.back().c_str())) return {};
    }
    ClearLog();
    return paths;
}
