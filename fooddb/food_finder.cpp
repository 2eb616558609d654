#include "fooddb/food_finder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

#include "fooddb/food_fields.h"

namespace {

constexpr unsigned char kJoin = 1;  // an apostrophe: "McDONALD'S" is typed "mcdonalds"
constexpr size_t kMaxQueryWords = 16;
constexpr size_t kMaxWordLength = 255;

// Each byte of the western code page as a person types it: letters lower-case and without accents,
// digits as they are, 0 for what separates words.
constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int c = '0'; c <= '9'; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c) {
        table[c] = static_cast<unsigned char>(c);
        table[c - 32] = static_cast<unsigned char>(c);
    }
    table['\''] = table['`'] = table[0x91] = table[0x92] = kJoin;
    const char* accented = "aaaaaaaceeeeiiiidnooooo\0ouuuuyps";  // 0xC0 to 0xDF
    for (int c = 0; c < 32; ++c) {
        table[0xC0 + c] = static_cast<unsigned char>(accented[c]);
        table[0xE0 + c] = static_cast<unsigned char>(accented[c]);
    }
    table[0xDE] = table[0xFE] = 0;  // thorn
    table[0xFF] = 'y';
    table[0x8A] = table[0x9A] = 's';
    table[0x8E] = table[0x9E] = 'z';
    table[0x8C] = table[0x9C] = 'o';
    table[0x9F] = 'y';
    return table;
}
constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

bool EndsWith(std::string_view word, std::string_view end) {
    return word.size() >= end.size() && word.substr(word.size() - end.size()) == end;
}

// The singular a word shares with its plural, so that "tomato" finds "tomatoes", "berry" "berries",
// "cookies" "cookie" and "fries" "fried". It need not be English, only the same for both forms.
void AppendSingular(std::string_view word, std::string* out) {
    size_t n = word.size();
    if (n >= 4 && (EndsWith(word, "ies") || EndsWith(word, "ied"))) {
        out->append(word.substr(0, n - 3)).push_back('y');
    } else if (n >= 3 && EndsWith(word, "ie")) {
        out->append(word.substr(0, n - 2)).push_back('y');
    } else if ((n >= 4 && (EndsWith(word, "oes") || EndsWith(word, "xes") || EndsWith(word, "zes"))) ||
               (n >= 5 && (EndsWith(word, "ches") || EndsWith(word, "shes") || EndsWith(word, "sses")))) {
        out->append(word.substr(0, n - 2));
    } else if (n >= 4 && word[n - 1] == 's' && word[n - 2] != 's' && word[n - 2] != 'u' && word[n - 2] != 'i') {
        out->append(word.substr(0, n - 1));
    } else {
        out->append(word);
    }
}

// Calls `take(word, segment)` for each word of the text, folded; segments are split by commas.
template <typename Take>
void ForEachWord(std::string_view text, Take take) {
    char word[kMaxWordLength];
    size_t length = 0;
    int segment = 0;
    auto flush = [&] {
        if (length) take(std::string_view(word, length), segment);
        length = 0;
    };
    for (char c : text) {
        unsigned char folded = kFold[static_cast<unsigned char>(c)];
        if (folded == kJoin) continue;
        if (folded == 0) {
            flush();
            if (c == ',') ++segment;
        } else if (length < sizeof word) {
            word[length++] = static_cast<char>(folded);
        }
    }
    flush();
}

// First segments that name a kind of food rather than the food: "Fish, salmon, ..." is salmon.
constexpr const char* kKindHeads[] = {
    "alcoholic beverage", "beverages", "candies", "cereals", "cereals ready to eat",
    "crustaceans", "fast foods", "fish", "frozen novelties", "game meat",
    "leavening agents", "mollusks", "nuts", "restaurant", "salad dressing", "sauce", "seeds", "snacks",
    "soup", "spices", "sweeteners", "usda commodity"};

