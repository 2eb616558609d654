// How a person reaches the commands: shortcut keys through the message loop's own translation, the
// File menu's access keys, the toolbar's tooltips; and the manifest that gives Common Controls 6.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "foodlog/food_line.h"
#include "foodlog/log_edit_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "printing/print_job_win.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"

namespace {

const char kLine[] =
    "~1~^~TEST RICE~^50^100^10^1^20^2^1^200^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^100^~1 cup~^10^~1 "
    "tbsp~^0\r\n";

int g_printDialogs;
BOOL WINAPI CountPrintDialog(LPPRINTDLGA) {
    ++g_printDialogs;
    return FALSE;
}
const PrintSystem kCountingPrintSystem = {CountPrintDialog, StartDocA, StartPage, EndPage, EndDoc, AbortDoc};

// Holds modifier keys down in the thread's keyboard state, as a person's hand does, and lets go.
class HeldKeys {
public:
    explicit HeldKeys(std::vector<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof state);
        for (int key : keys) state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

class Shortcuts : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        g_printDialogs = 0;
        SetPrintSystem(&kCountingPrintSystem);
    }
    void TearDown() override {
        SetPrintSystem(nullptr);
        MainWindowTest::TearDown();
    }
    void AddFood() {
        ASSERT_EQ(AddFoodFromData(kLine, 0, "150", 3, kMeasureGrams, kSourceUsda), 1);
        RefreshLog();
        MarkModified();
    }
    // A key-down as the message loop gets it: first offered to the shortcut table, else translated
    // and dispatched; then whatever it caused is processed.
    void Press(HWND target, int key, std::vector<int> modifiers, UINT message = WM_KEYDOWN) {
        MSG msg = {target, message, static_cast<WPARAM>(key), 1, 0, {}};
        if (message == WM_SYSKEYDOWN) msg.lParam |= 1 << 29;  // Alt is down
        {
            HeldKeys held(modifiers);
            if (!TranslateShortcut(window_, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        PumpMessages();
    }
};

std::function<void(HWND)> Record(std::vector<std::string>* titles) {
    return [titles](HWND dialog) {
        titles->push_back(TextOf(dialog));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
}

TEST_F(Shortcuts, EachKeyActsAsItsMenuCommand) {
    struct Case {
        const char* name;
        int key;
        std::vector<int> modifiers;
        const char* dialog;  // the file dialog it opens, or nullptr
        size_t boxes;        // the unsaved-changes question
        int printDialogs;
    };
    const Case cases[] = {
        {"Ctrl+S on an untitled log", 'S', {VK_CONTROL}, "Save As", 0, 0},
        {"Ctrl+Shift+S", 'S', {VK_CONTROL, VK_SHIFT}, "Save As", 0, 0},
        {"F12", VK_F12, {}, "Save As", 0, 0},
        {"Ctrl+O asks first", 'O', {VK_CONTROL}, nullptr, 1, 0},
        {"Ctrl+N asks first", 'N', {VK_CONTROL}, nullptr, 1, 0},
        {"Ctrl+P", 'P', {VK_CONTROL}, nullptr, 0, 1},
        {"S alone", 'S', {}, nullptr, 0, 0},
        {"Alt+S", 'S', {VK_MENU}, nullptr, 0, 0},
    };
    AddFood();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder boxes;
        boxes.QueueAnswer(IDCANCEL);
        DialogAnswerer dialogs;
        std::vector<std::string> titles;
        if (c.dialog) dialogs.Queue(Record(&titles));
        g_printDialogs = 0;
        Press(LogListView(), c.key, c.modifiers);
        EXPECT_EQ(titles, c.dialog ? std::vector<std::string>{c.dialog} : std::vector<std::string>{});
        EXPECT_EQ(boxes.Shown().size(), c.boxes);
        EXPECT_EQ(g_printDialogs, c.printDialogs);
        EXPECT_EQ(IsModified(), 1);  // nothing cancelled here may lose or save the log
    }
    // Without unsaved changes Ctrl+O goes straight to the Open dialog.
    ClearModified();
    DialogAnswerer dialogs;
    std::vector<std::string> titles;
    dialogs.Queue(Record(&titles));
    Press(window_, 'O', {VK_CONTROL});
    EXPECT_EQ(titles, std::vector<std::string>{"Open"});
}

TEST_F(Shortcuts, CtrlSWhileAQuantityIsEditedKeepsTheTypedValueThenSaves) {
    AddFood();
    RECT cell = {};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    SendMessageA(LogListView(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageA(LogListView(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(LogListView(), WM_LBUTTONUP, 0, at);
    HWND editor = QuantityEditor();
    ASSERT_NE(editor, nullptr);
    for (const char* c = "250"; *c; ++c)
        SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(*c), 1);

    std::string path = TempPath("shortcut-save.mtf");
    for (char& c : path)
        if (c == '/') c = '\\';
    std::remove(path.c_str());
    DialogAnswerer dialogs;
    dialogs.Queue([path](HWND dialog) {
        HWND name = GetDlgItem(dialog, 0x47c);  // cmb13, the file name
        if (!name) name = GetDlgItem(dialog, 0x480);  // edt1
        SetWindowTextA(name, path.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    Press(editor, 'S', {VK_CONTROL});
    EXPECT_EQ(dialogs.Answered(), 1);
    EXPECT_EQ(QuantityEditor(), nullptr);
    EXPECT_EQ(LogCell(0, 1), "250.00");
    // Saved after the edit: the saved log holds the typed quantity and nothing is left unsaved.
    EXPECT_EQ(IsModified(), 0);
    EXPECT_STREQ(DocumentTitle(), "shortcut-save.mtf");
    std::remove(path.c_str());
}

// A timer posts the keys a person presses once the menu is open, to the menu's own loop.
void CALLBACK PressNInTheMenu(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    PostMessageA(window, WM_CHAR, 'n', 1);
}

TEST_F(Shortcuts, AltFOpensTheFileMenuAndNStartsNew) {
    AddFood();
    MessageBoxRecorder boxes;
    boxes.QueueAnswer(IDCANCEL);
    SetTimer(window_, 1, 50, PressNInTheMenu);
    Press(window_, 'F', {VK_MENU}, WM_SYSKEYDOWN);
    for (int i = 0; i < 40 && boxes.Shown().empty(); ++i) {
        Sleep(25);
        PumpMessages();
    }
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Save current changes in (untitled)?");
    EXPECT_EQ(EntryCount(), 1);
}

// The toolbar's tip control asks the main window, which answers from the buttons' table.
TEST_F(Shortcuts, ToolbarButtonsHaveTheirTips) {
    HWND tips = reinterpret_cast<HWND>(SendMessageA(g_controls.toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 5);
    NMTTDISPINFOA request = {};
    request.hdr = {tips, static_cast<UINT_PTR>(IDM_VIEW_PERCENT), TTN_GETDISPINFOA};
    SendMessageA(window_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    EXPECT_STREQ(request.lpszText, "Percent of Daily Values");
}

TEST(Manifest, TheProgramAsksForCommonControls6AndGdiScaling) {
    HMODULE program = LoadLibraryExA(PLATELOG_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
    std::string manifest(bytes, SizeofResource(program, found));
    FreeLibrary(program);
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "level=\"asInvoker\"", ">false</dpiAware>", ">true</gdiScaling>",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    // The tests carry the same resources, so this process got the controls the program gets: the
    // Common Controls 6 side-by-side assembly's comctl32, not the system folder's version 5. (Wine's
    // comctl32 answers DllGetVersion with 5.81 in both roles, so its path tells them apart.)
    HMODULE controls = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(controls, nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(controls, path, sizeof path);
    std::string loaded = path;
    for (char& c : loaded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
}

}  // namespace
