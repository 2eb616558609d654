#include "shell/command_line.h"

#include "platform/text.h"

namespace {

constexpr std::string_view kOpenSwitch = "/open";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A shell passes a path with blanks in one pair of quotes.
std::string_view Unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

bool StartsWithSwitch(std::string_view line) {
    if (line.size() <= kOpenSwitch.size() || !IsBlank(line[kOpenSwitch.size()])) return false;
    return StartsWithAsciiNoCase(line, kOpenSwitch);
}

}  // namespace

StartDocument ParseCommandLine(std::string_view line, std::string* path) {
    path->clear();
    if (line.empty()) return StartDocument::kNone;
    if (!StartsWithSwitch(line)) {
        path->assign(Unquoted(line));
        return StartDocument::kUntitled;
    }
    std::string_view rest = line.substr(kOpenSwitch.size());
    while (!rest.empty() && IsBlank(rest.front()))
        rest.remove_prefix(1);
    while (!rest.empty() && IsBlank(rest.back()))
        rest.remove_suffix(1);
    path->assign(Unquoted(rest));
    return path->empty() ? StartDocument::kNone : StartDocument::kTitled;
}
