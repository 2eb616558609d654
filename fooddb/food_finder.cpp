#include "fooddb/food_finder.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstring>
#include <unordered_map>

#include "fooddb/food_fields.h"
#include "platform/text.h"

namespace {

constexpr unsigned char kJoin = 1;  // an apostrophe: "McDONALD'S" is typed "mcdonalds"
constexpr size_t kMaxQueryWords = 16;
constexpr size_t kMaxWordLength = 255;

// Each byte of the western code page as a person types it: letters lower-case and without accents,
// digits as they are, 0 for what separates words. Not the log search's fold (shell/search.cpp): that one
// pairs letters as Windows' own compare does and keeps accents, so the two stay apart on purpose.
constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int c = '0'; c <= '9'; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (char c = 'a'; c <= 'z'; ++c) {
        table[static_cast<unsigned char>(c)] = static_cast<unsigned char>(c);
        table[static_cast<unsigned char>(AsciiUpper(c))] = static_cast<unsigned char>(c);
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
    } else if (n >= 4 && word[n - 1] == 's' && word[n - 2] != 's' && word[n - 2] != 'u' &&
               word[n - 2] != 'i') {
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
constexpr const char* kKindHeads[] = {"alcoholic beverage",
                                      "beverages",
                                      "candies",
                                      "cereals",
                                      "cereals ready to eat",
                                      "crustaceans",
                                      "fast foods",
                                      "fish",
                                      "frozen novelties",
                                      "game meat",
                                      "leavening agents",
                                      "mollusks",
                                      "nuts",
                                      "restaurant",
                                      "salad dressing",
                                      "sauce",
                                      "seeds",
                                      "snacks",
                                      "soup",
                                      "spices",
                                      "sweeteners",
                                      "usda commodity"};

// Words of a food that has been cooked, preserved, made lighter or into something else; a person who
// types only the name means the food as it comes.
constexpr const char* kPreparedForms[] = {
    "baked",   "boiled",     "braised", "breaded",   "broiled",    "canned",     "condensed",
    "cooked",  "dehydrated", "diet",    "dried",     "dry",        "evaporated", "fried",
    "frozen",  "grilled",    "light",   "low",       "microwaved", "pickled",    "powder",
    "roasted", "smoked",     "stewed",  "sweetened", "toasted"};
// Words of a food that is not what its name says: "Bacon, meatless" is no bacon.
constexpr const char* kStandInForms[] = {"imitation", "meatless", "substitute"};

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
        if (IsAsciiUpper(c)) {
            ++run;
        } else if (IsAsciiLower(c)) {
            run = 0;
        } else if (c != '\'' || run == 0) {
            if (run >= 3 && part.substr(i - run, run) != "USDA") return true;
            run = 0;
        }
    }
    return false;
}
bool IsMixedCase(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsAsciiLower);
}
bool NamesABrand(std::string_view text) {
    return IsMixedCase(text) && HasCapitalRun(text);
}

class IndexBuilder {
public:
    explicit IndexBuilder(FoodIndex* index) : index_(index) {}
    void Add(size_t offset, std::string_view text, std::string_view shortText, std::string_view commonNames,
             uint8_t traits);

private:
    void AddCommonNames(FinderFood* food, std::string_view commonNames);
    void AddWord(const FinderFood& food, std::string_view word, uint8_t flags, uint8_t commonName = 0);

    FoodIndex* index_;
};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool IsNote(std::string_view name) {
    if (std::any_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) return true;
    bool note = false;
    bool first = true;
    ForEachWord(name, [&](std::string_view word, int) {
        if (first) note = word == "include" || word == "includes";
        first = false;
    });
    return note;
}

