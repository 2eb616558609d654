// A USDA food's household measures beyond the two of its table line.
#include "fooddb/usda_measures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fooddb/food_fields.h"
#include "platform/file_io.h"
#include "tools/usda_describe.h"
#include "tools/usda_import.h"
#include "tests/test_files.h"

namespace {

std::vector<std::string> Words(const std::vector<UsdaMeasure>& measures) {
    std::vector<std::string> words;
    for (const UsdaMeasure& measure : measures)
        words.push_back(measure.words);
    return words;
}

TEST(FurtherUsdaMeasures, EveryMeasureOnceAndNoneOfTheLinesOwnOverTheRealTables) {
    std::string table;
    std::string weights;
    size_t badLine = 0;
    UsdaLineFault fault;
    ASSERT_EQ(ConvertUsdaTable(ReadNeededFile(PLATELOG_SR28_TABLE), &table, &badLine), 1);
    ASSERT_EQ(ConvertUsdaWeights(ReadNeededFile(PLATELOG_SR28_WEIGHTS), &weights, &fault), 1);
    // Each food against its own lines of the weight file, or the test reads that file 8,790 times.
    std::map<std::string, std::string> weightsOf;
    LineSpan span;
    for (size_t start = 0; ScanLine(weights, start, &span); start = span.next)
        weightsOf[weights.substr(span.start, weights.find('^', span.start) - span.start)] +=
            weights.substr(span.start, span.next - span.start);
    std::vector<UsdaMeasure> measures;
    size_t further = 0;
    size_t foods = 0;
    for (size_t start = 0; ScanLine(table, start, &span); start = span.next, ++foods) {
        FurtherUsdaMeasures(table, span.start, weightsOf[table.substr(span.start + 1, 5)], &measures);
        further += measures.size();
        std::string_view line = std::string_view(table).substr(span.start, span.contentEnd - span.start);
        std::set<std::pair<std::string, float>> seen;
        for (const UsdaMeasure& measure : measures) {
            EXPECT_TRUE(seen.insert({measure.words, measure.amount}).second) << line.substr(0, 40) << " " << measure.words;
            EXPECT_GT(measure.grams, 0.0f);
            EXPECT_LT(measure.words.size(), kMeasureWordsSize);
        }
        // The whole raw egg: its line has "1 large" and "1 extra large"; the rest follow in the USDA's order.
        if (line.rfind("~01123~", 0) == 0) {
            EXPECT_EQ(Words(measures),
                      (std::vector<std::string>{"jumbo", "cup (4.86 large eggs)", "medium", "small"}));
            EXPECT_EQ(measures[0].grams, 63.0f);
        }
        // 02010's table says "1 tbsp" is 7.8 g, its weight file 7.9 g: one measure all the same.
        if (line.rfind("~02010~", 0) == 0) {
            for (const UsdaMeasure& measure : measures) EXPECT_NE(measure.words, "tbsp");
        }
    }
    EXPECT_EQ(foods, 8790u);
    std::printf("%zu further measures for the %zu foods\n", further, foods);
    EXPECT_GT(further, 2100u);
}

TEST(FurtherUsdaMeasures, MeasuresThatCannotScaleAreLeftOutAndLongWordsCut) {
    const std::string table = "~90000~^~TEST~^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^"
                              "50^~1 large~^~~^~~^0\r\n";
    const std::string longWords(60, 'w');
    const std::string weights = "90000^1^1^large^50\r\n"         // the line's own
                                "90000^2^1^no weight^0\r\n"      // cannot scale
                                "90000^3^0^no amount^40\r\n"     // cannot scale
                                "90000^4^1^" + longWords + "^30\r\n"
                                "90001^1^1^of another food^20\r\n"  // not this food's
                                "90000^5^2^slices^56\r\n"
                                "90000^6^broken\r\n";
    std::vector<UsdaMeasure> measures;
    FurtherUsdaMeasures(table, 0, weights, &measures);
    EXPECT_EQ(Words(measures), (std::vector<std::string>{longWords.substr(0, kMeasureWordsSize - 1), "slices"}));
    ASSERT_EQ(measures.size(), 2u);
    EXPECT_EQ(measures[1].amount, 2.0f);
    FurtherUsdaMeasures(table, 3, weights, &measures);  // not a line start
    EXPECT_TRUE(measures.empty());
    FurtherUsdaMeasures(table, 0, "", &measures);  // no weight file
    EXPECT_TRUE(measures.empty());
}

}  // namespace