// Words of a food that has been cooked, preserved, made lighter or into something else, or is not
// what its name says; a person who types only the name means the food as it comes.
constexpr const char* kPreparedForms[] = {
    "baked",    "boiled",  "braised",    "breaded",   "broiled",   "canned",     "condensed",
    "cooked",   "dehydrated", "diet",    "dried",     "dry",       "evaporated", "fried",
    "frozen",   "grilled", "imitation",  "light",     "low",       "meatless",   "microwaved",
    "pickled",  "powder",  "roasted",    "smoked",    "stewed",    "substitute", "sweetened",
    "toasted"};

std::string FoldedSegment(std::string_view text) {
    std::string folded;
    ForEachWord(text, [&](std::string_view word, int) {
        if (!folded.empty()) folded.push_back(' ');
        folded.append(word);
    });
    return folded;
}

// A brand is written in capitals inside a mixed-case description: "KELLOGG'S", "HORMEL"; not "USDA".
bool HasCapitalRun(std::string_view part) {
    size_t run = 0;
    for (size_t i = 0; i <= part.size(); ++i) {
        char c = i < part.size() ? part[i] : ' ';
        if (c >= 'A' && c <= 'Z') {
            ++run;
        } else if (c >= 'a' && c <= 'z') {
            run = 0;
        } else if (c != '\'' || run == 0) {
            if (run >= 3 && part.substr(i - run, run) != "USDA") return true;
            run = 0;
        }
    }
    return false;
}
bool IsMixedCase(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}
bool NamesABrand(std::string_view text) {
    return IsMixedCase(text) && HasCapitalRun(text);
}

class IndexBuilder {
public:
    explicit IndexBuilder(FoodIndex* index) : index_(index) {}

    // `shortText` adds words to find the food by that are not shown (the USDA's abbreviations).
    void Add(size_t offset, std::string_view text, std::string_view shortText, uint8_t traits) {
        FinderFood food = {};
        food.offset = offset;
        food.textStart = static_cast<uint32_t>(index_->texts.size());
        food.textLength = static_cast<uint32_t>(text.size());
        index_->texts.append(text);
        food.firstWord = static_cast<uint32_t>(index_->foodWords.size());
        // "Fish, salmon, raw" and "KELLOGG'S, EGGO, waffles" name the food in their second segment.
        std::string_view head = text.substr(0, text.find(','));
        bool kindHead = head.size() < text.size() && IsMixedCase(text) && HasCapitalRun(head);
        std::string folded = FoldedSegment(head);
        for (const char* kind : kKindHeads)
            kindHead = kindHead || folded == kind;
        const int nameSegment = kindHead ? 1 : 0;
        bool lead = true;
        bool plain = false;
        bool prepared = false;
        ForEachWord(text, [&](std::string_view word, int segment) {
            uint8_t flags = 0;
            if (segment == nameSegment) {
                flags = lead ? kNameWord | kLeadWord : kNameWord;
                lead = false;
            }
            if (word == "raw" || word == "plain") plain = true;
            for (const char* form : kPreparedForms)
                prepared = prepared || word == form;
            AddWord(food, word, flags);
        });
        ForEachWord(shortText, [&](std::string_view word, int) { AddWord(food, word, 0); });
        if (!prepared) traits |= plain ? kPlainFood | kUnpreparedFood : kUnpreparedFood;
        food.traits = traits;
        index_->foods.push_back(food);
    }

private:
    void AddWord(const FinderFood& food, std::string_view word, uint8_t flags) {
        std::string& words = index_->words;
        for (size_t i = food.firstWord; i < index_->foodWords.size(); ++i) {
            const FinderWord& seen = index_->foodWords[i];
            if (std::string_view(words).substr(seen.start, seen.length) == word) {
                if (flags == 0) return;
            }
        }
        FinderWord entry = {};
        entry.start = static_cast<uint32_t>(words.size());
        entry.length = static_cast<uint8_t>(word.size());
        entry.flags = flags;
        words.append(word);
        size_t before = words.size();
        AppendSingular(word, &words);
        entry.baseLength = static_cast<uint8_t>(words.size() - before);
        index_->foodWords.push_back(entry);
    }

    FoodIndex* index_;
};

std::string_view Unquoted(std::string_view field) {
    if (field.size() >= 2 && field.front() == '~' && field.back() == '~') return field.substr(1, field.size() - 2);
    return field;
}

