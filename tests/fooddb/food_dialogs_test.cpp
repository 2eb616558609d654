// The Add New Food and Edit Food Item dialogs, opened by the Add and Edit buttons of the real main
// window and answered in place.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fooddb/food_files_win.h"
#include "platform/file_io.h"
#include "resources/resource.h"
#include "shell/food_browser_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"

namespace {

constexpr char kApple[] =
    "Apple^^52^0.3^0.2^14^2.4^^1^1^1^1^107^1^0^1^^^1^^1^2^1^1^2^1^0^8^0^0^0^0^1^Cup^^99^\r\n";
// Values in every hidden field and a second measure (row 4).
constexpr char kCookie[] =
    "Oat Cookie^9^120^2^5^17^1^0.5^2^4^6^95^60^4^2^3^0.4^2.1^0^1.2^6^4^4^2^2^4^0^0^2^2^0.5^10^2^per "
    "serving^7^4^5\r\n";
constexpr char kBread[] = "Bread^^80^3^1^15^2^^^^^^^^^^^^^^^^^^^^^^^^^^1^slice^^99^\r\n";
constexpr char kTea[] = "Tea^^0^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^1^Cup^^99^\r\n";
const std::string kFoods = std::string(kBread) + kCookie + kTea;

constexpr char kStaleMessage[] =
    "This food has changed in the My Foods file since the list was loaded (perhaps by another copy of "
    "Meal-Tally), so it was left as it is.\r\n\r\nThe list has been loaded again: please select the food "
    "once more.";

HWND PickerEditOf(HWND picker) {
    return reinterpret_cast<HWND>(SendMessageA(picker, CBEM_GETEDITCONTROL, 0, 0));
}

// A line of the field texts.
std::string Line(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t k = 0; k < fields.size(); ++k)
        line += (k ? "^" : "") + fields[k];
    return line + "\r\n";
}

void Press(HWND dialog, int button) {
    SendMessageA(dialog, WM_COMMAND, button, 0);
}

// A template rectangle in pixels, as the dialog manager places it: position and size mapped apart.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT rect = {x, y, width, height};
    MapDialogRect(dialog, &rect);
    rect.right += rect.left;
    rect.bottom += rect.top;
    return rect;
}

