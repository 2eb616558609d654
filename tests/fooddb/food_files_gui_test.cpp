// The database files at the installation folder, read into real list boxes and dialog controls
// and written from them, under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "fooddb/food_files_win.h"
#include "platform/text.h"
#include "platform/file_io.h"
#include "resources/resource.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"

namespace {

// The table as the build converted it: the file that ./run and the installers install.
constexpr char kShippedUsdaPath[] = PLATELOG_USDA_TABLE;

constexpr char kAppleLine[] =
    "Apple^^52^0.3^0.2^14^2.4^^1^1^1^1^107^1^0^1^^^1^^1^2^1^1^2^1^0^8^0^0^0^0^1^Cup^^99^\r\n";

// A list box item: its text and the file offset it keeps.
struct Item {
    std::string text;
    LPARAM data;
    bool operator==(const Item& o) const { return text == o.text && data == o.data; }
};
void PrintTo(const Item& item, std::ostream* os) {
    *os << '"' << item.text << "\" @" << item.data;
}

std::vector<Item> ListItems(HWND list) {
    std::vector<Item> items;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[300] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back({text, SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)});
    }
    return items;
}

// A hidden window standing in for the main window and the food item dialog: a sorted list box,
// edits 1001 + k for every field k except the two measure pickers, and the pickers themselves.
class FoodFilesWindow : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
        InitCommonControlsEx(&controls);
        DeleteFileA(kMyFoodsPath);
        DeleteFileA(kUsdaPath);

        HINSTANCE instance = GetModuleHandleA(nullptr);
        window_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                  instance, nullptr);
        ASSERT_NE(window_, nullptr);
        list_ = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_SORT | LBS_NOTIFY, 0, 0, 200, 300, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MYFOODS_LIST)), instance,
                                nullptr);
        ASSERT_NE(list_, nullptr);
        for (int k = 0; k < kMyFoodFieldCount; ++k) {
            if (k == kMyFoodMeasureField || k == kMyFoodSecondMeasureField) continue;
            HWND edit = CreateWindowExA(
                0, "EDIT", "", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 50, 12, window_,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FOOD_FIELD_FIRST + k)), instance, nullptr);
            ASSERT_NE(edit, nullptr);
        }
        SetMeasurePickers(CreatePicker(instance, CBS_DROPDOWN, 14, 8),
                          CreatePicker(instance, CBS_DROPDOWNLIST, 44, 7));
    }

    void TearDown() override {
        InjectFileFault(FileFault::kNone);
        if (window_) DestroyWindow(window_);
        SetMeasurePickers(nullptr, nullptr);
    }

    HWND CreatePicker(HINSTANCE instance, DWORD style, int y, int rows) {
        HWND picker = CreateWindowExA(0, WC_COMBOBOXEXA, "", WS_CHILD | WS_BORDER | style, 440, y, 70, 350,
                                      window_, nullptr, instance, nullptr);
        EXPECT_NE(picker, nullptr);
        const char* names[] = {"Cup",      "fl oz",      "mL",    "Ounces",
                               "Teaspoon", "Tablespoon", "grams", "per serving"};
        for (int row = 0; row < rows; ++row) {
            COMBOBOXEXITEMA item = {};
            item.mask = CBEIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<char*>(names[row]);
            item.cchTextMax = static_cast<int>(std::strlen(names[row]));
            EXPECT_EQ(SendMessageA(picker, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), row);
        }
        return picker;
    }

    std::vector<Item> Items() const { return ListItems(list_); }

    void Reload() {
        SendMessageA(list_, LB_RESETCONTENT, 0, 0);
        ASSERT_EQ(LoadMyFoods(list_), 1);
    }

    void Select(const std::string& text, LPARAM data) {
        std::vector<Item> items = Items();
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].text == text && items[i].data == data) {
                SendMessageA(list_, LB_SETCURSEL, i, 0);
                return;
            }
        }
        FAIL() << "no item " << text << " @" << data;
    }

    HWND window_ = nullptr;
    HWND list_ = nullptr;
    InstalledDatabases databases_{"", ""};  // whatever the folder held is put back afterwards
    MessageBoxRecorder boxes_;
};