// `shortText` adds words to find the food by that are not shown (the USDA's abbreviations), and
// `commonNames` the names people use, ", " between them, each found as a name of the food.
void IndexBuilder::Add(size_t offset, std::string_view text, std::string_view shortText,
                       std::string_view commonNames, uint8_t traits) {
    FinderFood food = {};
    food.offset = offset;
    food.textStart = static_cast<uint32_t>(index_->texts.size());
    text = text.substr(0, 0xFFFF);
    food.textLength = static_cast<uint16_t>(text.size());
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
    bool standIn = false;
    int lastSegment = -1;
    ForEachWord(text, [&](std::string_view word, int segment) {
        uint8_t flags = segment != lastSegment ? kSegmentStart : 0;
        lastSegment = segment;
        if (segment == nameSegment) {
            flags |= lead ? kNameWord | kLeadWord : kNameWord;
            lead = false;
        }
        if (word == "raw" || word == "plain") plain = true;
        for (const char* form : kPreparedForms)
            prepared = prepared || word == form;
        for (const char* form : kStandInForms)
            standIn = standIn || word == form;
        AddWord(food, word, flags);
    });
    AddCommonNames(&food, commonNames);
    ForEachWord(shortText, [&](std::string_view word, int) { AddWord(food, word, kAsideWord); });
    if (!prepared && !standIn) traits |= plain ? kPlainFood | kUnpreparedFood : kUnpreparedFood;
    if (!standIn) traits |= kTrueFood;
    food.traits = traits;
    index_->foods.push_back(food);
}

// The names are kept after the description, for the list; the USDA's notes among them ("Includes
// USDA commodity food A343", "URMIS #1388") are no name anyone types and are left out.
void IndexBuilder::AddCommonNames(FinderFood* food, std::string_view commonNames) {
    std::string& texts = index_->texts;
    size_t start = texts.size();
    uint8_t number = 0;
    while (!commonNames.empty() && number < kMaxCommonNames) {
        size_t comma = commonNames.find(',');
        std::string_view name = Trimmed(commonNames.substr(0, comma));
        commonNames = comma == std::string_view::npos ? std::string_view() : commonNames.substr(comma + 1);
        if (name.empty() || IsNote(name)) continue;
        ++number;
        if (texts.size() > start) texts.append(", ");
        texts.append(name);
        ForEachWord(name, [&](std::string_view word, int) { AddWord(*food, word, kAsideWord, number); });
    }
    food->commonNamesLength = static_cast<uint16_t>(std::min<size_t>(texts.size() - start, 0xFFFF));
    texts.resize(start + food->commonNamesLength);
}

// A word of the abbreviation that the food already has adds nothing. The description and the
// common names keep all their words, in order: each names the food only with all of them.
void IndexBuilder::AddWord(const FinderFood& food, std::string_view word, uint8_t flags, uint8_t commonName) {
    std::string& words = index_->words;
    bool abbreviation = (flags & kAsideWord) && commonName == 0;
    for (size_t i = food.firstWord; i < index_->foodWords.size() && abbreviation; ++i) {
        const FinderWord& seen = index_->foodWords[i];
        if (std::string_view(words).substr(seen.start, seen.length) == word) return;
    }
    FinderWord entry = {};
    entry.start = static_cast<uint32_t>(words.size());
    entry.length = static_cast<uint8_t>(word.size());
    entry.flags = flags;
    entry.commonName = commonName;
    words.append(word);
    size_t before = words.size();
    AppendSingular(word, &words);
    entry.baseLength = static_cast<uint8_t>(words.size() - before);
    index_->foodWords.push_back(entry);
}

struct Description {
    std::string_view text;
    std::string_view commonNames;
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
        int record = UsdaRecordNumber(fields[format.record]);
        std::string_view text = fields[format.description];
        if (record < 0 || text.empty()) continue;
        uint8_t traits = 0;
        if (fields[format.manufacturer].empty() && !NamesABrand(text)) {
            traits |= kUnbrandedFood;
            if (!IsPreparedGroup(fields[format.group])) traits |= kGenericFood;
        }
        if (fields[format.surveyFlag] == "Y") traits |= kCommonFood;
        (*byRecord)[static_cast<size_t>(record)] = {text, fields[format.commonNames], traits};
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
    if (typed.word == word || typed.base == base) return 2;
    return StartsWith(word, typed.word) ? 1 : 0;
}