RECT RectInDialog(HWND dialog, HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The dialog's controls in template order (the pickers, made at run time, come after them).
std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::vector<std::string> PickerRows(HWND picker) {
    std::vector<std::string> rows;
    int count = static_cast<int>(SendMessageA(picker, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(picker, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back(text);
    }
    return rows;
}

// Runs a check once the dialog's own message loop is running, so that its focus is where it settles.
std::function<void()> g_later;
void CALLBACK RunLater(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    std::function<void()> later = std::move(g_later);
    g_later = nullptr;
    if (later) later();
}
void Later(HWND dialog, std::function<void()> check) {
    g_later = std::move(check);
    SetTimer(dialog, 1, 0, RunLater);
}

// A dialog handler that runs once the dialog is shown and its own message loop runs.
std::function<void(HWND)> WhenShown(std::function<void(HWND)> handler) {
    return [handler](HWND dialog) { Later(dialog, [handler, dialog] { handler(dialog); }); };
}

class FoodDialogs : public MainWindowTest {
protected:
    void SetUp() override { SetUpWith("", kFoods); }
    void TearDown() override {
        InjectFileFault(FileFault::kNone);
        MainWindowTest::TearDown();
    }

    static std::string File() { return ReadInstalledFile("mtmyfood"); }
    struct Item {
        std::string text;
        std::string line;  // the line its offset leads to
    };
    // Each list item with the line its offset leads to in the file as it is now.
    static std::vector<Item> ListItems(HWND list) {
        std::vector<Item> items;
        std::string file = File();
        int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            size_t offset = static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, i, 0));
            std::string line = offset < file.size() ? file.substr(offset, file.find('\n', offset) + 1 - offset) : "";
            items.push_back({text, line});
        }
        return items;
    }
    static void ExpectItemsLeadToTheirLines(HWND list) {
        for (const Item& item : ListItems(list))
            EXPECT_EQ(item.line.substr(0, item.text.size() + 1), item.text + "^") << item.text;
    }
    // Every item's offset leads to a line of its own text, and the texts are as given.
    static void ExpectListMatchesFile(const std::vector<std::string>& texts) {
        ExpectItemsLeadToTheirLines(g_controls.myFoodsList);
        std::vector<std::string> listed;
        for (const Item& item : ListItems(g_controls.myFoodsList))
            listed.push_back(item.text);
        EXPECT_EQ(listed, texts);
    }
    void Select(const char* text) {
        LRESULT index =
            SendMessageA(g_controls.myFoodsList, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text));
        ASSERT_GE(index, 0) << text;
        SendMessageA(g_controls.myFoodsList, LB_SETCURSEL, index, 0);
    }
    void Add() { SendMessageA(window_, WM_COMMAND, IDC_ADD_BUTTON, 0); }
    // What another running copy of the program makes of the file while this one's list stays as it was.
    static void OtherCopyWrites(const std::string& bytes) {
        HANDLE other = CreateFileA(InstallFolderPath("mtmyfood").c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(other, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(other);
    }
    // The list as loaded from the file as it was, with the food selected.
    void ListedAsItWas(const char* food, MessageBoxRecorder* boxes) {
        OtherCopyWrites(kFoods);
        ReloadMyFoods();
        Select(food);
        boxes->Clear();
    }
    void Edit() { SendMessageA(window_, WM_COMMAND, IDC_EDIT_BUTTON, 0); }
};

struct Placed {
    int id;
    const char* text;  // statics only
    int x, y, width, height;
    bool visible;
};

// The template's controls with the coordinates of the Add New Food dialog; `edit` applies the Edit
// Food Item dialog's differences.
std::vector<Placed> Template(bool edit) {
    std::vector<Placed> t = {
        {IDOK, "Save", 246, edit ? 207 : 204, 50, 14, true},
        {IDCANCEL, "Cancel", edit ? 309 : 308, edit ? 207 : 204, 50, 14, true},
        {1001, "", 53, 9, 159, 12, true},           {-1, "Description:", 10, 9, 39, 8, true},
        {1003, "", 60, 55, 46, 13, true},           {-1, "Calories", 31, 57, 26, 8, true},
        {-1, "Cal", 109, 57, 11, 8, true},          {1004, "", 60, 70, 46, 13, true},
        {-1, "Protein", 33, 72, 24, 8, true},       {-1, "grams", 110, 72, 20, 8, true},
        {1005, "", 60, 85, 46, 13, true},           {-1, "Total Fat", 27, 86, 30, 8, true},
        {-1, "grams", 110, 87, 20, 8, true},        {1006, "", 60, 100, 46, 13, true},
        {-1, "Carbhydrates", 12, 101, 45, 8, true}, {-1, "grams", 109, 103, 20, 8, true},
        {1007, "", 60, 115, 46, 13, true},          {-1, "Fiber", 40, 116, 17, 8, true},
        {-1, "grams", 110, 117, 20, 8, true},       {1009, "", 60, 130, 46, 13, true},
        {-1, "Calcium", 31, 131, 25, 8, true},      {-1, "%", 109, 132, 8, 8, true},
        {1010, "", 60, 145, 46, 13, true},          {-1, "Phosphorus", 19, 146, 38, 8, true},
        {-1, "%", 110, 148, 8, 8, true},            {1011, "", 60, 160, 46, 13, true},
        {-1, "Iron", 42, 161, 14, 8, true},         {-1, "%", 109, 163, 8, 8, true},
        {1012, "", 60, 175, 46, 13, true},          {-1, "Sodium", 33, 176, 24, 8, true},
        {-1, "mg", 109, 177, 10, 8, true},          {1013, "", 60, 190, 46, 13, true},
        {-1, "Potassium", 23, 192, 33, 8, true},    {-1, "mg", 109, 191, 10, 8, true},
        {1014, "", 178, 55, 46, 13, true},          {-1, "Magnesium", edit ? 139 : 138, 57, 36, 8, true},
        {-1, "%", 227, 58, 8, 8, true},             {1015, "", 178, 70, 46, 13, true},
        {-1, "Zinc", 161, 72, 14, 8, true},         {-1, "%", 227, 73, 8, 8, true},
        {1016, "", 178, 85, 46, 13, true},          {-1, "Copper", 151, 87, 24, 8, true},
        {-1, "%", 227, 88, 8, 8, true},             {1019, "", 178, 100, 46, 13, true},
        {-1, "Vitamin A", edit ? 142 : 139, 102, 33, 8, true},
        {-1, "%", 227, 103, 8, 8, true},            {1021, "", 178, 115, 46, 13, true},
        {-1, "Thiamin", 149, 117, 25, 8, true},     {-1, "%", 227, edit ? 119 : 118, 8, 8, true},
        {1022, "", 178, 130, 46, 13, true},         {-1, "Riboflavin", 143, 132, 32, 8, true},
        {-1, "%", 227, 133, 8, 8, true},            {1023, "", 178, 145, 46, 13, true},
        {-1, "Niacin", 154, 147, 20, 8, true},      {-1, "%", 228, 148, 8, 8, true},
        {1024, "", 178, 160, 46, 13, true},         {-1, "Pantothenic Acid", 123, 162, 54, 8, true},
        {-1, "%", 227, 163, 8, 8, true},            {1025, "", 289, 55, 46, 13, true},
        {-1, "Vitamin B6", 251, 57, 34, 8, true},   {-1, "%", 338, 57, 8, 8, true},
        {1026, "", 289, 70, 46, 13, true},          {-1, "Folate", 264, 72, 21, 8, true},
        {-1, "%", 338, 73, 8, 8, true},             {1027, "", 289, 85, 46, 13, true},
        {-1, "Vitamin B12", 247, 87, 38, 8, true},  {-1, "%", 338, 88, 8, 8, true},
        {1028, "", 289, 100, 46, 13, true},         {-1, "Vitamin C", 255, 102, 30, 8, true},
        {-1, "%", 338, 104, 8, 8, true},            {1029, "", 289, 115, 46, 13, true},
        {-1, "Saturated Fat", 240, 117, 46, 8, true}, {-1, "grams", 338, 117, 20, 8, true},
        {1030, "", 289, 130, 46, 13, true},         {-1, "Mono Fat", 254, 132, 31, 8, true},
        {-1, "grams", 338, 132, 20, 8, true},       {1031, "", 289, 145, 46, 13, true},
        {-1, "Poly Fat", 258, 147, 27, 8, true},    {-1, "grams", 338, 147, 20, 8, true},
        {1032, "", 289, 160, 46, 13, true},         {-1, "Cholestrol", 252, 162, 33, 8, true},
        {-1, "mg", 338, 162, 10, 8, true},          {1033, "", 252, 9, 32, 12, true},
        {-1, "Serving:", 220, 11, 28, 8, true},
        {1002, "", edit ? 115 : 118, edit ? 39 : 40, 46, 13, false},
        {1008, "", edit ? 66 : 67, edit ? 41 : 39, 46, 13, false},
        {1017, "", edit ? 15 : 18, edit ? 25 : 23, 46, 13, false},
        {1018, "", edit ? 15 : 18, edit ? 41 : 38, 46, 13, false},
        {1020, "", edit ? 65 : 67, edit ? 26 : 23, 46, 13, false},
        {1035, "", 252, 28, 32, 12, false},
        {1037, "", 117, edit ? 24 : 23, 46, 13, false},
    };
    return t;
}

void ExpectTemplate(HWND dialog, bool edit, const char* caption, int width) {
    EXPECT_EQ(TextOf(dialog), caption);
    RECT client = {};
    GetClientRect(dialog, &client);
    RECT expected = DialogUnits(dialog, 0, 0, width, 234);
    EXPECT_EQ(Describe(client), Describe(expected));
    LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | DS_MODALFRAME), WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);

    std::vector<Placed> placed = Template(edit);
    std::vector<HWND> children = Children(dialog);
    ASSERT_EQ(children.size(), placed.size() + 2);  // and the two pickers
    for (size_t i = 0; i < placed.size(); ++i) {
        const Placed& p = placed[i];
        HWND child = children[i];
        std::string where = std::string(caption) + " control " + std::to_string(i) + " " + p.text;
        int id = GetDlgCtrlID(child);
        if (p.id == -1) {
            EXPECT_TRUE(id == -1 || id == 0xFFFF) << where;
            EXPECT_EQ(ClassOf(child), "Static") << where;
            EXPECT_EQ(TextOf(child), p.text) << where;
        } else if (p.id > 1000) {
            EXPECT_EQ(id, p.id) << where;
            EXPECT_EQ(ClassOf(child), "Edit") << where;
            LONG_PTR s = GetWindowLongPtrA(child, GWL_STYLE);
            EXPECT_EQ(s & (WS_TABSTOP | ES_AUTOHSCROLL), WS_TABSTOP | ES_AUTOHSCROLL) << where;
            // The dialog manager draws a bordered edit with a sunken edge instead.
            EXPECT_TRUE((s & WS_BORDER) || (GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) << where;
            EXPECT_FALSE(s & ES_MULTILINE) << where;
        } else {
            EXPECT_EQ(id, p.id) << where;
            EXPECT_EQ(ClassOf(child), "Button") << where;
            EXPECT_EQ(TextOf(child), p.text) << where;
        }
        EXPECT_EQ(IsWindowVisible(child) != 0, p.visible) << where;
        EXPECT_EQ(Describe(RectInDialog(dialog, child)), Describe(DialogUnits(dialog, p.x, p.y, p.width, p.height)))
            << where;
    }
    EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);

    // The pickers: pixel positions, no id, no tab stop, the measure table's rows, nothing chosen.
    HWND measure = MeasurePicker();
    HWND second = SecondMeasurePicker();
    ASSERT_EQ(children[placed.size()], measure);
    ASSERT_EQ(children[placed.size() + 1], second);
    for (HWND picker : {measure, second}) {
        EXPECT_EQ(ClassOf(picker), "ComboBoxEx32");
        EXPECT_EQ(GetDlgCtrlID(picker), 0);
        EXPECT_FALSE(GetWindowLongPtrA(picker, GWL_STYLE) & WS_TABSTOP);
        EXPECT_EQ(SendMessageA(picker, CB_GETCURSEL, 0, 0), CB_ERR);
        RECT r = RectInDialog(dialog, picker);
        EXPECT_EQ(r.left, 440);
        EXPECT_EQ(r.right - r.left, 70);
    }
    EXPECT_EQ(RectInDialog(dialog, measure).top, 14);
    EXPECT_EQ(RectInDialog(dialog, second).top, 44);
    EXPECT_TRUE(IsWindowVisible(measure));
    EXPECT_FALSE(IsWindowVisible(second));
    EXPECT_NE(PickerEditOf(measure), nullptr);  // a measure can be typed
    EXPECT_EQ(PickerRows(measure), (std::vector<std::string>{"Cup", "fl oz", "mL", "Ounces", "Teaspoon",
                                                             "Tablespoon", "grams", "per serving"}));
    EXPECT_EQ(PickerRows(second),
              (std::vector<std::string>{"Cup", "fl oz", "mL", "Ounces", "Teaspoon", "Tablespoon", "grams"}));

    // Tab goes Save, Cancel, Description, the three columns, the serving amount, and round again.
    std::vector<int> order;
    HWND at = GetDlgItem(dialog, IDOK);
    for (int i = 0; i < 30; ++i) {
        order.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog, at, FALSE);
    }
    EXPECT_EQ(order, (std::vector<int>{1,    2,    1001, 1003, 1004, 1005, 1006, 1007, 1009, 1010,
                                       1011, 1012, 1013, 1014, 1015, 1016, 1019, 1021, 1022, 1023,
                                       1024, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033}));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 1033), FALSE), GetDlgItem(dialog, IDOK));
}