TEST_F(FoodFilesWindow, LoadMyFoodsListsEveryLineSortedWithItsOffset) {
    EXPECT_EQ(LoadMyFoods(list_), 0);  // no file yet
    EXPECT_TRUE(Items().empty());

    WriteFileBytes(kMyFoodsPath, "");
    EXPECT_EQ(LoadMyFoods(list_), 1);
    EXPECT_TRUE(Items().empty());

    const std::string data = "Toast^1\r\napple pie^2\r\n\r\nToast^3\r\nBanana^4";
    WriteFileBytes(kMyFoodsPath, data);
    Reload();
    std::vector<Item> items = Items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], (Item{"apple pie", 9}));
    EXPECT_EQ(items[1], (Item{"Banana", 33}));
    EXPECT_EQ(items[2].text, "Toast");
    EXPECT_EQ(items[3].text, "Toast");
    std::set<LPARAM> toasts = {items[2].data, items[3].data};
    EXPECT_EQ(toasts, (std::set<LPARAM>{0, 24}));
}

TEST_F(FoodFilesWindow, ListedOrderIsTheListBoxsOwnSortOrder) {
    // Texts on which a byte order and the system's word order disagree.
    const std::vector<std::string> texts = {
        "co-op bread", "coop bread", "Coop  bread", "co op bread", "CO'OP BREAD", "zucchini",
        "Zucchini, raw", "\xC9" "clair", "eclair", "Eclairs", "10 grain bread", "9 grain bread",
        "(plain) yogurt", "_test", "~TILDE~", "ab", "a b", "a-b",
        "a,b", "a.b", "a/b", "a%b", "\xE0 la mode", "toast",
        "toast", "TOAST, buttered"};
    std::string data;
    for (const auto& text : texts)
        data += text + "^1\r\n";
    WriteFileBytes(kMyFoodsPath, data);
    ASSERT_EQ(LoadMyFoods(list_), 1);

    HWND byItself = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_SORT, 0, 0, 100, 100, window_, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    for (const auto& text : texts)
        SendMessageA(byItself, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    std::vector<Item> listed = Items();
    ASSERT_EQ(listed.size(), texts.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        char text[300] = {};
        SendMessageA(byItself, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, listed[i].text.c_str(), -1, text, -1),
                  CSTR_EQUAL)
            << i << ": " << listed[i].text << " / " << text;
        size_t line = data.find(listed[i].text + "^1\r\n", static_cast<size_t>(listed[i].data));
        EXPECT_EQ(line, static_cast<size_t>(listed[i].data)) << listed[i].text;
    }
    // Loading again into a list that is not empty adds every food once more, still in order.
    ASSERT_EQ(LoadMyFoods(list_), 1);
    listed = Items();
    ASSERT_EQ(listed.size(), 2 * texts.size());
    for (size_t i = 1; i < listed.size(); ++i) {
        EXPECT_LE(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, listed[i - 1].text.c_str(), -1,
                                 listed[i].text.c_str(), -1),
                  CSTR_EQUAL)
            << i;
    }
}

