// The Edit menu through the real window: every change undone and done again, whole and across Save, back
// to the same rows in both views, modified flag and saved bytes; the clipboard's two forms, and pastes
// that must change nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "foodlog/add_food_win.h"
#include "foodlog/food_line.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_edit_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "logdoc/log_document.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "shell/edit_menu_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"

namespace {

const std::string& kUsda = kOatsAndMilk;
using Rows = std::vector<std::vector<std::string>>;

Rows Cells() {
    Rows rows(static_cast<size_t>(LogRows()));
    for (int row = 0; row < LogRows(); ++row)
        for (int column = 0; column < CountLogColumns(); ++column)
            rows[static_cast<size_t>(row)].push_back(LogCell(row, column));
    return rows;
}

// Only these rows selected; -1 stands for every row.
void Select(std::vector<int> rows, UINT state = LVIS_SELECTED) {
    for (int row : rows)
        ListView_SetItemState(LogListView(), row, state, LVIS_SELECTED);
}

// The clipboard's bytes in the format; a text up to its terminator.
std::string ClipboardBytes(UINT format) {
    std::string bytes;
    if (!OpenClipboard(nullptr)) return "<closed>";
    HANDLE data = GetClipboardData(format);
    const char* held = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (held) bytes.assign(held, format == CF_TEXT ? strnlen(held, GlobalSize(data)) : GlobalSize(data));
    if (held) GlobalUnlock(data);
    CloseClipboard();
    return bytes;
}

class EditMenu : public MainWindowTest {
protected:
    void SetUp() override { SetUpWith(kUsda, ""); }
    void TearDown() override {
        MainWindowTest::TearDown();
        DeleteFileA(path_.c_str());
    }
    LRESULT Command(int id) { return SendMessageA(window_, WM_COMMAND, id, 0); }
    // Three entries, opened by name, with a history that starts there.
    void StartSavedLog() {
        DeleteFileA(path_.c_str());
        ClearModified();
        Command(IDM_FILE_NEW);
        for (const char* quantity : {"1.5", "2", "3"})
            ASSERT_EQ(AddFoodFromData(kUsda, quantity[0] == '2' ? kUsda.find("~02~") : 0, quantity,
                                      static_cast<int>(strlen(quantity)), kMeasureFirst, kSourceUsda),
                      1);
        ASSERT_EQ(SaveLogDocument(3, path_.c_str()), 1);
        OpenCommandLineDocument(window_, ("/open " + path_).c_str());
    }
    // The rows in both views and the modified flag.
    Rows Views() {
        Rows views = Cells();
        Command(IDM_VIEW_AMOUNTS);
        Rows amounts = Cells();
        Command(IDM_VIEW_PERCENT);
        views.insert(views.end(), amounts.begin(), amounts.end());
        views.push_back({IsModified() ? "modified" : "saved"});
        return views;
    }
    std::string MenuText(int id) {
        HMENU edit = GetSubMenu(GetMenu(window_), 1);
        SendMessageA(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
        char text[64] = {};
        GetMenuStringA(edit, static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND);
        return std::string(text) + (GetMenuState(edit, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED ? " (grey)" : "");
    }
    // The change just made is one step: undone and done again whole, in the views and the menu, and
    // across a save, which the file then holds.
    void ExpectUndoneAndDoneAgain(const char* name, const Rows& before, const std::string& savedBefore) {
        const Rows after = Views();
        ASSERT_NE(after, before);
        EXPECT_EQ(after.back()[0], "modified");
        EXPECT_EQ(MenuText(IDM_EDIT_UNDO), std::string("&Undo ") + name + "\tCtrl+Z");
        EXPECT_EQ(MenuText(IDM_EDIT_REDO), "&Redo\tCtrl+Y (grey)");

        Command(IDM_EDIT_UNDO);
        EXPECT_EQ(Views(), before);  // saved as it was: nothing to ask on closing
        EXPECT_EQ(MenuText(IDM_EDIT_REDO), std::string("&Redo ") + name + "\tCtrl+Y");
        Command(IDM_EDIT_REDO);
        EXPECT_EQ(Views(), after);
        ASSERT_EQ(Command(IDM_FILE_SAVE), 1);
        const std::string savedAfter = ReadFileBytes(path_);
        Command(IDM_EDIT_UNDO);
        Rows undone = Views();
        EXPECT_EQ(undone.back()[0], "modified");
        undone.back() = before.back();
        EXPECT_EQ(undone, before);
        ASSERT_EQ(Command(IDM_FILE_SAVE), 1);
        EXPECT_EQ(ReadFileBytes(path_), savedBefore);
        Command(IDM_EDIT_REDO);
        ASSERT_EQ(Command(IDM_FILE_SAVE), 1);
        EXPECT_EQ(ReadFileBytes(path_), savedAfter);
    }
    std::string path_ = TempFile("edit-menu.mtf");
};

TEST_F(EditMenu, EveryChangeIsUndoneAndDoneAgainWholeAndAcrossSave) {
    std::string other = TempFile("edit-menu-other.mtf");
    MessageBoxRecorder boxes;
    const struct {
        const char* name;
        std::function<void()> change;
    } cases[] = {
        {"Add",
         [] {
             DialogAnswerer dialogs;
             dialogs.Queue([](HWND dialog) {
                 SetDlgItemTextA(dialog, IDC_QUANTITY_EDIT, "2");
                 SendMessageA(MeasureList(), CB_SETCURSEL, 1, 0);
                 PostMessageA(dialog, WM_COMMAND, IDOK, 0);
             });
             OpenFoodQuantityFor(g_mainWindow, kSourceUsda, 0);
         }},
        {"Delete",
         [&] {
             boxes.QueueAnswer(IDYES);
             Select({0, 2});
             SendMessageA(LogListView(), WM_KEYDOWN, VK_DELETE, 0);
             EXPECT_EQ(boxes.Shown().back().text, "Are you sure you want to delete these 2 entries?");
         }},
        {"Change Quantity",
         [] {
             RECT cell = {LVIR_BOUNDS, 1, 0, 0};
             SendMessageA(LogListView(), LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
             SendMessageA(LogListView(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.left + 5, cell.top + 5));
             SendMessageA(QuantityEditor(), WM_CHAR, '4', 1);
             SendMessageA(QuantityEditor(), WM_CHAR, VK_RETURN, 1);
         }},
        {"Insert Log",
         [&] {
             ASSERT_EQ(SaveLogDocument(2, other.c_str()), 1);
             DialogAnswerer dialogs;
             dialogs.Queue(ChooseFile(other));
             Command(IDM_FILE_INSERT_LOG);
         }},
        {"Paste",
         [this] {
             Select({1, 2});
             Command(IDM_EDIT_COPY);
             Command(IDM_EDIT_PASTE);
         }},
        {"Cut",
         [this] {
             Select({1});
             Command(IDM_EDIT_CUT);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartSavedLog();
        const std::string savedBefore = ReadFileBytes(path_);
        const Rows before = Views();
        c.change();
        ExpectUndoneAndDoneAgain(c.name, before, savedBefore);
    }
    DeleteFileA(other.c_str());
}

TEST_F(EditMenu, CopyGivesTheViewsTextAndPasteTheSameEntriesToAnotherLog) {
    StartSavedLog();
    Command(IDM_VIEW_AMOUNTS);
    // The text is the view's header and cells, row by row; with no row selected, the whole log and TOTAL.
    const Rows shown = Cells();
    for (bool selected : {true, false}) {
        if (selected) Select({0, 2});
        ASSERT_EQ(Command(IDM_EDIT_COPY), 1);
        Rows table = {{}};
        for (int column = 0; column < CountLogColumns(); ++column)
            table[0].push_back(LogHeader(column));
        for (size_t row = 0; row < shown.size(); ++row)
            if (!selected || row == 0 || row == 2) table.push_back(shown[row]);
        std::string expected;
        for (const auto& row : table)
            for (size_t column = 0; column < row.size(); ++column)
                expected += row[column] + (column + 1 < row.size() ? "\t" : "\r\n");
        EXPECT_EQ(ClipboardBytes(CF_TEXT), expected);
        Select({-1}, 0);
    }
    // Another log gets the same entries, with no database to read them from.
    RemoveInstalledFile("ABBREV.txt");
    Command(IDM_FILE_NEW);
    EXPECT_EQ(MenuText(IDM_EDIT_PASTE), "&Paste\tCtrl+V");
    Command(IDM_EDIT_PASTE);
    EXPECT_EQ(Cells(), shown);
    EXPECT_EQ(IsModified(), 1);
}

TEST_F(EditMenu, APasteThatIsDamagedForeignOrTooLargeChangesNothing) {
    StartSavedLog();
    for (int i = 0; i < 46; ++i)
        ASSERT_EQ(AddFoodFromData(kUsda, 0, "1", 1, kMeasureFirst, kSourceUsda), 1);
    RefreshLog();
    StartHistory();
    Select({0, 1});
    ASSERT_EQ(Command(IDM_EDIT_COPY), 1);
    const std::string copied = ClipboardBytes(EntriesFormat());
    std::string damaged = copied;
    damaged[damaged.size() / 2] ^= 1;
    const struct {
        UINT format;
        std::string bytes;
        const char* message;
    } cases[] = {
        {EntriesFormat(), copied, "Cannot exceed 50 items in Main Window!\r\n\r\nThe clipboard holds 2 entries and only 1 more fit"},
        {EntriesFormat(), damaged, kPasteDamagedMessage},
        {EntriesFormat(), copied.substr(0, copied.size() - 9), kPasteDamagedMessage},
        {CF_TEXT, "~OATS~\t1.00\r\n", nullptr},
    };
    const Rows before = Views();
    for (const auto& c : cases) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, c.bytes.size() + 1);
        memcpy(GlobalLock(memory), c.bytes.c_str(), c.bytes.size() + 1);
        GlobalUnlock(memory);
        SetClipboardData(c.format, memory);
        CloseClipboard();
        MessageBoxRecorder boxes;
        Command(IDM_EDIT_PASTE);
        EXPECT_EQ(Views(), before);
        EXPECT_EQ(MenuText(IDM_EDIT_UNDO), "&Undo\tCtrl+Z (grey)");
        ASSERT_EQ(boxes.Shown().size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(boxes.Shown()[0].text.rfind(c.message, 0), 0u) << boxes.Shown()[0].text;
        }
    }
}

}  // namespace