TEST_F(FoodDialogs, BothFormsStandAtTheirTemplateRectangles) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    for (bool edit : {false, true}) {
        bool checked = false;
        dialogs.Queue([&](HWND dialog) {
            Later(dialog, [&, dialog] {
                EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
                ExpectTemplate(dialog, edit, edit ? "Edit Food Item" : "Add New Food", edit ? 376 : 378);
                checked = true;
                Press(dialog, IDCANCEL);
            });
        });
        if (edit) {
            Select("Tea");
            Edit();
        } else {
            Add();
        }
        EXPECT_TRUE(checked) << edit;
    }
    EXPECT_EQ(MeasurePicker(), nullptr);  // gone with the dialog
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(File(), kFoods);
}

TEST_F(FoodDialogs, AddAppendsTheFormAsOneLineAndCreatesAMissingFile) {
    RemoveInstalledFile("mtmyfood");
    SendMessageA(g_controls.myFoodsList, LB_RESETCONTENT, 0, 0);
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    // Typed, not chosen: the picker's edit holds the measure.
    dialogs.Queue([](HWND dialog) {
        SetForm(dialog, kApple);
        Press(dialog, IDOK);
    });
    Add();
    EXPECT_EQ(File(), kApple);
    ExpectListMatchesFile({"Apple"});

    // Chosen from the picker's rows; the description may be 64 characters, the amount "1.5" or "1..5".
    const std::string longName(64, 'L');
    struct Case {
        std::string name, amount;
    } const cases[] = {{longName, "1.5"}, {"Cake", "1..5"}};
    std::string expected = kApple;
    for (const Case& c : cases) {
        dialogs.Queue([&](HWND dialog) {
            SetForm(dialog, kTea);
            SetFormField(dialog, 0, c.name);
            SetFormField(dialog, kMyFoodServingAmountField, c.amount);
            SendMessageA(MeasurePicker(), CB_SETCURSEL, 5, 0);
            Press(dialog, IDOK);
        });
        Add();
        std::vector<std::string> fields = Fields(kTea);
        fields[0] = c.name;
        fields[kMyFoodServingAmountField] = c.amount;
        fields[kMyFoodMeasureField] = "Tablespoon";
        expected += Line(fields);
        EXPECT_EQ(File(), expected);
    }
    ExpectListMatchesFile({"Apple", "Cake", longName});
    EXPECT_EQ(dialogs.Answered(), 3);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FoodDialogs, AddNamesEachBadFieldInFieldOrderAndWritesNothing) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    struct Step {
        int field;
        std::string bad;
        const char* message;
    };
    const std::vector<Step> steps = {
        {0, std::string(65, 'D'), "Illegal Character or blank field: \"Description\"\r\nor line exceeds 64 characters"},
        {0, "", "Illegal Character or blank field: \"Description\"\r\nor line exceeds 64 characters"},
        {2, "1,5", "Illegal Character: \"Calories\""},
        {13, " 1", "Illegal Character: \"Magnesium\""},
        {32, "", "Illegal Character or blank field: \"Serving Size Amount\""},
        {32, " 1", "Illegal Character or blank field: \"Serving Size Amount\""},
        {33, "", "Illegal Character or blank field: \"Serving Size Measure\""},
        {33, "cup~",
         "Illegal Character or blank field: \"Serving Size Measure\"\r\n\t\t\t\t\t\t\tor line exceeds 64 characters"},
    };
    bool stayedOpen = true;
    dialogs.Queue(WhenShown([&](HWND dialog) {
        SetForm(dialog, kApple);
        // Every bad value at once: Save names the first; once it is put right, the next.
        for (const Step& s : steps)
            if (s.bad != "") SetFormField(dialog, s.field, s.bad);
        std::vector<std::string> good = Fields(kApple);
        for (size_t i = 0; i < steps.size(); ++i) {
            SetFormField(dialog, steps[i].field, steps[i].bad);
            boxes.Clear();
            Press(dialog, IDOK);
            stayedOpen = stayedOpen && IsWindowVisible(dialog);
            ASSERT_TRUE(OneMessage(boxes, steps[i].message, "<none>", MB_OK, dialog)) << i;
            EXPECT_EQ(File(), kFoods) << i;
            if (i + 1 == steps.size() || steps[i + 1].field != steps[i].field)
                SetFormField(dialog, steps[i].field, good[steps[i].field]);
        }
        boxes.Clear();
        Press(dialog, IDCANCEL);
    }));
    Add();
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(File(), kFoods);
}

