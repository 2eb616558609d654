// Finding foods as people type them, over the real USDA table and its long descriptions.
#include "fooddb/food_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fooddb/food_fields.h"
#include "platform/file_io.h"
#include "tools/usda_describe.h"
#include "tools/usda_import.h"
#include "tests/test_files.h"

namespace {

// The USDA table and its descriptions, converted as the build converts them.
class FoodFinder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string table;
        std::string descriptions;
        size_t badLine = 0;
        UsdaLineFault fault;
        ASSERT_EQ(ConvertUsdaTable(ReadNeededFile(PLATELOG_SR28_TABLE), &table, &badLine), 1);
        ASSERT_EQ(ConvertUsdaDescriptions(ReadNeededFile(PLATELOG_SR28_DESCRIPTIONS), &descriptions, &fault), 1);
        usda_ = new FoodIndex;
        IndexUsdaFoods(table, descriptions, usda_);
        shortOnly_ = new FoodIndex;
        IndexUsdaFoods(table, "", shortOnly_);
    }
    static void TearDownTestSuite() {
        delete usda_;
        delete shortOnly_;
    }
    static std::vector<std::string> Find(const std::string& query, const FoodIndex* usda = usda_,
                                         const FoodIndex* mine = nullptr, size_t limit = 10) {
        std::vector<const FoodIndex*> indexes;
        if (mine) indexes.push_back(mine);
        indexes.push_back(usda);
        std::vector<FoundFood> found;
        FindFoods(query, indexes.data(), indexes.size(), limit, &found);
        std::vector<std::string> texts;
        for (const FoundFood& food : found)
            texts.emplace_back(food.index->Text(food.index->foods[food.food]));
        return texts;
    }
    static FoodIndex* usda_;
    static FoodIndex* shortOnly_;
};
FoodIndex* FoodFinder::usda_;
FoodIndex* FoodFinder::shortOnly_;

// Everyday queries and the foods a person typing them means: a result is right when its description
// starts with one of the texts.
struct Everyday {
    const char* query;
    std::vector<const char*> right;
};
const Everyday kEveryday[] = {
    {"chicken breast", {"Chicken, broilers or fryers, breast", "Chicken, broiler or fryers, breast"}},
    {"ground beef", {"Beef, ground"}},
    {"greek yogurt", {"Yogurt, Greek, plain"}},
    {"boiled egg", {"Egg, whole, cooked, hard-boiled"}},
    {"cottage cheese", {"Cheese, cottage"}},
    {"tomato", {"Tomatoes, red, ripe, raw"}},
    {"banana", {"Bananas, raw"}},
    {"apple", {"Apples, raw"}},
    {"milk", {"Milk, whole", "Milk, reduced fat, fluid", "Milk, lowfat, fluid", "Milk, nonfat, fluid"}},
    {"eggs", {"Egg, whole, raw", "Egg, whole, cooked"}},
    {"white rice", {"Rice, white, long-grain, regular"}},
    {"brown rice", {"Rice, brown, long-grain"}},
    {"coffee", {"Beverages, coffee, brewed"}},
    {"orange juice", {"Orange juice, raw", "Orange juice, chilled"}},
    {"peanut butter", {"Peanut butter, smooth style", "Peanut butter, chunk style"}},
    {"olive oil", {"Oil, olive"}},
    {"salmon", {"Fish, salmon, Atlantic", "Fish, salmon, pink", "Fish, salmon, sockeye", "Fish, salmon, coho"}},
    {"broccoli", {"Broccoli, raw"}},
    {"potato", {"Potatoes, flesh and skin, raw", "Potatoes, russet", "Potatoes, white", "Potatoes, red"}},
    {"bacon", {"Pork, cured, bacon", "Bacon, pre-sliced"}},
    {"butter", {"Butter, salted", "Butter, without salt"}},
    {"cheddar cheese", {"Cheese, cheddar"}},
    {"avocado", {"Avocados, raw"}},
    {"almonds", {"Nuts, almonds"}},
    {"spinach", {"Spinach, raw"}},
    {"carrots", {"Carrots, raw"}},
    {"strawberries", {"Strawberries, raw"}},
    {"honey", {"Honey"}},
    {"beer", {"Alcoholic beverage, beer, regular"}},
    {"red wine", {"Alcoholic beverage, wine, table, red"}},
    {"blueberries", {"Blueberries, raw"}},
    {"onion", {"Onions, raw"}},
    {"oranges", {"Oranges, raw"}},
    {"tuna", {"Fish, tuna, light, canned", "Fish, tuna, fresh"}},
    {"lettuce", {"Lettuce, cos or romaine", "Lettuce, iceberg", "Lettuce, green leaf"}},
    {"black beans", {"Beans, black, mature seeds"}},
    {"sugar", {"Sugars, granulated"}},
    {"bread", {"Bread, white", "Bread, whole-wheat"}},
    {"watermelon", {"Watermelon, raw"}},
    {"shrimp", {"Crustaceans, shrimp"}},
    {"peanuts", {"Peanuts, all types"}},
    {"french fries", {"Potatoes, french fried", "McDONALD'S, french fries", "BURGER KING, french fries",
                      "WENDY'S, french fries", "Fast foods, potato, french fried"}},
    {"jalape\xF1o", {"Peppers, jalapeno, raw"}},
    {"chick brea", {"Chicken, broilers or fryers, breast", "Chicken, broiler or fryers, breast"}},
};

