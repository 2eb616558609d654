#include "tests/shell/gui_harness_win.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>

#include "fooddb/food_files.h"
#include "fooddb/food_files_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "platform/file_io.h"
#include "shell/main_window_win.h"
#include "platform/message_box_win.h"
#include "resources/resource.h"
#include "tests/test_files.h"

namespace {

MessageBoxRecorder* g_recorder;
DialogAnswerer* g_answerer;
constexpr char kInstallFolder[] = "C:\\Program Files\\Meal-Tally\\";

}  // namespace

MessageBoxRecorder::MessageBoxRecorder() {
    g_recorder = this;
    SetMessageBoxFunction(Record);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxFunction(nullptr);
    g_recorder = nullptr;
}

int MessageBoxRecorder::Record(HWND owner, const char* text, const char* caption, UINT flags) {
    MessageBoxRecorder* self = g_recorder;
    self->shown_.push_back({owner, text ? text : "", caption ? caption : "<none>", flags});
    if (self->answers_.empty()) return IDOK;
    int answer = self->answers_.front();
    self->answers_.erase(self->answers_.begin());
    return answer;
}

::testing::AssertionResult OneMessage(const MessageBoxRecorder& boxes, const std::string& text,
                                      std::optional<std::string> caption, std::optional<UINT> flags,
                                      std::optional<HWND> owner) {
    if (boxes.Shown().size() != 1)
        return ::testing::AssertionFailure() << boxes.Shown().size() << " messages shown, not one";
    const ShownMessage& shown = boxes.Shown()[0];
    if (shown.text == text && (!caption || shown.caption == *caption) && (!flags || shown.flags == *flags) &&
        (!owner || shown.owner == *owner))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shown \"" << shown.text << "\", caption \"" << shown.caption
                                         << "\", flags " << shown.flags << ", owner " << shown.owner;
}

DialogAnswerer::DialogAnswerer(UINT watchdogMilliseconds) {
    g_answerer = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    timer_ = SetTimer(nullptr, 0, watchdogMilliseconds, Watchdog);
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    UnhookWindowsHookEx(hook_);
    g_answerer = nullptr;
    EXPECT_TRUE(handlers_.empty()) << handlers_.size() << " expected dialog(s) never opened";
}