TEST_F(FoodDialogs, CancelAfterTypingChangesNothing) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    dialogs.Queue([](HWND dialog) {
        SetForm(dialog, kApple);
        Press(dialog, IDCANCEL);
    });
    Add();
    Select("Oat Cookie");
    dialogs.Queue([](HWND dialog) {
        SetForm(dialog, kApple);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // as the close box and Escape send it
    });
    Edit();
    EXPECT_EQ(dialogs.Answered(), 2);
    EXPECT_EQ(File(), kFoods);
    ExpectListMatchesFile({"Bread", "Oat Cookie", "Tea"});
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FoodDialogs, EditWithNothingSelectedClosesAtOnce) {
    // The dialog ends itself while it starts; the answerer only stands guard (its watchdog fails a
    // dialog left open), so its handler does nothing.
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    dialogs.Queue([](HWND) {});
    Edit();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(File(), kFoods);
}

TEST_F(FoodDialogs, EditLoadsEveryFieldAndMovesTheFoodToTheEnd) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    Select("Oat Cookie");
    std::vector<std::string> shown;
    dialogs.Queue([&](HWND dialog) {
        for (int k = 0; k < kMyFoodFieldCount; ++k)
            shown.push_back(FormField(dialog, k));
        Press(dialog, IDOK);  // unchanged
    });
    Edit();
    EXPECT_EQ(shown, Fields(kCookie));  // hidden fields and the second measure included
    const std::string moved = std::string(kBread) + kTea + kCookie;
    EXPECT_EQ(File(), moved);
    ExpectListMatchesFile({"Bread", "Oat Cookie", "Tea"});

    // A measure that is not a row is stored as typed; the description change sorts the food anew.
    Select("Bread");
    dialogs.Queue([](HWND dialog) {
        SetFormField(dialog, 0, "Wholemeal Bread");
        SetFormField(dialog, kMyFoodMeasureField, "thick slice");
        SetFormField(dialog, 2, "95");
        Press(dialog, IDOK);
    });
    Edit();
    std::vector<std::string> bread = Fields(kBread);
    bread[0] = "Wholemeal Bread";
    bread[2] = "95";
    bread[kMyFoodMeasureField] = "thick slice";
    EXPECT_EQ(File(), std::string(kTea) + kCookie + Line(bread));
    ExpectListMatchesFile({"Oat Cookie", "Tea", "Wholemeal Bread"});
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FoodDialogs, EditRefusesABadFormWithItsOwnMessages) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    Select("Oat Cookie");
    struct Step {
        int field;
        std::string bad;
        const char* message;
        UINT flags;
    };
    const std::vector<Step> steps = {
        {0, std::string(65, 'D'), "Illegal Character: \"Description\"\r\nor line exceeds 64 Characters.",
         MB_OK | MB_ICONWARNING},
        {0, "Oat~Cookie", "Illegal Character: \"Description\"\r\nor line exceeds 64 Characters.",
         MB_OK | MB_ICONWARNING},
        {1, "x", "Illegal Character: \"Water\"", MB_OK},
        {5, "1,5", "Illegal Character: \"Carbohydrates\"", MB_OK},
        {32, "1 ", "Illegal Character: \"Serving Size Amount\"", MB_OK},
        {33, "", "Illegal Character: \"Serving Size Measure\"\r\nor line exceeds 64 characters", MB_OK},
        {33, "cup^", "Illegal Character: \"Serving Size Measure\"\r\nor line exceeds 64 characters", MB_OK},
        {34, "a", "Illegal Character: \"Serving 3\"", MB_OK},
        {36, "-", "Illegal Character: \"Refuse\"", MB_OK},
        {32, "", "Illegal Character or blank field: \"Serving Size Amount\"", MB_OK},
    };
    std::vector<std::string> good = Fields(kCookie);
    for (const Step& s : steps) {
        dialogs.Queue(WhenShown([&](HWND dialog) {
            SetFormField(dialog, s.field, s.bad);
            boxes.Clear();
            Press(dialog, IDOK);
            EXPECT_TRUE(IsWindowVisible(dialog)) << s.message;
            ASSERT_TRUE(OneMessage(boxes, s.message, "<none>", s.flags, dialog)) << s.message;
            EXPECT_EQ(File(), kFoods);
            boxes.Clear();
            Press(dialog, IDCANCEL);
        }));
        Edit();
        ExpectListMatchesFile({"Bread", "Oat Cookie", "Tea"});
        EXPECT_TRUE(boxes.Shown().empty());
    }
    EXPECT_EQ(dialogs.Answered(), static_cast<int>(steps.size()));
}

