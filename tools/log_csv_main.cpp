// platelog-csv: writes a Meal-Tally log document as a CSV table.
#include <cstdio>
#include <string>

#include "tools/log_csv.h"

int main(int argc, char** argv) {
    std::string out;
    std::string err;
    int code = RunPlatelogCsv(argc, argv, &out, &err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return code;
}
