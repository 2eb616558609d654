// Copies of one program at once on one file, as two windows of Meal-Tally would be: this program starts
// its own copies. On one text file one appends numbered lines, one holds and rewrites it as Edit does
// (its first line counts the rewrites) and one reads it whole, checking every read; on one log two
// save whole documents over each other while one reads them. Then it checks that every append and
// rewrite reported done is there, none reported failed is, and no read was torn or refused. Last, one
// copy holds the log for longer than another's replace waits.
// Usage: seam_stress <folder> <seconds>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "platform/file_io.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Counts {
    long done = 0, failed = 0, torn = 0, refused = 0, last = -1;
};

// Results go beside the file, written behind the seam's back.
void WriteResult(const std::string& path, const std::string& text) {
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}
std::string ReadResult(const std::string& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}
std::string CountsText(const Counts& c) {
    return std::to_string(c.done) + " " + std::to_string(c.failed) + " " + std::to_string(c.torn) + " " +
           std::to_string(c.refused) + " " + std::to_string(c.last);
}
Counts ParseCounts(const std::string& text) {
    Counts c;
    std::sscanf(text.c_str(), "%ld %ld %ld %ld %ld", &c.done, &c.failed, &c.torn, &c.refused, &c.last);
    return c;
}

// "rewrite K" and then "line N" lines, N rising: the rewrites counted, the appended numbers; 0 when torn.
int ParseShared(std::string_view data, long* rewrites, std::vector<long>* lines) {
    lines->clear();
    size_t at = 0;
    for (bool first = true; at < data.size(); first = false) {
        size_t end = data.find("\r\n", at);
        if (end == std::string_view::npos) return 0;
        std::string line(data.substr(at, end - at));
        at = end + 2;
        long number = -1;
        char tail = 0;
        if (std::sscanf(line.c_str(), first ? "rewrite %ld%c" : "line %ld%c", &number, &tail) != 1) return 0;
        if (first)
            *rewrites = number;
        else if (!lines->empty() && number <= lines->back())
            return 0;
        else
            lines->push_back(number);
    }
    return at == data.size() && !data.empty();
}

void Append(const std::string& path, Clock::time_point end) {
    std::string outcome;
    for (long n = 0; Clock::now() < end; ++n) {
        std::string line = "line " + std::to_string(n) + "\r\n";
        outcome += AppendLineToFile(path.c_str(), line.data(), line.size()) ? '1' : '0';
    }
    WriteResult(path + ".append", outcome);
}

