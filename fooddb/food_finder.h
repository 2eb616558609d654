// Finding a food the way people type it: every typed word at the start of a word of the food's
// description, long or short, in any order, and the food they most likely mean first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fooddb/food_files.h"

// One word of a food's descriptions or common names, folded to lower-case ASCII, and its singular form.
// A food's words stand in the order of its texts, so that "hotdog" can find "hot dog".
struct FinderWord {
    uint32_t start;   // in FoodIndex::words: the word, then its singular form
    uint8_t length;
    uint8_t baseLength;
    uint8_t flags;       // kNameWord, kLeadWord, kSegmentStart, kAsideWord
    // Which of the food's common names it belongs to, from 1; 0 for the description's and abbreviation's.
    uint8_t commonName;
};
constexpr int kMaxCommonNames = 15;
constexpr uint8_t kNameWord = 1;      // a word of the segment that names the food
constexpr uint8_t kLeadWord = 2;      // the first of them
constexpr uint8_t kSegmentStart = 4;  // the first word of a segment of the description, up to a comma
constexpr uint8_t kAsideWord = 8;  // a word of a common name or of the abbreviation, not of the description

// Ranks a food apart from any query; the higher, the likelier a person means it.
enum FoodTraits : uint8_t {
    kGenericFood = 1,     // no brand, restaurant, fast food, baby food or processed meat
    kUnpreparedFood = 2,  // not cooked, preserved or made into something else
    kPlainFood = 4,       // and said to be raw or plain
    kCommonFood = 8,      // among the foods people report eating (the USDA's survey flag)
    kUnbrandedFood = 16,  // generic but for its food group: the common name a person types is the food
    kTrueFood = 32,       // what its name says, not a stand-in made of something else
};

struct FinderFood {
    size_t offset;  // of its line in the database file
    uint32_t textStart;  // the description to show, in FoodIndex::texts, and right after it its common names
    uint16_t textLength;
    uint16_t commonNamesLength;
    uint32_t firstWord;  // in FoodIndex::foodWords
    uint16_t wordCount;
    uint8_t traits;
    uint8_t kin;  // how many foods share its first two segments, at most 255: the USDA measures
                  // the foods people eat in many forms, so a large family is a common food
};

// The foods of one database file, ready to be searched.
struct FoodIndex {
    FoodFile file = FoodFile::kUsda;
    std::vector<FinderFood> foods;
    std::vector<FinderWord> foodWords;
    std::string words;
    std::string texts;

    std::string_view Text(const FinderFood& food) const {
        return std::string_view(texts).substr(food.textStart, food.textLength);
    }
    // "hot dog, frank, wiener": the USDA's common names of the food, without its notes; often empty.
    std::string_view CommonNames(const FinderFood& food) const {
        return std::string_view(texts).substr(food.textStart + food.textLength, food.commonNamesLength);
    }
};

// The USDA foods of the program's table, described by their long descriptions where the description
// file (LONGDESC.txt, kLongDescLine) has one, else by their short ones, and found by their common names
// too. An empty or unreadable description file leaves every food short.
void IndexUsdaFoods(std::string_view table, std::string_view descriptions, FoodIndex* index);
// The foods of the My Foods file, by their descriptions.
void IndexMyFoods(std::string_view data, FoodIndex* index);

struct FoundFood {
    const FoodIndex* index;
    uint32_t food;  // in index->foods
    bool byCommonName;  // a typed word fits a common name better than the description
    uint64_t rank;  // the higher the better
};

// The text a found food is listed with: its description, and its common names where they found it,
// so that "ketchup" shows why "Catsup (Ketchup)" answers it.
std::string FoundFoodText(const FoundFood& found);

constexpr size_t kMaxFoundFoods = 100;

// The foods of the indexes that every word of the query finds (its first 16 words; a longer query is
// cut there), best first, at most `limit`.
// A query without a word finds nothing.
void FindFoods(std::string_view query, const FoodIndex* const* indexes, size_t indexCount, size_t limit,
               std::vector<FoundFood>* found);