TEST_F(FoodDialogs, AddAndEditSearchMyFoodsResultsAgain) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    SendMessageA(g_controls.databaseChooser, CB_SETCURSEL, 0, 0);
    SetWindowTextA(g_controls.searchBox, "a");
    SendMessageA(window_, WM_COMMAND, IDC_SEARCH_BUTTON, 0);
    Select("Bread");
    dialogs.Queue([](HWND dialog) { Press(dialog, IDOK); });
    Edit();
    dialogs.Queue([](HWND dialog) {
        SetForm(dialog, kApple);
        Press(dialog, IDOK);
    });
    Add();
    std::vector<Item> results = ListItems(g_controls.resultsList);
    ASSERT_EQ(results.size(), 4u);
    ExpectItemsLeadToTheirLines(g_controls.resultsList);
    EXPECT_EQ(results[0].text, "Apple");
    EXPECT_EQ(results[1].line, kBread);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FoodDialogs, FailedEditLeavesTheFileAsItWas) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    struct Case {
        const char* name;
        std::function<void()> fault;
        const char* caption;
    };
    // A second handle holding the file without sharing, as another copy does while it appends.
    HANDLE held = INVALID_HANDLE_VALUE;
    const std::string path = InstallFolderPath("mtmyfood");
    const Case cases[] = {
        {"write fails", [] { InjectFileFault(FileFault::kOpenFails); }, "Error #202"},
        {"short write", [] { InjectFileFault(FileFault::kShortWrite); }, "Error #202"},
        {"read fails",
         [&] {
             held = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             ASSERT_NE(held, INVALID_HANDLE_VALUE);
         },
         "Error #201"},
    };
    for (const Case& c : cases) {
        Select("Oat Cookie");
        boxes.Clear();
        dialogs.Queue([&](HWND dialog) {
            SetFormField(dialog, 2, "130");
            c.fault();
            SetFocus(GetDlgItem(dialog, IDOK));
            Press(dialog, IDOK);
        });
        Edit();
        InjectFileFault(FileFault::kNone);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
        ASSERT_TRUE(OneMessage(
                boxes, "Cannot update Food Item.", c.caption, MB_OK | MB_ICONWARNING)) << c.name;
        EXPECT_EQ(File(), kFoods) << c.name;
        ExpectListMatchesFile({"Bread", "Oat Cookie", "Tea"});
    }
    EXPECT_EQ(dialogs.Answered(), 3);
}

