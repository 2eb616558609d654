// What the program is started with: the log document of its command line.
#pragma once

#include <string>
#include <string_view>

// How the document is to be opened: a bare command line is one path, whose document stays untitled;
// the association's "/open <path>" opens it as File > Open does, keeping its name.
enum class StartDocument { kNone, kUntitled, kTitled };

// The document of the command line and its path, one pair of enclosing quotes removed.
StartDocument ParseCommandLine(std::string_view line, std::string* path);
