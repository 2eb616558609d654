// The search rule: the search text anywhere in a description, regardless of case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/search.h"

namespace {

TEST(MatchesSearch, AnywhereInTheTextRegardlessOfCase) {
    struct Case {
        std::string item, search;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"CHICKEN,BROILERS OR FRYERS", "chicken", true},  // start
        {"SOUP,CHICKEN NOODLE", "Chicken", true},         // middle
        {"BROTH,CHICKEN", "cHiCkEn", true},               // end, the whole rest
        {"chicken", "CHICKEN", true},                     // the whole text
        {"CHICKE", "chicken", false},                     // only part of it
        {"CHICK EN", "chicken", false},                   // blanks are characters
        {"BEEF, GROUND", ", g", true},
        {"BEEF,GROUND", ", g", false},
        {"RICE  WHITE", "  ", true},  // blanks only: that many in a row
        {"RICE WHITE", "  ", false},
        {"RICE WHITE", " ", true},
        {"~BUTTER,WITH SALT~", "~butter", true},  // list texts keep their quotes
        {"~BUTTER,WITH SALT~", "~salt", false},
        {"~BUTTER,WITH SALT~", "salt~", true},
        {"EGG", "EGGS", false},  // longer than the item
        {"", "a", false},
        {"", "", true},
        {"anything", "", true},
        {"[A]_@`{", "[a]_@`{", true},  // no folding outside the letters
        {"@", "`", false},
        {"[", "{", false},
        {"CR\xC8"
         "ME BR\xDB"
         "L\xC9"
         "E",
         "cr\xE8"
         "me br\xFB"
         "l\xE9"
         "e",
         true},                   // western accented letters
        {"\xD7", "\xF7", false},  // multiplication and division signs
        {"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF", true},
        {"STRASSE",
         "stra\xDF"
         "e",
         false},
        {"12.5% FAT", "12.5%", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesSearch(c.item, c.search), c.matches)
            << '"' << c.item << "\" / \"" << c.search << '"';
    }
}

TEST(MatchesSearch, TriesEveryStartUpToTheLastThatFits) {
    // A partial match at one start must not hide a full one at the next.
    EXPECT_TRUE(MatchesSearch("aaab", "aab"));
    EXPECT_TRUE(MatchesSearch("xxchichicken", "chicken"));
    EXPECT_TRUE(MatchesSearch("abc", "c"));
    EXPECT_FALSE(MatchesSearch("abc", "cd"));
    EXPECT_TRUE(MatchesSearch(std::string_view("ab\0cd", 5), std::string_view("b\0C", 3)));
}

}  // namespace