// Another running copy moved the lines under the list: Delete and Edit are refused, never done blindly.
TEST_F(FoodDialogs, AFileChangedBehindTheListIsNeverEditedOrDeletedBlindly) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    struct Case {
        const char* name;
        std::string file;  // what the other copy made of the file
    };
    const Case cases[] = {
        {"a line removed before it", std::string(kCookie) + kTea},  // Tea's offset now inside its own line
        {"a line added before it", std::string(kApple) + kBread + kCookie + kTea},
        {"edited there by the other copy", std::string(kBread) + kTea + kCookie},  // Cookie's offset is Tea's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const char* food = std::string(c.name).find("edited") == 0 ? "Oat Cookie" : "Tea";
        // Delete: refused with a message, the list loaded again, no food removed.
        ListedAsItWas(food, &boxes);
        OtherCopyWrites(c.file);
        boxes.QueueAnswer(IDYES);
        EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0), 1);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[1].text, kStaleMessage);
        EXPECT_EQ(boxes.Shown()[1].caption, "MealTally");
        EXPECT_EQ(boxes.Shown()[1].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(File(), c.file);
        EXPECT_EQ(SendMessageA(g_controls.myFoodsList, LB_GETCOUNT, 0, 0),
                  static_cast<LRESULT>(std::count(c.file.begin(), c.file.end(), '\n')));
        ExpectItemsLeadToTheirLines(g_controls.myFoodsList);

        // Edit, changed before the dialog opens: refused at once.
        ListedAsItWas(food, &boxes);
        OtherCopyWrites(c.file);
        dialogs.Queue([](HWND) {});  // it ends itself at once
        Edit();
        ASSERT_TRUE(OneMessage(boxes, kStaleMessage));
        EXPECT_EQ(File(), c.file);

        // Edit, changed while the dialog is open: refused at Save.
        ListedAsItWas(food, &boxes);
        dialogs.Queue([&](HWND dialog) {
            SetFormField(dialog, 2, "5");
            OtherCopyWrites(c.file);
            Press(dialog, IDOK);
        });
        Edit();
        ASSERT_TRUE(OneMessage(boxes, kStaleMessage, "MealTally"));
        EXPECT_EQ(File(), c.file);
        ExpectItemsLeadToTheirLines(g_controls.myFoodsList);
    }
}