// A reload changes only the items that differ from the last fill, so after every kind of change to
// the file, and after changes to the list behind its back, it must leave exactly what emptying the
// list and filling it again leaves: the same texts, in the same order, with the same offsets.
TEST_F(FoodFilesWindow, ReloadingMyFoodsLeavesWhatEmptyingAndFillingLeaves) {
    const std::vector<std::string> pool = {"toast", "Toast", "TOAST, buttered", "co-op bread", "coop bread",
                                           "\xC9" "clair", "eclair", "Apple", "apple pie", "Banana", "a b",
                                           "a-b", "Milk", "milk, skim", "Zucchini"};
    std::mt19937 random(20261209);
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i)
        lines.push_back(pool[pick(pool.size())] + "^" + std::to_string(i));
    auto write = [&] {
        std::string data;
        for (const auto& line : lines)
            data += line + "\r\n";
        WriteFileBytes(kMyFoodsPath, data);
    };
    write();
    ASSERT_EQ(LoadMyFoods(list_), 1);
    HWND fresh = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_SORT, 0, 0, 100, 100, window_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(fresh, nullptr);

    for (int round = 0; round < 120; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int change = round % 8;
        if (change == 0 && !lines.empty()) {  // a food deleted
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(pick(lines.size())));
        } else if (change == 1) {  // a food added
            lines.push_back(pool[pick(pool.size())] + "^new" + std::to_string(round));
        } else if (change == 2 && !lines.empty()) {  // a food edited: its line moves to the end
            size_t at = pick(lines.size());
            std::string line = lines[at] + "x";
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            lines.push_back(line);
        } else if (change == 3) {  // another copy put a food in front
            lines.insert(lines.begin(), pool[pick(pool.size())] + "^front");
        } else if (change == 4 && !lines.empty()) {  // a description changed in place
            lines[pick(lines.size())] = pool[pick(pool.size())] + "^renamed";
        } else if (change == 5) {  // the list changed behind the last fill
            LRESULT count = SendMessageA(list_, LB_GETCOUNT, 0, 0);
            if (count > 1) SendMessageA(list_, LB_SETITEMDATA, static_cast<WPARAM>(pick(count)), 7777);
            if (count > 2) SendMessageA(list_, LB_DELETESTRING, 0, 0);
        } else if (change == 6) {  // nothing changed
        } else {  // a whole new file, sometimes an empty one
            lines.clear();
            size_t n = pick(3) == 0 ? 0 : 1 + pick(50);
            for (size_t i = 0; i < n; ++i)
                lines.push_back(pool[pick(pool.size())] + "^r" + std::to_string(i));
        }
        write();
        if (SendMessageA(list_, LB_GETCOUNT, 0, 0) > 3) SendMessageA(list_, LB_SETCURSEL, 3, 0);
        SendMessageA(list_, LB_SETTOPINDEX, 2, 0);

        ASSERT_EQ(ReloadMyFoodsList(list_), 1);
        SendMessageA(fresh, LB_RESETCONTENT, 0, 0);
        ASSERT_EQ(FillFoodList(fresh, kMyFoodsPath, FoodFile::kMyFoods), 1);
        ASSERT_EQ(ListItems(list_), ListItems(fresh));
        EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), LB_ERR);
        EXPECT_EQ(SendMessageA(list_, LB_GETTOPINDEX, 0, 0), 0);
    }

    // A file that cannot be read leaves the list empty, as emptying and loading it does.
    ASSERT_TRUE(DeleteFileA(kMyFoodsPath));
    EXPECT_EQ(ReloadMyFoodsList(list_), 0);
    EXPECT_TRUE(Items().empty());
    write();
    ASSERT_EQ(ReloadMyFoodsList(list_), 1);
    SendMessageA(fresh, LB_RESETCONTENT, 0, 0);
    ASSERT_EQ(FillFoodList(fresh, kMyFoodsPath, FoodFile::kMyFoods), 1);
    EXPECT_EQ(ListItems(list_), ListItems(fresh));
}

TEST_F(FoodFilesWindow, AnUnsortedListKeepsTheFileOrder) {
    HWND unsorted = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 100, 100, window_, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    WriteFileBytes(kMyFoodsPath, "Toast^1\r\nApple^2\r\nMilk^3\r\n");
    ASSERT_EQ(LoadMyFoods(unsorted), 1);
    std::vector<std::string> texts;
    for (int i = 0; i < 3; ++i) {
        char text[64] = {};
        SendMessageA(unsorted, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Toast", "Apple", "Milk"}));
}

TEST_F(FoodFilesWindow, LoadUsdaFoodsListsDescriptionsWithTheirQuotes) {
    EXPECT_EQ(LoadUsdaFoods(list_), 0);
    EXPECT_TRUE(Items().empty());
    const std::string egg = "~90009~^~EGG,WHOLE~^76^143\r\n";
    WriteFileBytes(kUsdaPath, egg + "~90002~^~BANANAS,RAW~^75^89\r\n");
    ASSERT_EQ(LoadUsdaFoods(list_), 1);
    std::vector<Item> items = Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], (Item{"~BANANAS,RAW~", static_cast<LPARAM>(egg.size())}));
    EXPECT_EQ(items[1], (Item{"~EGG,WHOLE~", 0}));
}

