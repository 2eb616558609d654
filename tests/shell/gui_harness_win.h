// Test support for driving the real windows in-process: the main window, answered message
// boxes and dialogs, and the database files of the installation folder.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Every message box the program shows, answered from a queue (IDOK when the queue is empty).
struct ShownMessage {
    HWND owner;
    std::string text;
    std::string caption;  // "<none>" when the program passed no caption
    UINT flags;
};

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    void QueueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<ShownMessage>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

private:
    static int Record(HWND owner, const char* text, const char* caption, UINT flags);
    std::vector<ShownMessage> shown_;
    std::vector<int> answers_;
};

// Exactly one message since the last Clear, with this text and, where given, caption, flags and owner.
::testing::AssertionResult OneMessage(const MessageBoxRecorder& boxes, const std::string& text,
                                      std::optional<std::string> caption = std::nullopt,
                                      std::optional<UINT> flags = std::nullopt,
                                      std::optional<HWND> owner = std::nullopt);

// Answers the program's modal dialogs (class #32770) as they open: each handler gets the dialog
// once it is active and must end it (e.g. post IDOK or IDCANCEL). A watchdog fails the test and
// closes any dialog that no handler ended, so a test never hangs.
class DialogAnswerer {
public:
    explicit DialogAnswerer(UINT watchdogMilliseconds = 10000);
    ~DialogAnswerer();
    void Queue(std::function<void(HWND dialog)> handler) { handlers_.push_back(std::move(handler)); }
    int Answered() const { return answered_; }
    // A modeless window that is activated again and again (Find Food) is never a dialog to answer.
    void Ignore(HWND window) { answeredDialogs_.push_back(window); }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK Answer(HWND dialog, UINT, UINT_PTR id, DWORD);
    static constexpr UINT_PTR kAnswerTimer = 0x7A5E;  // clear of the ids tests give their own timers
    static constexpr UINT kAnswerDelay = 20;
    HHOOK hook_;
    UINT_PTR timer_;
    HWND lastActive_ = nullptr;  // the dialog the watchdog found active the time before
    std::vector<std::function<void(HWND)>> handlers_;
    std::vector<std::pair<HWND, std::function<void(HWND)>>> pending_;  // activated, not yet answered
    std::vector<HWND> answeredDialogs_;
    int answered_ = 0;
};

// A temporary path as the file dialogs show it, with backslashes.
std::string TempFile(const char* name);
// A dialog handler: types the path into an open or save dialog's file name box and presses OK.
std::function<void(HWND)> ChooseFile(const std::string& path);

// Processes every pending message of the thread.
void PumpMessages();

// The installation folder's files, as the program opens them.
std::string InstallFolderPath(const char* name);
void InstallFile(const char* name, const std::string& bytes);
void RemoveInstalledFile(const char* name);
std::string ReadInstalledFile(const char* name);  // "<missing>" when it does not exist

// Puts the test's own database files in the installation folder and, afterwards, what was there.
class InstalledDatabases {
public:
    InstalledDatabases(const std::string& usda, const std::string& myFoods);
    ~InstalledDatabases();

private:
    std::string savedUsda_;
    std::string savedMyFoods_;
};

// The food log list view: its number of rows, the text of a cell and of a column's header.
int LogRows();
std::string LogCell(int row, int column);
std::string ListCell(HWND list, int row, int column);
std::string LogHeader(int column);

// A fresh main window at a known size, destroyed after the test.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Child window geometry relative to the main window's client area.
    RECT ChildRect(HWND child) const;
    RECT ClientRect() const;
    // SetUp over the test's own database files, which the folder's own replace until the test ends.
    void SetUpWith(const std::string& usda, const std::string& myFoods) {
        installed_ = std::make_unique<InstalledDatabases>(usda, myFoods);
        MainWindowTest::SetUp();
    }

    HWND window_ = nullptr;
    std::unique_ptr<InstalledDatabases> installed_;
};

std::string ClassOf(HWND window);
std::string TextOf(HWND window);

// The fields of a My Foods line (its line end left off), and the food item form that shows them:
// field k as the user sees it (the second measure as its row, "99" for none) and set from a text.
std::vector<std::string> Fields(const std::string& line);
std::string FormField(HWND form, int k);
void SetFormField(HWND form, int k, const std::string& text);
void SetForm(HWND form, const std::string& line);

// A USDA food with, per 100 g, 100 Calories and 200 mg calcium; 1 cup = 100 g, 1 tbsp = 10 g.
inline constexpr char kRiceLine[] =
    "~1~^~TEST RICE~^50^100^10^1^20^2^1^200^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^0^100^~1 cup~^10^~1 "
    "tbsp~^0\r\n";

// Two USDA foods (1 cup = 240 g, 1 slice = 30 g) with values in every kind of slot: amounts, whole and
// thousandth percentages.
inline const std::string kOatsAndMilk =
    "~01~^~OATS~^8.2^389^16.89^6.9^66.27^10.6^1.72^54^523^4.72^2^429^177^3.97^0.626^4.916^28.9^0^"
    "0.42^0.763^0.139^0.961^1.349^0.119^56^0^0^1.217^2.178^2.535^0^240^~1 cup~^30^~1 slice~^0\r\n"
    "~02~^~MILK~^87.7^61^3.15^3.25^4.8^0^0.69^113^84^0.03^43^132^10^0.37^0.025^0.004^3.7^162^0.07^"
    "0.046^0.169^0.089^0.373^0.036^5^0.45^0^1.865^0.812^0.195^10^244^~1 cup~^15^~1 tbsp~^0\r\n";