// Words joined or split another way are the same words: "soy milk" is "Soymilk", "hotdog" "hot dog".
// Both are looked for only where a typed word and a word of the food start one another, which keeps
// them off the cost of the words that differ at once.
constexpr size_t kLeastJoinedPart = 2;

// How the rest of a food's word after the typed word fits the next typed word: "soy" "milk" in
// "soymilk". 0 when there is no next typed word.
int MatchJoined(const QueryWord& typed, const QueryWord* next, std::string_view word, std::string_view base) {
    size_t length = typed.word.size();
    if (!next || length < kLeastJoinedPart || word.size() < length + kLeastJoinedPart) return 0;
    std::string_view rest = word.substr(length);
    if (rest == next->word || (StartsWith(base, typed.word) && base.substr(length) == next->base)) return 2;
    return StartsWith(rest, next->word) ? 1 : 0;
}

// How the rest of the typed word after a food's word fits the food's next word: "hotdog" on "hot" "dog".
int MatchSplit(const QueryWord& typed, std::string_view word, const FoodIndex& index,
               const FinderWord& next) {
    size_t length = word.size();
    if (length < kLeastJoinedPart || typed.word.size() < length + kLeastJoinedPart ||
        !StartsWith(typed.word, word))
        return 0;
    std::string_view rest = std::string_view(typed.word).substr(length);
    std::string_view nextWord = WordOf(index, next);
    if (rest == nextWord) return 2;
    if (StartsWith(typed.base, word) && std::string_view(typed.base).substr(length) == BaseOf(index, next))
        return 2;
    return StartsWith(nextWord, rest) ? 1 : 0;
}

// A bit for the first letter of a word, so that the words no typed word starts with are passed at once.
uint32_t LetterBit(char first) {
    return 1u << (static_cast<unsigned char>(first) & 31);
}

// The typed words that a food's words fit, one bit each: those that start a word, and those that are one.
struct Fits {
    uint32_t started = 0;
    uint32_t whole = 0;
    void Add(size_t i, int fit) {
        if (fit) started |= 1u << i;
        if (fit == 2) whole |= 1u << i;
    }
};

// Whether a typed word may fit the word: most words start with a letter that no typed word starts with.
bool MayFit(const FoodIndex& index, const FinderWord& entry, uint32_t starts) {
    return (starts & LetterBit(index.words[entry.start])) != 0;
}

// How the typed words fit word j of a food that ends at `end`: their bits in `fits`, the typed words it
// fits in `here`; the best fit is returned, and that of a typed word split over it and the next in `split`.
int FitWord(const FoodIndex& index, uint32_t j, uint32_t end, const std::vector<QueryWord>& query, Fits* fits,
            uint32_t* here, int* split) {
    const FinderWord& entry = index.foodWords[j];
    const char* text = index.words.data() + entry.start;
    std::string_view word(text, entry.length);
    std::string_view base(text + entry.length, entry.baseLength);
    int found = 0;
    for (size_t i = 0; i < query.size(); ++i) {
        const QueryWord& typed = query[i];
        if (text[0] != typed.word[0]) continue;
        int fit = MatchWord(typed, word, base);
        if (fit == 1) {
            int joined = MatchJoined(typed, i + 1 < query.size() ? &query[i + 1] : nullptr, word, base);
            if (joined) *here |= 2u << i;
            fits->Add(i + 1, joined);
            if (joined == 2) fit = 2;
        } else if (fit == 0 && j + 1 < end) {
            fit = MatchSplit(typed, word, index, index.foodWords[j + 1]);
            *split = std::max(*split, fit);
        }
        if (fit) *here |= 1u << i;
        fits->Add(i, fit);
        found = std::max(found, fit);
    }
    return found;
}

