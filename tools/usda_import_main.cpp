// usda-import: turns the USDA's abbreviated nutrient table, food descriptions and household measures
// into Meal-Tally's ABBREV.txt, LONGDESC.txt and WEIGHTS.txt.
#include <cstdio>
#include <string>

#include "tools/usda_import_file.h"

int main(int argc, char** argv) {
    std::string out;
    std::string err;
    int code = RunUsdaImport(argc, argv, &out, &err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return code;
}
