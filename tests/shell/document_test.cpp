// The document commands: New, Open, Save, Save As, About, the caption and the unsaved-changes
// question, with the real file dialogs answered by the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "logdoc/log_document.h"
#include "platform/file_io.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"
#include "tests/test_files.h"

namespace {

std::function<void(HWND)> Press(int button) {
    return [button](HWND dialog) { PostMessageA(dialog, WM_COMMAND, button, 0); };
}

class Documents : public MainWindowTest {
protected:
    void AddFood(const char* grams) {
        ASSERT_EQ(AddFoodFromData(kRiceLine, 0, grams, static_cast<int>(std::strlen(grams)), kMeasureGrams,
                                  kSourceUsda),
                  1);
        RefreshLogRows();
        RefreshTotalRow();
        MarkModified();
    }
    LRESULT Command(int id) { return SendMessageA(window_, WM_COMMAND, id, 0); }
    void TearDown() override {
        InjectFileFault(FileFault::kNone);
        MainWindowTest::TearDown();
    }
};

TEST_F(Documents, SaveOnAnUntitledLogIsSaveAsAndTitlesTheDocument) {
    std::string path = TempFile("lunch.mtf");
    DeleteFileA(path.c_str());
    AddFood("150");
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");  // untitled, modified
    DialogAnswerer dialogs;
    dialogs.Queue(ChooseFile(path));
    EXPECT_EQ(Command(IDM_FILE_SAVE), 1);
    EXPECT_EQ(dialogs.Answered(), 1);
    EXPECT_EQ(IsModified(), 0);
    EXPECT_EQ(TextOf(window_), "MealTally - lunch.mtf");
    EXPECT_STREQ(DocumentTitle(), "lunch.mtf");
    std::string saved = ReadFileBytes(path);
    ASSERT_EQ(saved.size(), 16u + 180 + 11 + 3 + 4);  // "~TEST RICE~", "cup", "tbsp"
    EXPECT_EQ(saved.substr(0, 14), "mealtally10000");
    EXPECT_EQ(saved[15], 1);

    // Titled: Save writes without a dialog.
    AddFood("50");
    EXPECT_EQ(TextOf(window_), "MealTally - lunch.mtf");  // titled, modified
    EXPECT_EQ(Command(IDM_FILE_SAVE), 1);
    EXPECT_EQ(dialogs.Answered(), 1);
    EXPECT_EQ(ReadFileBytes(path)[15], 2);
    EXPECT_EQ(IsModified(), 0);
    DeleteFileA(path.c_str());
}

TEST_F(Documents, SaveAsOverAnExistingFileAsksFirst) {
    std::string path = TempFile("existing.mtf");
    WriteFileBytes(path, "old");
    AddFood("100");
    DialogAnswerer dialogs;
    dialogs.Queue(ChooseFile(path));
    dialogs.Queue(Press(IDYES));  // the dialog's own overwrite question
    EXPECT_EQ(Command(IDM_FILE_SAVE_AS), 1);
    EXPECT_EQ(dialogs.Answered(), 2);
    EXPECT_EQ(ReadFileBytes(path).substr(0, 9), "mealtally");
    DeleteFileA(path.c_str());
}

TEST_F(Documents, FailedSavesKeepThePreviousFileAndTheModifiedFlag) {
    MessageBoxRecorder boxes;
    std::string path = TempFile("kept.mtf");
    DeleteFileA(path.c_str());
    AddFood("100");
    DialogAnswerer dialogs;
    dialogs.Queue(ChooseFile(path));
    ASSERT_EQ(Command(IDM_FILE_SAVE_AS), 1);
    std::string previous = ReadFileBytes(path);
    AddFood("200");
    for (FileFault fault : {FileFault::kShortWrite, FileFault::kOpenFails}) {
        boxes.Clear();
        InjectFileFault(fault);
        EXPECT_EQ(Command(IDM_FILE_SAVE), 0);
        ASSERT_TRUE(OneMessage(boxes, "Could not write file kept.mtf", "MealTally", MB_ICONWARNING));
        EXPECT_EQ(ReadFileBytes(path), previous);
        EXPECT_EQ(IsModified(), 1);
    }
    // A failed Save As names the new file, as its caption already does, and keeps the flag set.
    for (FileFault fault : {FileFault::kShortWrite, FileFault::kOpenFails}) {
        boxes.Clear();
        InjectFileFault(fault);
        std::string other = TempFile("never.mtf");
        DeleteFileA(other.c_str());
        dialogs.Queue(ChooseFile(other));
        EXPECT_EQ(Command(IDM_FILE_SAVE_AS), 0);
        ASSERT_TRUE(OneMessage(boxes, "Could not write file never.mtf", "MealTally", MB_ICONWARNING));
        EXPECT_EQ(TextOf(window_), "MealTally - never.mtf");
        EXPECT_EQ(IsModified(), 1);
        EXPECT_EQ(ReadFileBytes(other), "<missing>");
    }
    InjectFileFault(FileFault::kNone);
    DeleteFileA(path.c_str());
}

TEST_F(Documents, NewAsksAndYesWithACancelledSaveAsKeepsEverything) {
    MessageBoxRecorder boxes;
    AddFood("100");
    DialogAnswerer dialogs;
    boxes.QueueAnswer(IDYES);
    dialogs.Queue(Press(IDCANCEL));
    EXPECT_EQ(Command(IDM_FILE_NEW), 0);
    ASSERT_TRUE(OneMessage(boxes, "Save current changes in (untitled)?"));
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(LogRows(), 2);
    EXPECT_EQ(IsModified(), 1);
    // No: the log is started afresh.
    boxes.QueueAnswer(IDNO);
    Command(IDM_FILE_NEW);
    EXPECT_EQ(EntryCount(), 0);
    EXPECT_EQ(LogRows(), 0);
    EXPECT_EQ(IsModified(), 0);
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
    EXPECT_EQ(ViewMode(), kPercentView);
}

TEST_F(Documents, YesSavesFirstThenGoesOn) {
    MessageBoxRecorder boxes;
    std::string path = TempFile("before-new.mtf");
    DeleteFileA(path.c_str());
    AddFood("100");
    DialogAnswerer dialogs;
    boxes.QueueAnswer(IDYES);
    dialogs.Queue(ChooseFile(path));
    Command(IDM_FILE_NEW);
    EXPECT_EQ(EntryCount(), 0);
    EXPECT_EQ(ReadFileBytes(path)[15], 1);
    DeleteFileA(path.c_str());
}

TEST_F(Documents, OpenReplacesTheLogAndRecomputesInTheCurrentView) {
    std::string path = TempFile("rice.mtf");
    DeleteFileA(path.c_str());
    AddFood("100");
    AddFood("50");
    EXPECT_EQ(LogCell(0, 8), "20");  // 200 mg calcium is 20 % in the percent view
    DialogAnswerer dialogs;
    dialogs.Queue(ChooseFile(path));
    ASSERT_EQ(Command(IDM_FILE_SAVE), 1);
    Command(IDM_FILE_NEW);
    SendMessageA(window_, WM_COMMAND, IDM_VIEW_AMOUNTS, 0);
    AddFood("10");
    ClearModified();
    dialogs.Queue(ChooseFile(path));
    Command(IDM_FILE_OPEN);
    ASSERT_EQ(EntryCount(), 2);
    EXPECT_EQ(LogRows(), 3);
    EXPECT_EQ(LogCell(0, 8), "200");
    EXPECT_EQ(LogCell(1, 1), "50.00");
    EXPECT_EQ(LogCell(2, 8), "300");
    EXPECT_EQ(TextOf(window_), "MealTally - rice.mtf");
    EXPECT_EQ(IsModified(), 0);
    DeleteFileA(path.c_str());
}

TEST_F(Documents, ADamagedDocumentLeavesTheLogAsItWas) {
    MessageBoxRecorder boxes;
    std::string path = TempFile("damaged.mtf");
    AddFood("100");
    AddFood("25");
    LogEntry before[2] = {EntryAt(0), EntryAt(1)};
    WriteFileBytes(path, std::string("mealtally1000\x01\x00\x01", 16));  // wrong checksum
    DialogAnswerer dialogs;
    dialogs.Queue(ChooseFile(path));
    boxes.QueueAnswer(IDNO);  // do not save the changes first
    Command(IDM_FILE_OPEN);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, "Unable to open file:  File damaged or corrupted.");
    EXPECT_EQ(boxes.Shown()[1].caption, "File Error");
    EXPECT_EQ(boxes.Shown()[1].flags, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(EntryCount(), 2);
    EXPECT_EQ(std::memcmp(before, LogEntries(), sizeof before), 0);
    EXPECT_EQ(LogRows(), 3);
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
    EXPECT_STREQ(DocumentPath(), "");
    EXPECT_EQ(IsModified(), 0);
    DeleteFileA(path.c_str());
}

TEST_F(Documents, CancellingOpenClearsTheModifiedFlag) {
    MessageBoxRecorder boxes;
    AddFood("100");
    DialogAnswerer dialogs;
    boxes.QueueAnswer(IDNO);
    dialogs.Queue(Press(IDCANCEL));
    Command(IDM_FILE_OPEN);
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(IsModified(), 0);
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
    // So closing now asks nothing.
    boxes.Clear();
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(Documents, TheAssociationsOpenGivesATitledDocumentThatSaveWritesBack) {
    MessageBoxRecorder boxes;
    std::string path = TempFile("2026-12-01.mtf");
    AddFood("100");
    ASSERT_EQ(SaveLogDocument(EntryCount(), path.c_str()), 1);
    ClearModified();
    Command(IDM_FILE_NEW);
    OpenCommandLineDocument(window_, ("/open \"" + path + "\"").c_str());
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(TextOf(window_), "MealTally - 2026-12-01.mtf");
    EXPECT_EQ(IsModified(), 0);
    AddFood("50");
    {
        DialogAnswerer dialogs;  // Save asks nothing: any dialog fails the test
        EXPECT_EQ(Command(IDM_FILE_SAVE), 1);
    }
    EXPECT_EQ(ReadFileBytes(path)[15], 2);
    EXPECT_TRUE(boxes.Shown().empty());

    // A damaged file: the message, and an untitled, empty log.
    Command(IDM_FILE_NEW);
    WriteFileBytes(path, "not a log");
    OpenCommandLineDocument(window_, ("/open " + path).c_str());
    ASSERT_TRUE(OneMessage(boxes, "Unable to open file:  File damaged or corrupted."));
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
    EXPECT_STREQ(DocumentPath(), "");
    EXPECT_EQ(EntryCount(), 0);
    DeleteFileA(path.c_str());
}

TEST_F(Documents, SaveAsOfAnUntitledLogProposesTodaysDate) {
    AddFood("100");
    auto today = [] {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char name[32];
        std::snprintf(name, sizeof name, "%04u-%02u-%02u.mtf", now.wYear, now.wMonth, now.wDay);
        return std::string(name);
    };
    std::string before = today();
    std::string proposed;
    DialogAnswerer dialogs;
    dialogs.Queue([&proposed](HWND dialog) {
        HWND name = GetDlgItem(dialog, cmb13);
        if (!name) name = GetDlgItem(dialog, edt1);
        proposed = TextOf(name);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Command(IDM_FILE_SAVE_AS), 0);
    EXPECT_TRUE(proposed == before || proposed == today()) << proposed;  // past midnight meanwhile
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
}

TEST_F(Documents, CommandLineDocumentsOpenUntitled) {
    MessageBoxRecorder boxes;
    std::string path = TempFile("with blanks in name.mtf");
    AddFood("100");
    ASSERT_EQ(SaveLogDocument(EntryCount(), path.c_str()), 1);
    ClearModified();
    Command(IDM_FILE_NEW);
    OpenCommandLineDocument(window_, path.c_str());
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(TextOf(window_), "MealTally - (untitled)");
    Command(IDM_FILE_NEW);
    OpenCommandLineDocument(window_, ("\"" + path + "\"").c_str());
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(LogRows(), 2);
    EXPECT_STREQ(DocumentPath(), "");
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(IsModified(), 0);

    WriteFileBytes(path, "not a log");
    OpenCommandLineDocument(window_, path.c_str());
    ASSERT_TRUE(OneMessage(
            boxes, "Unable to open file:  File damaged or corrupted.", "File Error", std::nullopt, window_));
    EXPECT_EQ(EntryCount(), 1);
    DeleteFileA(path.c_str());
}

TEST_F(Documents, AboutShowsTheAddressOnItsOwnLine) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(Command(IDM_HELP_ABOUT), 0);
    ASSERT_TRUE(OneMessage(
            boxes, "Help is available on our Website: \r\n https://meal-tally.example/", "Help", MB_OK));
}

}  // namespace
