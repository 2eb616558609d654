#include "platform/same_file.h"

#include <sys/stat.h>

#include <cstring>

int IsSameFile(const char* firstPath, const char* secondPath) {
    if (std::strcmp(firstPath, secondPath) == 0) return 1;
    struct stat first;
    struct stat second;
    if (stat(firstPath, &first) != 0 || stat(secondPath, &second) != 0) return 0;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
