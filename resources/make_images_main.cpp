// make_images [--check] <resources folder>
// Reads art/toolbar.txt and art/icon.txt and writes toolbar.bmp and platelog.ico beside them.
// With --check nothing is written: the exit status is 1 when a stored file differs from what the
// pixel maps give, so a forgotten regeneration is caught.
#include "make_images.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int ReadFile(const std::string& path, std::string* contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return 0;
    contents->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? 0 : 1;
}

int WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return 0;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out.good() ? 1 : 0;
}

using MakeFunction = std::vector<uint8_t> (*)(std::string_view, std::string*);

// Returns 0 on success, 1 when --check found a stale file, 2 on any error.
int Produce(const std::string& artPath, const std::string& outPath, MakeFunction make, bool check) {
    std::string art;
    if (!ReadFile(artPath, &art)) {
        std::fprintf(stderr, "make_images: cannot read %s\n", artPath.c_str());
        return 2;
    }
    std::string error;
    std::vector<uint8_t> bytes = make(art, &error);
    if (bytes.empty()) {
        std::fprintf(stderr, "make_images: %s: %s\n", artPath.c_str(), error.c_str());
        return 2;
    }
    if (check) {
        std::string stored;
        if (!ReadFile(outPath, &stored) || stored != std::string(bytes.begin(), bytes.end())) {
            std::fprintf(stderr, "make_images: %s is not up to date with %s\n", outPath.c_str(),
                         artPath.c_str());
            return 1;
        }
        return 0;
    }
    if (!WriteFile(outPath, bytes)) {
        std::fprintf(stderr, "make_images: cannot write %s\n", outPath.c_str());
        return 2;
    }
    std::printf("wrote %s (%zu bytes)\n", outPath.c_str(), bytes.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool check = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--check") {
            check = true;
        } else if (folder.empty()) {
            folder = arg;
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: make_images [--check] <resources folder>\n");
        return 2;
    }
    int toolbar = Produce(folder + "/art/toolbar.txt", folder + "/toolbar.bmp", MakeToolbarBmp, check);
    int icon = Produce(folder + "/art/icon.txt", folder + "/platelog.ico", MakeIcon, check);
    return toolbar > icon ? toolbar : icon;
}
