// The food browser's search rule.
#pragma once

#include <string_view>

// True when the search text occurs anywhere in the item's text, compared without regard to case
// (ASCII and the western code page's accented letters). Blanks count like any other character; an
// empty search text matches every item, one longer than the item none.
bool MatchesSearch(std::string_view itemText, std::string_view searchText);
