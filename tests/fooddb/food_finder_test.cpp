// Finding foods as people type them, over the real USDA table and its long descriptions.
#include "fooddb/food_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_io.h"
#include "tools/usda_describe.h"
#include "tools/usda_import.h"

namespace {

std::string ReadSource(const char* path) {
    FileImage image;
    EXPECT_EQ(ReadWholeFile(path, &image), ReadResult::kOk) << path;
    return std::string(image.Data(), image.Size());
}

// The USDA table and its descriptions, converted as the build converts them.
class FoodFinder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string table;
        std::string descriptions;
        size_t badLine = 0;
        UsdaLineFault fault;
        ASSERT_EQ(ConvertUsdaTable(ReadSource(PLATELOG_SR28_TABLE), &table, &badLine), 1);
        ASSERT_EQ(ConvertUsdaDescriptions(ReadSource(PLATELOG_SR28_DESCRIPTIONS), &descriptions, &fault), 1);
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

TEST_F(FoodFinder, EverydayQueriesFindTheFoodMeantNearTheTop) {
    size_t inFirstThree = 0;
    for (const Everyday& everyday : kEveryday) {
        std::vector<std::string> found = Find(everyday.query);
        size_t place = found.size();
        for (size_t i = 0; i < found.size() && place == found.size(); ++i)
            for (const char* right : everyday.right)
                if (found[i].rfind(right, 0) == 0) place = i;
        EXPECT_LT(place, 10u) << everyday.query << ": not in the first ten";
        if (place < 3) ++inFirstThree;
        else std::printf("\"%s\" finds the food meant at place %zu\n", everyday.query, place + 1);
    }
    size_t count = sizeof kEveryday / sizeof kEveryday[0];
    std::printf("%zu of %zu everyday queries find the food meant in the first three\n", inFirstThree, count);
    EXPECT_GE(inFirstThree * 10, count * 9);
}

TEST_F(FoodFinder, WordsMatchInAnyOrderCaseAndNumberAndAtWordStartsOnly) {
    struct Case {
        const char* query;
        const char* same;  // finds the same foods in the same order
    };
    for (const Case& c : {Case{"chicken breast", "BREAST  Chicken"}, Case{"tomatoes", "tomato"},
                          Case{"berries", "berry"}, Case{"cookie", "cookies"}, Case{"yogurt greek", "Greek, yogurt"}})
        EXPECT_EQ(Find(c.query, usda_, nullptr, 100), Find(c.same, usda_, nullptr, 100)) << c.query;
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