// Where the first food meant stands among the first ten found, from 0; 10 when it is not among them.
size_t PlaceOfFoodMeant(const std::vector<std::string>& found, const std::vector<std::string>& right) {
    for (size_t i = 0; i < found.size() && i < 10; ++i)
        for (const std::string& text : right)
            if (found[i].rfind(text, 0) == 0) return i;
    return 10;
}

TEST_F(FoodFinder, EverydayQueriesFindTheFoodMeantNearTheTop) {
    size_t inFirstThree = 0;
    for (const Everyday& everyday : kEveryday) {
        size_t place = PlaceOfFoodMeant(Find(everyday.query), {everyday.right.begin(), everyday.right.end()});
        EXPECT_LT(place, 10u) << everyday.query << ": not in the first ten";
        if (place < 3) ++inFirstThree;
        else std::printf("\"%s\" finds the food meant at place %zu\n", everyday.query, place + 1);
    }
    size_t count = sizeof kEveryday / sizeof kEveryday[0];
    std::printf("%zu of %zu everyday queries find the food meant in the first three\n", inFirstThree, count);
    EXPECT_GE(inFirstThree * 10, count * 9);
}

// A week of breakfasts, lunches, dinners, snacks and drinks (everyday_week.txt, one query a line:
// "query | food meant | ...").
TEST_F(FoodFinder, AWeekOfMealsFindsTheFoodMeantInTheFirstThree) {
    std::string week = ReadNeededFile(PLATELOG_SOURCE_DIR "/tests/fooddb/everyday_week.txt");
    size_t queries = 0, inFirstThree = 0, inFirstTen = 0;
    LineSpan span;
    for (size_t start = 0; ScanLine(week, start, &span); start = span.next) {
        std::string_view line = std::string_view(week).substr(span.start, span.contentEnd - span.start);
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> parts;
        for (size_t from = 0; from <= line.size();) {
            size_t bar = std::min(line.find('|', from), line.size());
            std::string_view part = line.substr(from, bar - from);
            while (!part.empty() && part.front() == ' ')
                part.remove_prefix(1);
            while (!part.empty() && part.back() == ' ')
                part.remove_suffix(1);
            parts.emplace_back(part);
            from = bar + 1;
        }
        ASSERT_GE(parts.size(), 2u) << line;
        size_t place = PlaceOfFoodMeant(Find(parts[0]), {parts.begin() + 1, parts.end()});
        ++queries;
        inFirstThree += place < 3;
        inFirstTen += place < 10;
        if (place >= 3)
            std::printf("\"%s\" finds the food meant at place %s\n", parts[0].c_str(),
                        place < 10 ? std::to_string(place + 1).c_str() : "over 10");
    }
    std::printf(
        "Of %zu queries of a week, %zu find the food meant in the first three, %zu in the first ten\n",
        queries, inFirstThree, inFirstTen);
    EXPECT_GE(queries, 100u);
    EXPECT_GE(inFirstThree * 100, queries * 92);
    EXPECT_GE(inFirstTen * 100, queries * 98);
}