// The record number of "~01001~" or "01001"; -1 when it is not one.
int RecordNumber(std::string_view field) {
    field = Unquoted(field);
    if (field.size() != 5) return -1;
    int number = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

struct Description {
    std::string_view text;
    uint8_t traits;
};

// Food groups whose foods are dishes of a brand or a kitchen, or processed: baby foods, sausages and
// luncheon meats, fast foods, restaurant foods.
bool IsPreparedGroup(std::string_view group) {
    return group == "0300" || group == "0700" || group == "2100" || group == "3600";
}

// A line of another layout is not read: its fields would be taken for others.
void ReadDescriptions(std::string_view data, std::vector<Description>* byRecord) {
    byRecord->assign(100000, Description{});
    const LongDescFormat& format = kLongDescLine;
    LineSpan span;
    for (size_t start = 0; ScanLine(data, start, &span); start = span.next) {
        std::string_view line = data.substr(span.start, span.contentEnd - span.start);
        std::string_view fields[kLongDescFieldCount];
        int count = SplitFields(line, fields, kLongDescFieldCount);
        if (count != format.fieldCount && count != format.olderFieldCount) continue;
        int record = RecordNumber(fields[format.record]);
        std::string_view text = fields[format.description];
        if (record < 0 || text.empty()) continue;
        uint8_t traits = 0;
        if (fields[format.manufacturer].empty() && !IsPreparedGroup(fields[format.group]) && !NamesABrand(text))
            traits |= kGenericFood;
        if (fields[format.surveyFlag] == "Y") traits |= kCommonFood;
        (*byRecord)[static_cast<size_t>(record)] = {text, traits};
    }
}

struct QueryWord {
    std::string word;
    std::string base;
};

std::string_view WordOf(const FoodIndex& index, const FinderWord& word) {
    return std::string_view(index.words).substr(word.start, word.length);
}
std::string_view BaseOf(const FoodIndex& index, const FinderWord& word) {
    return std::string_view(index.words).substr(word.start + word.length, word.baseLength);
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && std::memcmp(text.data(), start.data(), start.size()) == 0;
}

// 2 when the typed word is the word (or its singular or plural), 1 when it starts it, else 0.
int MatchWord(const QueryWord& typed, std::string_view word, std::string_view base) {
    if (word[0] != typed.word[0]) return 0;
    if (typed.word == word || typed.base == base) return 2;
    return StartsWith(word, typed.word) ? 1 : 0;
}

// How well the food fits; false when a typed word finds none of its words.
bool RankFood(const FoodIndex& index, const FinderFood& food, const std::vector<QueryWord>& query,
              uint32_t position, uint64_t* rank) {
    int best[kMaxQueryWords] = {};
    int nameWords = 0;
    int namesFound = 0;
    int lead = 0;
    for (uint32_t j = food.firstWord; j < food.firstWord + food.wordCount; ++j) {
        const FinderWord& entry = index.foodWords[j];
        std::string_view word = WordOf(index, entry);
        std::string_view base = BaseOf(index, entry);
        int found = 0;
        for (size_t i = 0; i < query.size(); ++i) {
            int fit = MatchWord(query[i], word, base);
            best[i] = std::max(best[i], fit);
            found = std::max(found, fit);
        }
        if (entry.flags & kNameWord) {
            ++nameWords;
            if (found) ++namesFound;
            if (entry.flags & kLeadWord) lead = std::max(lead, found);
        }
    }
    uint64_t whole = 0;
    for (size_t i = 0; i < query.size(); ++i) {
        if (best[i] == 0) return false;
        if (best[i] == 2) ++whole;
    }
    // The food whose name is the typed words first, then one whose name starts with one of them.
    uint64_t name = namesFound == nameWords && nameWords > 0 ? 3 : lead ? 2 : namesFound ? 1 : 0;
    uint64_t mine = index.file == FoodFile::kMyFoods ? 1 : 0;
    uint64_t shortness = 0xFFFF - std::min<uint64_t>(food.textLength, 0xFFFF);
    uint64_t earlier = 0xFFFFF - std::min<uint64_t>(position, 0xFFFFF);
    auto has = [&food](FoodTraits trait) -> uint64_t { return food.traits & trait ? 1 : 0; };
    *rank = name << 60 | whole << 55 | mine << 54 | has(kGenericFood) << 53 | has(kUnpreparedFood) << 52 |
            has(kPlainFood) << 51 | has(kCommonFood) << 50 | uint64_t{std::min<uint8_t>(food.kin, 15)} << 46 |
            shortness << 20 | earlier;
    return true;
}

// The first two segments of a description, which name a food and its kind: "Bread, white".
std::string_view Family(std::string_view text) {
    size_t first = text.find(',');
    if (first == std::string_view::npos) return text;
    return text.substr(0, text.find(',', first + 1));
}

void Finish(FoodIndex* index) {
    std::unordered_map<std::string_view, uint32_t> families;
    for (FinderFood& food : index->foods) {
        size_t next = &food + 1 < index->foods.data() + index->foods.size() ? (&food + 1)->firstWord
                                                                            : index->foodWords.size();
        food.wordCount = static_cast<uint16_t>(next - food.firstWord);
        ++families[Family(index->Text(food))];
    }
    for (FinderFood& food : index->foods)
        food.kin = static_cast<uint8_t>(std::min<uint32_t>(families[Family(index->Text(food))], 255));
}

void Reset(FoodIndex* index, FoodFile file) {
    index->file = file;
    index->foods.clear();
    index->foodWords.clear();
    index->words.clear();
    index->texts.clear();
}

}  // namespace