// What the words of a food that fits every typed word say of the fit.
struct WordScan {
    Fits inText;
    Fits inNames;                    // the common names'
    uint16_t commonNames = 0;        // the food's, one bit each
    uint16_t commonNamesMissed = 0;  // those with a word that no typed word fits
    // Some segment of the description is typed whole: "bacon" in "Pork, cured, bacon".
    unsigned segmentNamed = 0;
    uint32_t together = 0;  // bit i + 1: typed words i and i + 1 stand side by side
    int nameWords = 0;
    int namesFound = 0;
    int lead = 0;
};

WordScan ScanWords(const FoodIndex& index, const FinderFood& food, const std::vector<QueryWord>& query,
                   uint32_t starts) {
    WordScan scan;
    const uint32_t end = food.firstWord + food.wordCount;
    unsigned segmentOpen = 0;
    unsigned segmentFound = 0;
    uint32_t previous = 0;
    int carried = 0;  // the fit of a typed word split over the last word and this one
    for (uint32_t j = food.firstWord; j < end; ++j) {
        const FinderWord& entry = index.foodWords[j];
        uint32_t here = 0;  // the typed words this word fits
        int split = 0;
        int found = carried;
        if (MayFit(index, entry, starts))
            found = std::max(found, FitWord(index, j, end, query,
                                            entry.commonName ? &scan.inNames : &scan.inText, &here, &split));
        carried = split;
        const uint8_t flags = entry.flags;
        // Typed words side by side in the food, as they are typed within a segment, or the other way round
        // over a comma, which the descriptions put between a food and its kind: "Yogurt, plain".
        if (here | previous)
            scan.together |=
                (here << 1 & here) | ((flags & kSegmentStart) ? here << 1 & previous : previous << 1 & here);
        previous = here;
        // Written without branches: which words start segments follows no pattern a processor can guess.
        const unsigned boundary = (flags & (kSegmentStart | kAsideWord)) != 0;
        const unsigned described = (flags & kAsideWord) == 0;
        scan.segmentNamed |= boundary & segmentOpen & segmentFound;
        segmentOpen = (segmentOpen & ~boundary) | (boundary & described);
        segmentFound = (boundary | segmentFound) & (found == 2);
        scan.nameWords += flags & kNameWord;
        scan.namesFound += (flags & kNameWord) & (found != 0);
        scan.lead = std::max(scan.lead, flags & kLeadWord ? found : 0);
        if (entry.commonName) {
            uint16_t bit = static_cast<uint16_t>(1u << (entry.commonName - 1));
            scan.commonNames |= bit;
            if (!found) scan.commonNamesMissed |= bit;
        }
    }
    scan.segmentNamed |= segmentOpen & segmentFound;
    return scan;
}