// Another running copy changed a food in place, appended one, or holds the file for its own append.
TEST_F(FoodDialogs, AnotherCopysChangeInPlaceAppendOrHoldIsNeverOverwritten) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    // The same food changed in place (same description, other values): Edit refuses at Save.
    ListedAsItWas("Oat Cookie", &boxes);
    std::string changed = kFoods;
    changed.replace(changed.find("^120^"), 5, "^125^");
    dialogs.Queue([&](HWND dialog) {
        OtherCopyWrites(changed);
        Press(dialog, IDOK);
    });
    Edit();
    ASSERT_TRUE(OneMessage(boxes, kStaleMessage));
    EXPECT_EQ(File(), changed);

    // A food appended by the other copy moves no offset: Delete then removes the right food.
    ListedAsItWas("Tea", &boxes);
    OtherCopyWrites(kFoods + kApple);
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0), 0);
    EXPECT_EQ(File(), std::string(kBread) + kCookie + kApple);
    ExpectListMatchesFile({"Apple", "Bread", "Oat Cookie"});

    // While the other copy holds the file for its own append, Add fails quietly and keeps the form.
    HANDLE held = CreateFileA(InstallFolderPath("mtmyfood").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    boxes.Clear();
    dialogs.Queue(WhenShown([&](HWND dialog) {
        SetForm(dialog, kTea);
        Press(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        CloseHandle(held);
        Press(dialog, IDOK);  // once it is free, the same form goes in
    }));
    Add();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(File(), std::string(kBread) + kCookie + kApple + kTea);
}

TEST_F(FoodDialogs, AddAfterALastLineWithoutItsLineEndKeepsBothFoods) {
    DialogAnswerer dialogs;
    WriteFileBytes(InstallFolderPath("mtmyfood"), std::string(kBread, std::strlen(kBread) - 2));
    ReloadMyFoods();
    dialogs.Queue([](HWND dialog) {
        SetForm(dialog, kTea);
        Press(dialog, IDOK);
    });
    Add();
    EXPECT_EQ(File(), std::string(kBread) + kTea);
    ExpectListMatchesFile({"Bread", "Tea"});
}

// Another copy holds the file without sharing, as it does for its own append or change.
TEST_F(FoodDialogs, DeleteWhileAnotherCopyHoldsTheFileChangesNothingAndSaysSo) {
    MessageBoxRecorder boxes;
    HANDLE held = CreateFileA(InstallFolderPath("mtmyfood").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    Select("Tea");
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0), 1);
    CloseHandle(held);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text + " " + boxes.Shown()[1].caption, "Cannot update Food Item. Error #201");
    EXPECT_EQ(File(), kFoods);
}