// The plain food that the words name, by the USDA's description or by the names people use, joined or
// split as they like, and shown with the common name that found it.
TEST_F(FoodFinder, ThePlainFoodComesFirstByTheNamesPeopleUse) {
    struct Case {
        const char* query;
        const char* meant;  // the start of a description among the first three
        const char* shown;  // how the first of them is listed
    } const cases[] = {
        {"ketchup", "Catsup", "Catsup (Ketchup)"},
        {"catsup", "Catsup", "Catsup"},
        {"hot dog", "Frankfurter, beef", "Frankfurter, beef, unheated (hot dog, frank, wiener)"},
        {"hotdogs", "Frankfurter, beef", "Frankfurter, beef, unheated (hot dog, frank, wiener)"},
        {"oatmeal", "Cereals, oats, regular and quick",
         "Cereals, oats, regular and quick, not fortified, dry (oatmeal, old-fashioned oats, rolled oats)"},
        {"soy milk", "Soymilk, original", "Soymilk, original and vanilla, unfortified"},
        {"soymilk", "Soymilk, original", "Soymilk, original and vanilla, unfortified"},
        {"pop corn", "Snacks, popcorn", nullptr},
        {"cheddar", "Cheese, cheddar", "Cheese, cheddar"},
        {"mozzarella", "Cheese, mozzarella", nullptr},
        {"parmesan", "Cheese, parmesan", nullptr},
        {"cola", "Beverages, carbonated, cola", "Beverages, carbonated, cola, regular"},
        {"bacon", "Pork, cured, bacon", nullptr},
    };
    for (const Case& c : cases) {
        std::vector<FoundFood> found;
        const FoodIndex* indexes[] = {usda_};
        FindFoods(c.query, indexes, 1, 3, &found);
        size_t place = 0;
        while (place < found.size() && FoundFoodText(found[place]).rfind(c.meant, 0) != 0)
            ++place;
        ASSERT_LT(place, found.size()) << c.query;
        if (c.shown) {
            EXPECT_EQ(FoundFoodText(found[place]), c.shown) << c.query;
        }
    }
}

// LONGDESC.txt as the build writes it, or of the layout before the common names; a line of another
// layout is not taken for a description. The USDA's notes among the names are no names.
TEST(FindFoodsByCommonName, ReadsBothLayoutsOfTheDescriptionsAndNeverTheNotes) {
    const std::string table =
        "~07241~^~OSCAR MAYER,WIENERS~\r\n~18350~^~ROLLS,HAMBURGER OR HOT "
        "DOG~\r\n~07022~^~FRANKFURTER,BEEF~\r\n"
        "~11935~^~CATSUP~\r\n~09003~^~APPLES,RAW,WITH SKIN~\r\n~09004~^~APPLES,RAW,WO/SKIN~\r\n";
    const std::string descriptions =
        "07241^0700^^Kraft Foods, Inc.^OSCAR MAYER, Wieners^hot dog, wiener\r\n"
        "18350^1800^Y^^Rolls, hamburger or hot dog^\r\n"
        "07022^0700^Y^^Frankfurter, beef^hot dog, frank, wiener\r\n"
        "11935^1100^Y^^Catsup\r\n"
        "09003^0900^Y^^Apples, raw, with skin^Includes USDA commodity food A343, URMIS #12\r\n"
        "09004^0900^Y^^Apples, raw, without skin^^one field too many\r\n";
    FoodIndex index;
    IndexUsdaFoods(table, descriptions, &index);
    auto find = [&index](const char* query) {
        std::vector<FoundFood> found;
        const FoodIndex* indexes[] = {&index};
        FindFoods(query, indexes, 1, 10, &found);
        std::vector<std::string> texts;
        for (const FoundFood& food : found)
            texts.push_back(FoundFoodText(food));
        return texts;
    };
    // A sausage that its common name finds is the plain food, before a roll named after it; a brand is not.
    EXPECT_EQ(find("hot dog"), (std::vector<std::string>{"Frankfurter, beef (hot dog, frank, wiener)",
                                                         "Rolls, hamburger or hot dog",
                                                         "OSCAR MAYER, Wieners (hot dog, wiener)"}));
    EXPECT_EQ(find("catsup"), std::vector<std::string>{"Catsup"});
    EXPECT_TRUE(find("commodity").empty());
    EXPECT_TRUE(find("urmis").empty());
    EXPECT_EQ(find("apples"), (std::vector<std::string>{"Apples, raw, with skin", "APPLES,RAW,WO/SKIN"}));
}