// How well the food fits; false when a typed word finds none of its words. Most foods fit no query, so a
// first look at the words only asks whether every typed word is found.
bool RankFood(const FoodIndex& index, const FinderFood& food, const std::vector<QueryWord>& query,
              uint32_t starts, uint32_t position, uint64_t* rank, bool* byCommonName) {
    const uint32_t all = (1u << query.size()) - 1;
    const uint32_t end = food.firstWord + food.wordCount;
    Fits any;
    for (uint32_t j = food.firstWord; j < end && (any.started & all) != all; ++j) {
        if (!MayFit(index, index.foodWords[j], starts)) continue;
        uint32_t here = 0;
        int split = 0;
        FitWord(index, j, end, query, &any, &here, &split);
    }
    if ((any.started & all) != all) return false;
    const WordScan scan = ScanWords(index, food, query, starts);
    *byCommonName =
        (scan.inNames.started & ~scan.inText.started) || (scan.inNames.whole & ~scan.inText.whole);
    uint64_t whole = static_cast<uint64_t>(
        std::bitset<kMaxQueryWords>((scan.inText.whole | scan.inNames.whole) & all).count());
    uint64_t phrase = static_cast<uint64_t>(std::bitset<kMaxQueryWords>(scan.together & all).count());
    // A common name that the typed words name whole names the food, as its description's name would.
    bool namedCommonly = (scan.commonNames & ~scan.commonNamesMissed) != 0;
    // The food whose name is the typed words first, then one whose name starts with one of them, then one
    // with a typed word in its name or a part of its description typed whole ("Pork, cured, bacon").
    uint64_t name = 0;
    if (namedCommonly || (scan.namesFound == scan.nameWords && scan.nameWords > 0)) {
        name = 3;
    } else if (scan.lead) {
        name = 2;
    } else if (scan.namesFound || scan.segmentNamed) {
        name = 1;
    }
    uint64_t mine = index.file == FoodFile::kMyFoods ? 1 : 0;
    uint64_t shortness = 0xFFFF - std::min<uint64_t>(food.textLength, 0xFFFF);
    uint64_t earlier = 0xFFFFF - std::min<uint64_t>(position, 0xFFFFF);
    auto has = [&food](FoodTraits trait) -> uint64_t { return food.traits & trait ? 1 : 0; };
    // Frankfurters are processed meat, but a person who types "hot dog" means one.
    uint64_t generic = has(kGenericFood) | (namedCommonly ? has(kUnbrandedFood) : 0);
    // What kind of food it is counts before where the words stand in its description: the plain food
    // before brands, restaurants and stand-ins, whatever their names begin with.
    *rank = generic << 56 | has(kTrueFood) << 55 | whole << 50 | name << 48 | mine << 47 |
            has(kUnpreparedFood) << 46 | has(kPlainFood) << 45 | has(kCommonFood) << 44 | phrase << 40 |
            uint64_t{std::min<uint8_t>(food.kin, 15)} << 36 | shortness << 20 | earlier;
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
        std::string_view shortText = UsdaText(FieldOf(line, kUsdaLine.description));
        int record = UsdaRecordNumber(FieldOf(line, kUsdaRecordField));
        const Description* described = record >= 0 ? &byRecord[static_cast<size_t>(record)] : nullptr;
        if (described && !described->text.empty()) {
            builder.Add(span.start, described->text, shortText, described->commonNames, described->traits);
        } else {
            builder.Add(span.start, shortText, {}, {}, kGenericFood | kUnbrandedFood);
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
        builder.Add(item.offset, item.text, {}, {}, kGenericFood | kUnbrandedFood | kTrueFood);
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
    uint32_t starts = 0;
    for (const QueryWord& typed : words)
        starts |= LetterBit(typed.word[0]);
    uint32_t position = 0;
    for (size_t k = 0; k < indexCount; ++k) {
        const FoodIndex& index = *indexes[k];
        for (uint32_t i = 0; i < index.foods.size(); ++i, ++position) {
            uint64_t rank = 0;
            bool byCommonName = false;
            if (RankFood(index, index.foods[i], words, starts, position, &rank, &byCommonName))
                found->push_back({&index, i, byCommonName, rank});
        }
    }
    auto better = [](const FoundFood& a, const FoundFood& b) { return a.rank > b.rank; };
    if (found->size() > limit) {
        std::partial_sort(found->begin(), found->begin() + static_cast<std::ptrdiff_t>(limit), found->end(),
                          better);
        found->resize(limit);
    } else {
        std::sort(found->begin(), found->end(), better);
    }
}

std::string FoundFoodText(const FoundFood& found) {
    const FinderFood& food = found.index->foods[found.food];
    std::string text(found.index->Text(food));
    std::string_view names = found.index->CommonNames(food);
    if (found.byCommonName && !names.empty()) text.append(" (").append(names).append(")");
    return text;
}