// The other copy's append, started on its own thread while this copy holds the file between its read
// and its rewrite: it waits, and lands after the rewrite.
std::thread g_otherCopy;
int g_otherCopyAppended;
void AppendAsAnotherCopy() {
    g_otherCopy = std::thread(
        [] { g_otherCopyAppended = AppendLineToFile(InstallFolderPath("mtmyfood").c_str(), kApple, std::strlen(kApple)); });
}

TEST_F(FoodDialogs, AnAppendBetweenTheReadAndTheRewriteIsNeverWrittenOver) {
    DialogAnswerer dialogs;
    MessageBoxRecorder boxes;
    std::string edited = kCookie;
    edited.replace(edited.find("^120^"), 5, "^130^");
    for (bool edit : {true, false}) {
        WriteFileBytes(InstallFolderPath("mtmyfood"), kFoods);
        ReloadMyFoods();
        SetHeldFileReadHook(AppendAsAnotherCopy);
        if (edit) {
            Select("Oat Cookie");
            dialogs.Queue([](HWND dialog) {
                SetFormField(dialog, 2, "130");
                Press(dialog, IDOK);
            });
            Edit();
        } else {
            Select("Tea");
            boxes.QueueAnswer(IDYES);
            SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0);
        }
        SetHeldFileReadHook(nullptr);
        if (g_otherCopy.joinable()) g_otherCopy.join();
        EXPECT_EQ(g_otherCopyAppended, 1);
        EXPECT_EQ(File(), edit ? std::string(kBread) + kTea + edited + kApple : std::string(kBread) + kCookie + kApple);
    }
}

// The real commands, cut at each of their write calls in turn: the next start finds the old list or
// the new one, and says once that it put the file back.
TEST_F(FoodDialogs, AddEditAndDeleteCutAtAnyWriteLeaveTheOldListOrTheNewOne) {
    struct Command {
        const char* name;
        std::function<void(DialogAnswerer*, MessageBoxRecorder*)> run;
    };
    const Command commands[] = {
        {"Add", [this](DialogAnswerer* dialogs, MessageBoxRecorder*) {
             dialogs->Queue([](HWND dialog) { SetForm(dialog, kApple); Press(dialog, IDOK); });
             Add();
         }},
        {"Edit", [this](DialogAnswerer* dialogs, MessageBoxRecorder*) {
             Select("Tea");
             dialogs->Queue([](HWND dialog) { SetFormField(dialog, 0, "Green tea"); Press(dialog, IDOK); });
             Edit();
         }},
        {"Delete", [this](DialogAnswerer*, MessageBoxRecorder* boxes) {
             Select("Tea");
             boxes->QueueAnswer(IDYES);
             SendMessageA(window_, WM_COMMAND, IDC_DELETE_BUTTON, 0);
         }},
    };
    int cuts = 0;
    for (const Command& command : commands) {
        auto run = [&] {
            DialogAnswerer dialogs;
            MessageBoxRecorder boxes;
            command.run(&dialogs, &boxes);
        };
        InstallFile("mtmyfood", kFoods);
        ReloadMyFoodsList(g_controls.myFoodsList);
        CutWritesAt(0);
        run();
        const int calls = WriteCallsSoFar();
        const std::string after = File();
        ASSERT_NE(after, kFoods) << command.name;
        for (int cut = 1; cut <= calls; ++cut, ++cuts) {
            InstallFile("mtmyfood", kFoods);
            ReloadMyFoodsList(g_controls.myFoodsList);
            CutWritesAt(cut);
            run();
            CutWritesAt(0);
            // The next start: a window of its own, which loads the list and tells of a file put back.
            int restored = RestoredFileCount();
            MainWindowTest::TearDown();
            MainWindowTest::SetUp();
            std::string now = File();
            EXPECT_TRUE(now == kFoods || now == after) << command.name << ", cut at write call " << cut;
            EXPECT_EQ(ReadInstalledFile("mtmyfood-journal"), "<missing>") << command.name << ", cut " << cut;
            std::vector<std::string> listed;
            for (const Item& item : ListItems(g_controls.myFoodsList))
                listed.push_back(item.line);
            std::vector<std::string> lines;
            for (size_t at = 0; at < now.size(); at = now.find('\n', at) + 1)
                lines.push_back(now.substr(at, now.find('\n', at) + 1 - at));
            std::sort(lines.begin(), lines.end());
            std::sort(listed.begin(), listed.end());
            EXPECT_EQ(listed, lines) << command.name << ", cut " << cut;
            if (RestoredFileCount() > restored) {
                MessageBoxRecorder boxes;
                TellOfRestoredFiles(window_);
                TellOfRestoredFiles(window_);  // once
                ASSERT_TRUE(OneMessage(boxes, kRestoredMessage));
            }
        }
    }
    std::printf("%d cut points of Add, Edit and Delete, each leaving the old list or the new one\n", cuts);
}

}  // namespace
