#include "shell/chosen_files.h"

#include <cstring>
#include <string_view>

#include "logdoc/day_summary.h"

ChosenFiles SplitChosenFiles(const char* answer, size_t size, std::vector<std::string>* paths) {
    paths->clear();
    // Every text must end inside the buffer, and the list with an empty one; a list the dialog had to
    // cut would name files the user did not choose, or leave out some that they did.
    std::vector<std::string_view> texts;
    size_t at = 0;
    while (true) {
        if (at >= size) return ChosenFiles::kCut;
        const void* end = std::memchr(answer + at, '\0', size - at);
        if (!end) return ChosenFiles::kCut;
        size_t length = static_cast<size_t>(static_cast<const char*>(end) - (answer + at));
        if (length == 0) break;
        texts.emplace_back(answer + at, length);
        if (TooManyDays(texts.size() - 1)) return ChosenFiles::kTooMany;  // the folder, then the names
        at += length + 1;
    }
    if (texts.empty()) return ChosenFiles::kNone;
    if (texts.size() == 1) {
        paths->emplace_back(texts[0]);
        return ChosenFiles::kOk;
    }
    std::string folder(texts[0]);
    if (folder.back() != '\\' && folder.back() != '/') folder.push_back('\\');
    for (size_t i = 1; i < texts.size(); ++i)
        paths->push_back(folder + std::string(texts[i]));
    return ChosenFiles::kOk;
}
