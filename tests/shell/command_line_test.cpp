// The command line at start: a bare path stays untitled, the association's "/open" keeps the name.
#include <gtest/gtest.h>

#include <string>

#include "shell/command_line.h"

namespace {

TEST(ParseCommandLine, OnlyTheAssociationsOpenKeepsTheDocumentsName) {
    struct Case {
        const char* line;
        StartDocument start;
        const char* path;
    } const cases[] = {
        {"", StartDocument::kNone, ""},
        {"C:\\logs\\day one.mtf", StartDocument::kUntitled, "C:\\logs\\day one.mtf"},
        {"\"C:\\logs\\day one.mtf\"", StartDocument::kUntitled, "C:\\logs\\day one.mtf"},
        {"/open \"C:\\logs\\day one.mtf\"", StartDocument::kTitled, "C:\\logs\\day one.mtf"},
        {"/OPEN\tC:\\a.mtf  ", StartDocument::kTitled, "C:\\a.mtf"},
        {"/open   ", StartDocument::kNone, ""},
        {"/opener.mtf", StartDocument::kUntitled, "/opener.mtf"},  // a file whose name starts so
        {"/open", StartDocument::kUntitled, "/open"},
        {"\"/open C:\\a.mtf\"", StartDocument::kUntitled, "/open C:\\a.mtf"},
    };
    for (const Case& c : cases) {
        std::string path = "stale";
        EXPECT_EQ(ParseCommandLine(c.line, &path), c.start) << c.line;
        EXPECT_EQ(path, c.path) << c.line;
    }
}

}  // namespace