void IndexUsdaFoods(std::string_view table, std::string_view descriptions, FoodIndex* index) {
    Reset(index, FoodFile::kUsda);
    std::vector<Description> byRecord;
    ReadDescriptions(descriptions, &byRecord);
    IndexBuilder builder(index);
    LineSpan span;
    for (size_t start = 0; ScanLine(table, start, &span); start = span.next) {
        std::string_view line = table.substr(span.start, span.contentEnd - span.start);
        if (line.empty()) continue;
        std::string_view shortText = Unquoted(FieldOf(line, kUsdaLine.description));
        int record = RecordNumber(FieldOf(line, 0));
        const Description* described = record >= 0 ? &byRecord[static_cast<size_t>(record)] : nullptr;
        if (described && !described->text.empty()) {
            builder.Add(span.start, described->text, shortText, described->traits);
        } else {
            builder.Add(span.start, shortText, {}, kGenericFood);
        }
    }
    Finish(index);
}

void IndexMyFoods(std::string_view data, FoodIndex* index) {
    Reset(index, FoodFile::kMyFoods);
    IndexBuilder builder(index);
    size_t position = 0;
    FoodListItem item;
    while (NextFoodListItem(data, FoodFile::kMyFoods, &position, &item))
        builder.Add(item.offset, item.text, {}, kGenericFood);
    Finish(index);
}

void FindFoods(std::string_view query, const FoodIndex* const* indexes, size_t indexCount, size_t limit,
               std::vector<FoundFood>* found) {
    found->clear();
    std::vector<QueryWord> words;
    ForEachWord(query, [&](std::string_view word, int) {
        if (words.size() == kMaxQueryWords) return;
        QueryWord typed;
        typed.word.assign(word);
        AppendSingular(word, &typed.base);
        words.push_back(std::move(typed));
    });
    if (words.empty() || limit == 0) return;
    uint32_t position = 0;
    for (size_t k = 0; k < indexCount; ++k) {
        const FoodIndex& index = *indexes[k];
        for (uint32_t i = 0; i < index.foods.size(); ++i, ++position) {
            uint64_t rank = 0;
            if (RankFood(index, index.foods[i], words, position, &rank)) found->push_back({&index, i, rank});
        }
    }
    auto better = [](const FoundFood& a, const FoundFood& b) { return a.rank > b.rank; };
    if (found->size() > limit) {
        std::partial_sort(found->begin(), found->begin() + static_cast<std::ptrdiff_t>(limit), found->end(), better);
        found->resize(limit);
    } else {
        std::sort(found->begin(), found->end(), better);
    }
}