TEST_F(FoodFinder, WordsMatchInAnyOrderCaseAndNumberAndAtWordStartsOnly) {
    struct Case {
        const char* query;
        const char* same;  // finds the same foods in the same order, as far as anyone reads: "tomato" also
                           // starts "Oil, tomatoseed", a plain food ranked before the brands
    };
    for (const Case& c :
         {Case{"chicken breast", "Chicken,  BREAST"}, Case{"tomatoes", "tomato"}, Case{"berries", "berry"},
          Case{"cookie", "cookies"}, Case{"yogurt greek", "Yogurt; GREEK"}})
        EXPECT_EQ(Find(c.query, usda_, nullptr, 50), Find(c.same, usda_, nullptr, 50)) << c.query;
    // In another order the same foods, first those whose words stand together as typed.
    std::vector<std::string> typed = Find("chicken breast", usda_, nullptr, 1000);
    std::vector<std::string> turned = Find("breast chicken", usda_, nullptr, 1000);
    std::sort(typed.begin(), typed.end());
    std::sort(turned.begin(), turned.end());
    EXPECT_EQ(typed, turned);
    EXPECT_EQ(Find("milk chocolate")[0], "Candies, milk chocolate");
    EXPECT_EQ(Find("chocolate milk")[0].rfind("Milk, chocolate", 0), 0u) << Find("chocolate milk")[0];
    // "ear" starts no word of "Pears, raw"; every word must be found.
    for (const std::string& text : Find("ear", usda_, nullptr, 100))
        EXPECT_EQ(text.find("Pears, raw"), std::string::npos);
    EXPECT_TRUE(Find("chicken zzzz").empty());
    EXPECT_TRUE(Find(" ,;- ").empty());
}

TEST_F(FoodFinder, MyFoodsComeFirstAtEqualFitAndTheShortNamesServeWithoutDescriptions) {
    FoodIndex mine;
    const std::string myFoods = "Chicken breast, grilled^1^2\r\nBananas, raw^1\r\nOatmeal, my recipe^1\r\n";
    IndexMyFoods(myFoods, &mine);
    ASSERT_EQ(mine.foods.size(), 3u);
    EXPECT_EQ(mine.foods[1].offset, myFoods.find("Bananas"));
    std::vector<FoundFood> found;
    const FoodIndex* indexes[] = {usda_, &mine};  // the order of the indexes does not rank
    FindFoods("banana", indexes, 2, 1, &found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].index, &mine);

    // Without the description file the abbreviations are shown and found, word starts and all.
    std::vector<std::string> chicken = Find("chicken breast", shortOnly_);
    ASSERT_FALSE(chicken.empty());
    EXPECT_EQ(chicken[0].rfind("CHICKEN,BROILERS OR FRYERS,BREAST", 0), 0u) << chicken[0];
    EXPECT_EQ(Find("chick brst", shortOnly_), Find("brst chick", shortOnly_));
}

}  // namespace