LRESULT CALLBACK DialogAnswerer::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    DialogAnswerer* self = g_answerer;
    if (code == HCBT_ACTIVATE && self) {
        HWND dialog = reinterpret_cast<HWND>(wParam);
        // A dialog is activated again when a box it showed closes; it is answered once.
        bool seen = false;
        for (HWND answered : self->answeredDialogs_)
            seen = seen || answered == dialog;
        if (ClassOf(dialog) == "#32770" && !seen) {
            self->answeredDialogs_.push_back(dialog);
            if (self->handlers_.empty()) {
                // What it says tells which step went wrong (a box of a file dialog has its title).
                std::string says;
                for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                    if (ClassOf(child) == "Static" && !TextOf(child).empty()) says += " \"" + TextOf(child) + "\"";
                ADD_FAILURE() << "unexpected dialog \"" << TextOf(dialog) << "\", saying" << says;
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            } else {
                // Activation comes while the dialog is still starting: a file dialog fills its name box
                // from messages it has queued, which would wipe out a name typed now. A timer runs after
                // them. A dialog that ended itself while starting never gets its answer.
                auto& pending = self->pending_;
                pending.erase(std::remove_if(pending.begin(), pending.end(),
                                             [](const auto& entry) { return !IsWindow(entry.first); }),
                              pending.end());
                pending.push_back({dialog, std::move(self->handlers_.front())});
                self->handlers_.erase(self->handlers_.begin());
                ++self->answered_;
                SetTimer(dialog, kAnswerTimer, kAnswerDelay, Answer);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogAnswerer::Answer(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    DialogAnswerer* self = g_answerer;
    if (!self) return;
    for (size_t i = 0; i < self->pending_.size(); ++i) {
        if (self->pending_[i].first != dialog) continue;
        std::function<void(HWND)> handler = std::move(self->pending_[i].second);
        self->pending_.erase(self->pending_.begin() + static_cast<std::ptrdiff_t>(i));
        handler(dialog);
        return;
    }
}

// A dialog counts as left open when it is still the active one a whole period later: a test of many
// dialogs, each answered at once, may take longer than a period on a loaded machine.
void CALLBACK DialogAnswerer::Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    DialogAnswerer* self = g_answerer;
    HWND active = GetActiveWindow();
    if (!self || !active || ClassOf(active) != "#32770") {
        if (self) self->lastActive_ = nullptr;
        return;
    }
    if (active != self->lastActive_) {
        self->lastActive_ = active;
        return;
    }
    ADD_FAILURE() << "dialog \"" << TextOf(active) << "\" was left open";
    EndDialog(active, IDCANCEL);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string InstallFolderPath(const char* name) {
    return std::string(kInstallFolder) + name;
}

void InstallFile(const char* name, const std::string& bytes) {
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(kInstallFolder, nullptr);
    WriteFileBytes(InstallFolderPath(name), bytes);
}

void RemoveInstalledFile(const char* name) {
    DeleteFileA(InstallFolderPath(name).c_str());
}

std::string ReadInstalledFile(const char* name) {
    return ReadFileBytes(InstallFolderPath(name));
}

namespace {
void RestoreInstalledFile(const char* name, const std::string& bytes) {
    if (bytes == "<missing>") {
        RemoveInstalledFile(name);
    } else {
        InstallFile(name, bytes);
    }
}
}  // namespace

InstalledDatabases::InstalledDatabases(const std::string& usda, const std::string& myFoods)
    : savedUsda_(ReadInstalledFile("ABBREV.txt")), savedMyFoods_(ReadInstalledFile("mtmyfood")) {
    InstallFile("ABBREV.txt", usda);
    InstallFile("mtmyfood", myFoods);
}

InstalledDatabases::~InstalledDatabases() {
    RestoreInstalledFile("ABBREV.txt", savedUsda_);
    RestoreInstalledFile("mtmyfood", savedMyFoods_);
}

int LogRows() {
    return static_cast<int>(SendMessageA(LogListView(), LVM_GETITEMCOUNT, 0, 0));
}

std::string ListCell(HWND list, int row, int column) {
    char text[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string LogCell(int row, int column) {
    return ListCell(LogListView(), row, column);
}

std::string LogHeader(int column) {
    char text[256] = {};
    LVCOLUMNA header = {};
    header.mask = LVCF_TEXT;
    header.pszText = text;
    header.cchTextMax = sizeof text;
    SendMessageA(LogListView(), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string content = line.substr(0, line.find('\r'));
    size_t start = 0;
    while (true) {
        size_t caret = content.find('^', start);
        fields.push_back(content.substr(start, caret == std::string::npos ? std::string::npos : caret - start));
        if (caret == std::string::npos) return fields;
        start = caret + 1;
    }
}

namespace {
HWND PickerEdit() {
    return reinterpret_cast<HWND>(SendMessageA(MeasurePicker(), CBEM_GETEDITCONTROL, 0, 0));
}
}  // namespace

std::string FormField(HWND form, int k) {
    if (k == kMyFoodMeasureField) return TextOf(PickerEdit());
    if (k == kMyFoodSecondMeasureField) {
        LRESULT row = SendMessageA(SecondMeasurePicker(), CB_GETCURSEL, 0, 0);
        return row < 0 ? "99" : std::to_string(row);
    }
    return TextOf(GetDlgItem(form, IDC_FOOD_FIELD_FIRST + k));
}

void SetFormField(HWND form, int k, const std::string& text) {
    if (k == kMyFoodMeasureField) {
        EXPECT_NE(PickerEdit(), nullptr);
        SetWindowTextA(PickerEdit(), text.c_str());
    } else if (k == kMyFoodSecondMeasureField) {
        SendMessageA(SecondMeasurePicker(), CB_SETCURSEL, text == "99" ? static_cast<WPARAM>(-1) : std::stoi(text), 0);
    } else {
        SetDlgItemTextA(form, IDC_FOOD_FIELD_FIRST + k, text.c_str());
    }
}

void SetForm(HWND form, const std::string& line) {
    std::vector<std::string> fields = Fields(line);
    for (int k = 0; k < kMyFoodFieldCount; ++k)
        SetFormField(form, k, k < static_cast<int>(fields.size()) ? fields[k] : "");
}

void MainWindowTest::SetUp() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static bool registered = RegisterMainWindowClass(instance) != 0;
    ASSERT_TRUE(registered);
    window_ = CreateMainWindow(instance);
    ASSERT_NE(window_, nullptr);
    SetWindowPos(window_, nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    FinishStartup();
    PumpMessages();
}

void MainWindowTest::TearDown() {
    if (IsWindow(window_)) {
        ClearModified();  // no unsaved-changes question on the way out
        DestroyWindow(window_);
    }
    PumpMessages();
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

RECT MainWindowTest::ChildRect(HWND child) const {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT MainWindowTest::ClientRect() const {
    RECT rect = {};
    GetClientRect(window_, &rect);
    return rect;
}

std::string TempFile(const char* name) {
    std::string path = TempPath(name);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::function<void(HWND)> ChooseFile(const std::string& path) {
    return [path](HWND dialog) {
        HWND name = GetDlgItem(dialog, cmb13);
        if (!name) name = GetDlgItem(dialog, edt1);
        ASSERT_NE(name, nullptr) << "no file name field in \"" << TextOf(dialog) << "\"";
        SetWindowTextA(name, path.c_str());
        // At once: a file dialog still filling its list may put a listed name into the box meanwhile.
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}
