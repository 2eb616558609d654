// The usda-import command: converts a USDA table file, refuses bad input, never writes its input.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/file_io.h"
#include "tools/usda_import_file.h"
#include "tests/test_files.h"

namespace {

// A USDA line of 53 fields: the record number, the description, 50 numbers, refuse.
std::string SourceLine(const std::string& number, const std::string& description) {
    std::string line = "~" + number + "~^~" + description + "~";
    for (int i = 2; i < 53; ++i)
        line += "^" + std::to_string(i);
    return line;
}

struct Files {
    std::string input, output;
    explicit Files(const std::string& name)
        : input(TempPath(name + "-in.txt")), output(TempPath(name + "-out.txt")) {}
    ~Files() {
        std::remove(input.c_str());
        std::remove(output.c_str());
    }
};

TEST(ImportUsdaFile, ConvertsEveryLineAndSaysHowMany) {
    Files files("import-ok");
    WriteFileBytes(files.input, SourceLine("90001", "EGG") + "\r\n" + SourceLine("90002", "TOAST") + "\r\n");
    WriteFileBytes(files.output, "an older table\r\n");
    std::string message;
    ASSERT_EQ(ImportUsdaFile(files.input.c_str(), files.output.c_str(), &message), kToolOk) << message;
    EXPECT_EQ(message, "wrote 2 foods to " + files.output);
    std::string out = ReadFileBytes(files.output);
    EXPECT_EQ(
        out.substr(0, out.find("\r\n")),
        "~90001~^~EGG~^2^3^4^5^7^8^6^10^13^11^15^14^12^16^17^18^19^32^40^21^22^23^24^25^26^31^20^44^45^46^"
        "47^48^49^50^51^52");
    EXPECT_EQ(out.substr(out.find("\r\n") + 2, 16), "~90002~^~TOAST~^");
    EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
}

TEST(ImportUsdaFile, RefusalsLeaveTheOutputAsItWas) {
    struct Case {
        const char* what;
        std::string input;
        std::string message;  // after the input's path
    };
    const Case cases[] = {
        {"the program's own layout", "~1~^~A~^1^2^3\r\n",
         ": line 1 has 5 fields; a USDA abbreviated table has 53"},
        {"one bad line after blank lines",
         SourceLine("1", "A") + "\r\n\r\n" + SourceLine("2", "B") + "^x\r\n",
         ": line 3 has 54 fields; a USDA abbreviated table has 53"},
        {"a bad last line without line end", SourceLine("1", "A") + "\n1^2",
         ": line 2 has 2 fields; a USDA abbreviated table has 53"},
        {"an empty file", "", " holds no foods"},
        {"only blank lines", "\r\n\r\n", " holds no foods"},
    };
    for (const auto& c : cases) {
        Files files("import-refused");
        WriteFileBytes(files.input, c.input);
        WriteFileBytes(files.output, "kept\r\n");
        std::string message;
        EXPECT_EQ(ImportUsdaFile(files.input.c_str(), files.output.c_str(), &message), kToolFailed)
            << c.what;
        EXPECT_EQ(message, files.input + c.message) << c.what;
        EXPECT_EQ(ReadFileBytes(files.output), "kept\r\n") << c.what;
        EXPECT_EQ(ReadFileBytes(files.input), c.input) << c.what;
    }
    std::string message;
    std::string missing = TempPath("import-no-such-file.txt");
    EXPECT_EQ(ImportUsdaFile(missing.c_str(), TempPath("import-unused.txt").c_str(), &message),
              kToolFailed);
    EXPECT_EQ(message, "cannot read " + missing);
    EXPECT_EQ(ReadFileBytes(TempPath("import-unused.txt")), "<missing>");
}

TEST(ImportUsdaFile, NeverWritesItsInputWhateverTheSpelling) {
    Files files("import-same");
    std::string source = SourceLine("1", "A") + "\r\n";
    WriteFileBytes(files.input, source);
    const std::string dir = PLATELOG_TEMP_DIR;
    const std::string name = files.input.substr(dir.size() + 1);
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::string spellings[] = {
        files.input,
        dir + "/./" + name,
        dir + "/../test-tmp/" + name,
#ifdef _WIN32
        dir + "\\" + name,
        dir + "/" + upper,
#endif
    };
    for (const std::string& output : spellings) {
        std::string message;
        EXPECT_EQ(ImportUsdaFile(files.input.c_str(), output.c_str(), &message), kToolFailed) << output;
        EXPECT_EQ(message, output + " is the input file; name another output file");
        EXPECT_EQ(ReadFileBytes(files.input), source);
    }
}

TEST(ImportUsdaFile, FailedWriteLeavesTheOldOutput) {
    Files files("import-fault");
    WriteFileBytes(files.input, SourceLine("1", "A") + "\r\n");
    WriteFileBytes(files.output, "kept\r\n");
    std::string message;
    InjectFileFault(FileFault::kShortWrite);
    int code = ImportUsdaFile(files.input.c_str(), files.output.c_str(), &message);
    InjectFileFault(FileFault::kNone);
    EXPECT_EQ(code, kToolFailed);
    EXPECT_EQ(message, "cannot write " + files.output);
    EXPECT_EQ(ReadFileBytes(files.output), "kept\r\n");
}

TEST(RunUsdaImport, UsageAndExitCodes) {
    std::string out, err;
    const char* none[] = {"usda-import"};
    EXPECT_EQ(RunUsdaImport(1, none, &out, &err), kToolUsage);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err.rfind("usage: usda-import <USDA SR abbreviated file> <output ABBREV.txt>\n", 0), 0u) << err;

    out.clear();
    err.clear();
    const char* three[] = {"usda-import", "a", "b", "c"};
    EXPECT_EQ(RunUsdaImport(4, three, &out, &err), kToolUsage);
    EXPECT_NE(err.find("usage:"), std::string::npos);

    out.clear();
    err.clear();
    const char* help[] = {"usda-import", "--help"};
    EXPECT_EQ(RunUsdaImport(2, help, &out, &err), kToolOk);
    EXPECT_NE(out.find("usage:"), std::string::npos);
    EXPECT_EQ(err, "");

    Files files("import-run");
    WriteFileBytes(files.input, SourceLine("1", "A") + "\r\n");
    out.clear();
    err.clear();
    const char* run[] = {"usda-import", files.input.c_str(), files.output.c_str()};
    EXPECT_EQ(RunUsdaImport(3, run, &out, &err), kToolOk);
    EXPECT_EQ(out, "usda-import: wrote 1 foods to " + files.output + "\n");
    out.clear();
    const char* same[] = {"usda-import", files.input.c_str(), files.input.c_str()};
    EXPECT_EQ(RunUsdaImport(3, same, &out, &err), kToolFailed);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "usda-import: " + files.input + " is the input file; name another output file\n");
}

}  // namespace