TEST_F(FoodFilesWindow, ServingReadersFollowTheItemsOffsets) {
    std::string usda = "~90001~^~A~";
    for (int k = 2; k <= 32; ++k)
        usda += "^1";
    std::string second = usda;
    usda += "^5^~1 cup, chopped~^14^~~^0\r\n";
    second += "^5^~~^14^~~^0\r\n";
    WriteFileBytes(kUsdaPath, usda + second);
    char first[64] = "kept", other[64] = "kept";
    ASSERT_EQ(GetUsdaServings(first, sizeof first, other, sizeof other, 0), 1);
    EXPECT_STREQ(first, "cup, chopped");
    EXPECT_STREQ(other, "");
    ASSERT_EQ(GetUsdaServings(first, sizeof first, other, sizeof other, static_cast<LPARAM>(usda.size())), 1);
    EXPECT_STREQ(first, "");
    std::strcpy(first, "kept");
    EXPECT_EQ(GetUsdaServings(first, sizeof first, other, sizeof other, 3), 0);  // not a line start
    EXPECT_EQ(GetUsdaServings(first, sizeof first, other, sizeof other, -1), 0);
    EXPECT_STREQ(first, "kept");

    std::string myFood = std::string(kAppleLine);
    myFood.replace(myFood.find("^99^"), 4, "^3^");
    WriteFileBytes(kMyFoodsPath, std::string(kAppleLine) + myFood);
    int row = 1234;
    ASSERT_EQ(GetMyFoodServing(first, sizeof first, &row, 0), 1);
    EXPECT_STREQ(first, "Cup");
    EXPECT_EQ(row, -1);
    ASSERT_EQ(GetMyFoodServing(first, sizeof first, &row, static_cast<LPARAM>(std::strlen(kAppleLine))), 1);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(GetMyFoodServing(first, sizeof first, &row, 1000), 0);

    DeleteFileA(kUsdaPath);
    DeleteFileA(kMyFoodsPath);
    std::strcpy(first, "kept");
    EXPECT_EQ(GetUsdaServings(first, sizeof first, other, sizeof other, 0), 0);
    EXPECT_EQ(GetMyFoodServing(first, sizeof first, &row, 0), 0);
    EXPECT_STREQ(first, "kept");
}

