// Shortcut keys through the message loop's own translation, the File menu's access keys, and the
// manifest that gives Common Controls 6.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "foodlog/food_line.h"
#include "foodlog/log_edit_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "printing/print_job_win.h"
#include "shell/edit_menu_win.h"
#include "shell/document_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"

namespace {

int g_printDialogs;
BOOL WINAPI CountPrintDialog(LPPRINTDLGA) {
    ++g_printDialogs;
    return FALSE;
}
const PrintSystem kCountingPrintSystem = {CountPrintDialog, StartDocA, StartPage, EndPage, EndDoc, AbortDoc};

class Shortcuts : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetPrintSystem(&kCountingPrintSystem);
        ASSERT_EQ(AddFoodFromData(kRiceLine, 0, "150", 3, kMeasureGrams, kSourceUsda), 1);
        RefreshLog();
        MarkModified();
    }
    void TearDown() override {
        SetPrintSystem(nullptr);
        MainWindowTest::TearDown();
    }
    // A key-down as the message loop gets it, with the modifiers held in the thread's key state: offered
    // to the shortcut table, else translated and dispatched; then whatever it caused is processed.
    void Press(HWND target, int key, std::vector<int> modifiers, UINT message = WM_KEYDOWN) {
        MSG msg = {target, message, static_cast<WPARAM>(key), message == WM_SYSKEYDOWN ? 1 | 1 << 29 : 1, 0, {}};
        BYTE saved[256], held[256];
        GetKeyboardState(saved);
        std::copy(saved, saved + 256, held);
        for (int modifier : modifiers) held[modifier] = 0x80;
        SetKeyboardState(held);
        if (!TranslateShortcut(window_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        SetKeyboardState(saved);
        PumpMessages();
    }
};

// Each key against what it must open: a file dialog, the unsaved-changes question or the print dialog.
TEST_F(Shortcuts, EachKeyActsAsItsMenuCommand) {
    struct Case {
        int key;
        std::vector<int> modifiers;
        const char* dialog;
        size_t questions;
        int printDialogs;
    };
    const Case cases[] = {
        {'S', {VK_CONTROL}, "Save As", 0, 0}, {'S', {VK_CONTROL, VK_SHIFT}, "Save As", 0, 0},
        {VK_F12, {}, "Save As", 0, 0},        {'O', {VK_CONTROL}, nullptr, 1, 0},
        {'N', {VK_CONTROL}, nullptr, 1, 0},   {'P', {VK_CONTROL}, nullptr, 0, 1},
        {'S', {}, nullptr, 0, 0},             {'S', {VK_MENU}, nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        MessageBoxRecorder boxes;
        boxes.QueueAnswer(IDCANCEL);
        DialogAnswerer dialogs;
        std::string title;
        if (c.dialog) dialogs.Queue([&title](HWND dialog) {
            title = TextOf(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        g_printDialogs = 0;
        Press(LogListView(), c.key, c.modifiers);
        EXPECT_EQ(title, c.dialog ? c.dialog : "");
        EXPECT_EQ(boxes.Shown().size(), c.questions);
        EXPECT_EQ(g_printDialogs, c.printDialogs);
        EXPECT_EQ(IsModified(), 1);
    }
}

TEST_F(Shortcuts, CtrlSWhileAQuantityIsEditedKeepsTheTypedValueThenSaves) {
    RECT cell = {LVIR_BOUNDS, 1, 0, 0};
    SendMessageA(LogListView(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageA(LogListView(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    HWND editor = QuantityEditor();
    ASSERT_NE(editor, nullptr);
    for (char c : std::string("250"))
        SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(c), 1);
    std::string path = TempFile("shortcut-save.mtf");
    std::remove(path.c_str());
    DialogAnswerer dialogs;
    dialogs.Queue(ChooseFile(path));
    Press(editor, 'S', {VK_CONTROL});
    EXPECT_EQ(LogCell(0, 1), "250.00");
    EXPECT_EQ(IsModified(), 0);  // saved after the edit ended
    EXPECT_STREQ(DocumentTitle(), "shortcut-save.mtf");
    std::remove(path.c_str());
}

// In the log the Edit menu's keys act on the entries; the search box keeps the same keys for its text.
TEST_F(Shortcuts, TheEditKeysActInTheLogAndAnEditBoxKeepsItsOwn) {
    MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDNO);
    HWND log = LogListView();
    HWND box = g_controls.searchBox;
    SetWindowTextA(box, "rice");
    const struct {
        HWND target;
        int key;
        std::vector<int> modifiers;
        int entries;
        const char* text;
    } cases[] = {
        {log, 'A', {VK_CONTROL}, 1, "rice"},  {log, 'C', {VK_CONTROL}, 1, "rice"},
        {log, 'V', {VK_CONTROL}, 2, "rice"},  {log, 'Z', {VK_CONTROL}, 1, "rice"},
        {log, 'Y', {VK_CONTROL}, 2, "rice"},  {log, 'Z', {VK_CONTROL}, 1, "rice"},
        {log, 'Z', {VK_CONTROL, VK_SHIFT}, 2, "rice"}, {log, 'A', {VK_CONTROL}, 2, "rice"},
        {log, VK_DELETE, {}, 2, "rice"},      {log, 'X', {VK_CONTROL}, 0, "rice"},
        {log, 'Z', {VK_CONTROL}, 2, "rice"},  {box, 'A', {VK_CONTROL}, 2, "rice"},
        {box, 'C', {VK_CONTROL}, 2, "rice"},  {box, VK_DELETE, {}, 2, ""},
        {box, 'Z', {VK_CONTROL}, 2, "rice"},  {box, VK_END, {}, 2, "rice"},
        {box, 'V', {VK_CONTROL}, 2, "ricerice"}, {box, 'A', {VK_CONTROL}, 2, "ricerice"},
        {box, 'X', {VK_CONTROL}, 2, ""},
    };
    for (const auto& c : cases) {
        Press(c.target, c.key, c.modifiers);
        EXPECT_EQ(EntryCount(), c.entries) << c.key;
        EXPECT_EQ(TextOf(box), c.text) << c.key;
    }
    ASSERT_TRUE(OneMessage(boxes, "Are you sure you want to delete these 2 entries?"));
    EXPECT_FALSE(IsClipboardFormatAvailable(EntriesFormat()));  // the box's copy took the clipboard
}

// The question of Delete is a window of its own; once it is answered the log has the focus again, so
// that Ctrl+Z reaches it.
TEST_F(Shortcuts, TheLogHasTheFocusAgainAfterTheQuestion) {
    SetFocus(LogListView());
    Press(LogListView(), 'A', {VK_CONTROL});
    DialogAnswerer dialogs;
    std::string question;
    dialogs.Queue([&question](HWND box) {
        question = TextOf(box);
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    });
    Press(LogListView(), VK_DELETE, {});
    EXPECT_EQ(dialogs.Answered(), 1);
    EXPECT_EQ(GetFocus(), LogListView());
    EXPECT_EQ(EntryCount(), 1);
}

// Posted once the menu is open, for the menu's own loop.
void CALLBACK PressNInTheMenu(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    PostMessageA(window, WM_CHAR, 'n', 1);
}

TEST_F(Shortcuts, AltFOpensTheFileMenuAndNStartsNew) {
    MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDCANCEL);
    SetTimer(window_, 1, 50, PressNInTheMenu);
    Press(window_, 'F', {VK_MENU}, WM_SYSKEYDOWN);
    for (int i = 0; i < 40 && boxes.Shown().empty(); ++i) {
        Sleep(25);
        PumpMessages();
    }
    ASSERT_TRUE(OneMessage(boxes, "Save current changes in (untitled)?"));
}

TEST(Manifest, TheProgramGetsCommonControls6) {
    HMODULE program = LoadLibraryExA(PLATELOG_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    EXPECT_NE(FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);
    FreeLibrary(program);
    // The tests carry the same resources, so this process got what the program gets: the comctl32 of
    // the Common Controls 6 assembly. (Wine's answers DllGetVersion with 5.81 either way.)
    char path[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof path);
    std::string loaded = path;
    for (char& c : loaded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(loaded.find("common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
}

}  // namespace