void Rewrite(const std::string& path, Clock::time_point end) {
    Counts c;
    while (Clock::now() < end) {
        {
            HeldFile file;
            long rewrites = -1;
            std::vector<long> lines;
            if (file.Open(path.c_str()) != ReadResult::kOk ||
                !ParseShared(file.Contents(), &rewrites, &lines)) {
                ++c.failed;
                continue;
            }
            std::string_view old = file.Contents();
            std::string next =
                "rewrite " + std::to_string(rewrites + 1) + std::string(old.substr(old.find("\r\n")));
            if (file.Rewrite(next.data(), next.size())) {
                ++c.done;
                c.last = rewrites + 1;
            } else {
                ++c.failed;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    WriteResult(path + ".rewrite", CountsText(c));
}

void ReadShared(const std::string& path, Clock::time_point end) {
    Counts c;
    long lastRewrites = -1;
    size_t lastLines = 0;
    while (Clock::now() < end) {
        FileImage image;
        if (ReadWholeFile(path.c_str(), &image) != ReadResult::kOk) {
            ++c.refused;
            continue;
        }
        long rewrites = -1;
        std::vector<long> lines;
        // Nothing read may go back: not the count of rewrites, not the lines appended.
        if (!ParseShared(std::string_view(image.Data(), image.Size()), &rewrites, &lines) ||
            rewrites < lastRewrites || lines.size() < lastLines) {
            ++c.torn;
            continue;
        }
        lastRewrites = rewrites;
        lastLines = lines.size();
        ++c.done;
    }
    WriteResult(path + ".read", CountsText(c));
}

// A saver's document of one round: a head line and a body that only that saver and round make.
std::string Document(char saver, long round) {
    std::string text = "saver " + std::string(1, saver) + " round " + std::to_string(round) + "\r\n";
    for (int i = 0; i < 400; ++i)
        text += std::string(1, saver) + " " + std::to_string(round * 1000 + i) + " of a whole document\r\n";
    return text;
}
int IsWholeDocument(std::string_view data) {
    char saver = 0;
    long round = -1;
    if (std::sscanf(std::string(data.substr(0, 40)).c_str(), "saver %c round %ld", &saver, &round) != 2)
        return 0;
    return data == Document(saver, round);
}

void Save(const std::string& path, char saver, Clock::time_point end) {
    Counts c;
    for (long round = 0; Clock::now() < end; ++round) {
        std::string document = Document(saver, round);
        if (ReplaceFileContents(path.c_str(), document.data(), document.size())) {
            ++c.done;
            c.last = round;
        } else {
            ++c.failed;
        }
    }
    WriteResult(path + ".save" + saver, CountsText(c));
}

void ReadSaved(const std::string& path, Clock::time_point end) {
    Counts c;
    while (Clock::now() < end) {
        FileImage image;
        if (ReadWholeFile(path.c_str(), &image) != ReadResult::kOk)
            ++c.refused;
        else if (!IsWholeDocument(std::string_view(image.Data(), image.Size())))
            ++c.torn;
        else
            ++c.done;
    }
    WriteResult(path + ".read", CountsText(c));
}

// Holds the file, as a copy in the middle of a long change does, and says so beside it.
void Hold(const std::string& path, Clock::time_point end) {
    HeldFile file;
    if (file.Open(path.c_str()) != ReadResult::kOk) return;
    WriteResult(path + ".held", "1");
    std::this_thread::sleep_for(end - Clock::now());
}

#ifdef _WIN32
using Copy = HANDLE;
Copy Start(const std::vector<std::string>& args) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string line = std::string("\"") + self + "\"";
    for (const std::string& arg : args)
        line += " \"" + arg + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}
int Wait(Copy copy) {
    DWORD code = 1;
    if (!copy || WaitForSingleObject(copy, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(copy, &code))
        return 1;
    CloseHandle(copy);
    return static_cast<int>(code);
}
#else
using Copy = pid_t;
Copy Start(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"/proc/self/exe"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}
int Wait(Copy copy) {
    int status = 0;
    if (copy < 0 || waitpid(copy, &status, 0) != copy) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
#endif

int Fail(const char* what) {
    std::printf("FAILED: %s\n", what);
    return 1;
}

// What the log's folder holds besides the copies' results: the log alone.
std::vector<std::string> LeftBeside(const std::string& log) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(log).parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.find(".mtf.") == std::string::npos) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A replace that gave up waiting behind another copy leaves that copy's new file, which may be the one
// it is writing; the next replace that passes the gate takes it away.
int GiveUpBesideAStalledReplace(const std::string& folder) {
    const std::string log = folder + "/held/log.mtf", theirs = log + "-new-4242";
    std::error_code error;
    std::filesystem::create_directories(folder + "/held", error);
    WriteResult(log, "old");
    WriteResult(theirs, "theirs");
    const Copy holder = Start({"hold", log, "2"});
    for (int waited = 0; ReadResult(log + ".held").empty() && waited < 1000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ReplaceFileContents(log.c_str(), "new", 3);  // POSIX renames over a held file; Windows cannot
    const bool kept = ReadResult(theirs) == "theirs";
    if (Wait(holder)) return Fail("the holder ended badly");
    if (!kept) return Fail("a replace that gave up waiting took away another copy's new file");
    if (!ReplaceFileContents(log.c_str(), "newer", 5) || std::filesystem::exists(theirs, error))
        return Fail("a replace that passed the gate left a new file behind");
    return 0;
}

// Starts the copies, waits for them and checks what they and the files say.
int Coordinate(const std::string& folder, const std::string& seconds) {
    const std::string shared = folder + "/shared.txt", log = folder + "/saved/log.mtf";
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder + "/saved", error);
    const char start[] = "rewrite 0\r\n";
    const std::string first = Document('A', -1);
    if (!ReplaceFileContents(shared.c_str(), start, sizeof start - 1) ||
        !ReplaceFileContents(log.c_str(), first.data(), first.size()))
        return Fail("cannot make the files");
    const char* const roles[] = {"append", "rewrite", "read", "saveA", "saveB", "readsaved"};
    std::vector<Copy> copies;
    for (int i = 0; i < 6; ++i)
        copies.push_back(Start({roles[i], i < 3 ? shared : log, seconds}));
    int failed = 0;
    for (int i = 0; i < 6; ++i) {
        int code = Wait(copies[i]);
        if (code) std::printf("the %s copy ended with %d\n", roles[i], code);
        failed |= code;
    }
    if (failed) return Fail("a copy could not start or ended badly");

    FileImage image;
    long rewrites = -1;
    std::vector<long> lines;
    if (ReadWholeFile(shared.c_str(), &image) != ReadResult::kOk ||
        !ParseShared(std::string_view(image.Data(), image.Size()), &rewrites, &lines))
        return Fail("the shared file is not whole");
    const std::string appends = ReadResult(shared + ".append");
    long lost = 0, phantom = 0, appended = 0;
    size_t next = 0;
    for (long n = 0; n < static_cast<long>(appends.size()); ++n) {
        const bool there = next < lines.size() && lines[next] == n;
        if (there) ++next;
        appended += appends[static_cast<size_t>(n)] == '1';
        lost += appends[static_cast<size_t>(n)] == '1' && !there;
        phantom += appends[static_cast<size_t>(n)] != '1' && there;
    }
    phantom += static_cast<long>(lines.size() - next);
    const Counts rewrite = ParseCounts(ReadResult(shared + ".rewrite"));
    const Counts read = ParseCounts(ReadResult(shared + ".read"));
    std::printf("appends: %ld done, %ld failed, %ld lost, %ld phantom\n", appended,
                static_cast<long>(appends.size()) - appended, lost, phantom);
    std::printf("rewrites: %ld done, %ld failed, the file counts %ld\n", rewrite.done, rewrite.failed,
                rewrites);
    std::printf("reads: %ld whole, %ld torn, %ld refused\n", read.done, read.torn, read.refused);

    const Counts a = ParseCounts(ReadResult(log + ".saveA")), b = ParseCounts(ReadResult(log + ".saveB"));
    const Counts saved = ParseCounts(ReadResult(log + ".read"));
    std::printf("saves: %ld and %ld done, %ld failed; reads of the log: %ld whole, %ld torn, %ld refused\n",
                a.done, b.done, a.failed + b.failed, saved.done, saved.torn, saved.refused);
    FileImage document;
    const bool whole = ReadWholeFile(log.c_str(), &document) == ReadResult::kOk &&
                       (std::string_view(document.Data(), document.Size()) == Document('A', a.last) ||
                        std::string_view(document.Data(), document.Size()) == Document('B', b.last));
    const bool alone = LeftBeside(log) == std::vector<std::string>{"log.mtf"};

    if (appends.empty() || lost || phantom || appended != static_cast<long>(appends.size()))
        return Fail("appends lost, phantom or refused");
    if (rewrite.done == 0 || rewrite.failed || rewrites != rewrite.last)
        return Fail("rewrites lost or refused");
    if (read.done == 0 || read.torn || read.refused) return Fail("reads of the shared file torn or refused");
    if (a.done == 0 || b.done == 0 || a.failed || b.failed) return Fail("saves refused");
    if (saved.done == 0 || saved.torn || saved.refused) return Fail("reads of the log torn or refused");
    if (!whole || !alone) return Fail("the log is not one saver's last document alone");
    if (GiveUpBesideAStalledReplace(folder)) return 1;
    std::printf("passed\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 3) {
        std::fprintf(stderr, "usage: seam_stress <folder> <seconds>\n");
        return 2;
    }
    if (argc == 3) return Coordinate(argv[1], argv[2]);
    const std::string role = argv[1], path = argv[2];
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(std::atol(argv[3]) * 1000);
    if (role == "append")
        Append(path, end);
    else if (role == "rewrite")
        Rewrite(path, end);
    else if (role == "read")
        ReadShared(path, end);
    else if (role == "saveA" || role == "saveB")
        Save(path, role.back(), end);
    else if (role == "readsaved")
        ReadSaved(path, end);
    else if (role == "hold")
        Hold(path, end);
    else
        return 2;
    return 0;
}