TEST_F(FoodFilesWindow, RemoveMyFoodRemovesOnlyTheSelectedLine) {
    const std::string data = "Toast^1\r\nEgg^2\r\nToast^3\r\n";
    WriteFileBytes(kMyFoodsPath, data);
    Reload();
    EXPECT_EQ(RemoveMyFood(list_), 0);  // nothing selected
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), data);

    Select("Toast", 16);
    ASSERT_EQ(RemoveMyFood(list_), 1);
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), "Toast^1\r\nEgg^2\r\n");
    Reload();
    EXPECT_EQ(Items(), (std::vector<Item>{{"Egg", 9}, {"Toast", 0}}));

    Select("Toast", 0);
    ASSERT_EQ(RemoveMyFood(list_), 1);
    Reload();
    Select("Egg", 0);
    ASSERT_EQ(RemoveMyFood(list_), 1);
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), "");  // the only line gone: an empty file
    Reload();
    EXPECT_TRUE(Items().empty());
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(FoodFilesWindow, RemoveMyFoodNeverActsOnAStaleOffsetOrAFailedWrite) {
    const std::string data = "Bagel^1\r\nToast^2\r\n";
    WriteFileBytes(kMyFoodsPath, data);
    Reload();
    Select("Toast", 9);
    for (FileFault fault : {FileFault::kOpenFails, FileFault::kShortWrite}) {
        InjectFileFault(fault);
        EXPECT_EQ(RemoveMyFood(list_), 0);
        InjectFileFault(FileFault::kNone);
        EXPECT_EQ(ReadFileBytes(kMyFoodsPath), data);
    }
    // The file changed behind the list: the offset is no longer a line start, or past the end.
    WriteFileBytes(kMyFoodsPath, "Toasted bagel^1\r\n");
    EXPECT_EQ(RemoveMyFood(list_), 0);
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), "Toasted bagel^1\r\n");
    WriteFileBytes(kMyFoodsPath, "A^1\r\n");
    EXPECT_EQ(RemoveMyFood(list_), 0);
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), "A^1\r\n");
    DeleteFileA(kMyFoodsPath);
    EXPECT_EQ(RemoveMyFood(list_), 0);
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), "<missing>");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(FoodFilesWindow, AppendMyFoodWritesTheFormAsOneLine) {
    SetForm(window_, kAppleLine);
    ASSERT_EQ(AppendMyFood(window_), 1);  // creates the file
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), kAppleLine);

    // A measure typed into the picker is stored as typed; a chosen second measure as its row.
    SetFormField(window_, 0, "Bread, whole grain");
    SetFormField(window_, 33, "slice");
    SetFormField(window_, 35, "3");
    SetFormField(window_, 2, "1..5");
    ASSERT_EQ(AppendMyFood(window_), 1);
    std::string file = ReadFileBytes(kMyFoodsPath);
    ASSERT_EQ(file.rfind(kAppleLine, 0), 0u);
    EXPECT_EQ(file.substr(std::strlen(kAppleLine)),
              "Bread, whole "
              "grain^^1..5^0.3^0.2^14^2.4^^1^1^1^1^107^1^0^1^^^1^^1^2^1^1^2^1^0^8^0^0^0^0^1^slice^^3^\r\n");
    Reload();
    EXPECT_EQ(Items(),
              (std::vector<Item>{{"Apple", 0},
                                 {"Bread, whole grain", static_cast<LPARAM>(std::strlen(kAppleLine))}}));
    EXPECT_TRUE(boxes_.Shown().empty());
}

// The Add New Food dialog's test names the first bad field of many and the description's and the
// measures' faults; here the labels of further fields.
TEST_F(FoodFilesWindow, AppendMyFoodNamesTheFirstBadFieldByItsLabel) {
    struct Case {
        int field;
        std::string text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {8, " 1", "Illegal Character: \"Cacium\""},
        {12, "x", "Illegal Character: \"Potasium\""},
        {22, "-1", "Illegal Character: \"Niancin\""},
        {31, "1e3", "Illegal Character: \"Cholestrol\""},
        {32, "1,5", "Illegal Character or blank field: \"Serving Size Amount\""},
        {34, "a", "Illegal Character: \"Serving 3\""},
        {36, "a", "Illegal Character: \"Refuse\""},
        {1, std::string(256, '1'), "Illegal Character: \"Water\""},
    };
    const std::string before = "Kept^1\r\n";
    for (const auto& c : cases) {
        WriteFileBytes(kMyFoodsPath, before);
        SetForm(window_, kAppleLine);
        SetFormField(window_, c.field, c.text);
        boxes_.Clear();
        EXPECT_EQ(AppendMyFood(window_), 0) << c.field;
        ASSERT_TRUE(OneMessage(boxes_, c.message, "<none>", MB_OK, window_)) << c.field;
        EXPECT_EQ(ReadFileBytes(kMyFoodsPath), before);
    }
}

TEST_F(FoodFilesWindow, AppendMyFoodFailedWritesLeaveTheFileIntact) {
    const std::string before = "Kept^1\r\n";
    WriteFileBytes(kMyFoodsPath, before);
    SetForm(window_, kAppleLine);
    for (FileFault fault : {FileFault::kOpenFails, FileFault::kShortWrite}) {
        InjectFileFault(fault);
        EXPECT_EQ(AppendMyFood(window_), 0);
        InjectFileFault(FileFault::kNone);
        EXPECT_EQ(ReadFileBytes(kMyFoodsPath), before);
    }
    EXPECT_TRUE(boxes_.Shown().empty());  // the caller reports these
}

TEST_F(FoodFilesWindow, FillFoodDialogLoadsEveryFieldAndAnEditKeepsThem) {
    // Hidden fields hold values; the food has a second measure.
    const std::string line =
        "Oat Cookie^9^120^2^5^17^1^0.5^2^4^6^95^60^4^2^3^0.4^2.1^0^1.2^6^4^4^2^2^4^0^0^2^2"
        "^0.5^10^2^per serving^7^4^5";
    WriteFileBytes(kMyFoodsPath, "Other^1\r\n" + line + "\r\n");
    ASSERT_EQ(FillFoodDialog(window_, 9), 1);
    for (int k = 0; k < kMyFoodFieldCount; ++k)
        EXPECT_EQ(FormField(window_, k), Fields(line)[k]) << "field " << k;
    // Saving the loaded form appends the same line.
    ASSERT_EQ(AppendMyFood(window_), 1);
    EXPECT_EQ(ReadFileBytes(kMyFoodsPath), "Other^1\r\n" + line + "\r\n" + line + "\r\n");

    // "99" selects no row; a bad offset or a missing file loads nothing.
    WriteFileBytes(kMyFoodsPath, kAppleLine);
    ASSERT_EQ(FillFoodDialog(window_, 0), 1);
    EXPECT_EQ(FormField(window_, 35), "99");
    EXPECT_EQ(FormField(window_, 33), "Cup");
    EXPECT_EQ(FormField(window_, 0), "Apple");
    EXPECT_EQ(FormField(window_, 1), "");
    EXPECT_EQ(FillFoodDialog(window_, 2), 0);
    EXPECT_EQ(FillFoodDialog(window_, 100000), 0);
    DeleteFileA(kMyFoodsPath);
    EXPECT_EQ(FillFoodDialog(window_, 0), 0);
    EXPECT_EQ(FormField(window_, 0), "Apple");
}

TEST_F(FoodFilesWindow, TheWholeUsdaTableListsEveryFood) {
    std::string converted = ReadFileBytes(kShippedUsdaPath);
    ASSERT_NE(converted, "<missing>") << kShippedUsdaPath;
    WriteFileBytes(kUsdaPath, converted);

    ASSERT_EQ(LoadUsdaFoods(list_), 1);
    std::vector<Item> items = Items();
    ASSERT_EQ(items.size(), 8790u);
    std::set<LPARAM> offsets;
    for (const Item& item : items) {
        ASSERT_TRUE(IsLineStart(converted, static_cast<size_t>(item.data))) << item.text;
        offsets.insert(item.data);
        EXPECT_EQ(item.text.front(), '~');
        EXPECT_EQ(item.text.back(), '~');
        size_t description = converted.find('^', static_cast<size_t>(item.data)) + 1;
        EXPECT_EQ(converted.compare(description, item.text.size() + 1, item.text + "^"), 0) << item.text;
    }
    EXPECT_EQ(offsets.size(), items.size());
    for (size_t i = 1; i < items.size(); ++i) {
        ASSERT_LE(lstrcmpiA(items[i - 1].text.c_str(), items[i].text.c_str()), 0) << i;
    }

    LRESULT butter = SendMessageA(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>("~BUTTER,WITH SALT~"));
    ASSERT_GE(butter, 0);
    LPARAM offset = SendMessageA(list_, LB_GETITEMDATA, static_cast<WPARAM>(butter), 0);
    EXPECT_EQ(offset, 0);
    char first[64], second[64];
    ASSERT_EQ(GetUsdaServings(first, sizeof first, second, sizeof second, offset), 1);
    EXPECT_STREQ(first, "pat,  (1\" sq, 1/3\" high)");
    EXPECT_STREQ(second, "tbsp");
}

}  // namespace
