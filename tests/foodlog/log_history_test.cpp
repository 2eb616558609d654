// Undo and Redo without a limit, back to the very bytes the log started from in both views; the modified
// flag says whether the log is what was last saved; a log changed around the history is left alone. (Each
// kind of change is undone through the window in tests/shell/edit_menu_test.cpp.)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foodlog/log_history.h"
#include "foodlog/log_table.h"

namespace {

LogEntry Food(int number, float quantity) {
    LogEntry e;
    std::memset(&e, 0, sizeof e);
    std::snprintf(e.name, sizeof e.name, "food %d", number);
    e.source = number % 2 ? kSourceUsda : kSourceMyFoods;
    e.measure = kMeasureGrams;
    e.quantity = quantity;
    e.values[kIron] = 2500 * number;
    return e;
}

// Every byte a change could touch: the entries and their nutrients in both views.
std::string State() {
    std::string state(reinterpret_cast<const char*>(LogEntries()), EntryCount() * sizeof(LogEntry));
    for (int mode : {kAmountsView, kPercentView}) {
        SetViewMode(mode);
        for (int i = 0; i < EntryCount(); ++i)
            state.append(reinterpret_cast<const char*>(&NutrientsAt(i)), sizeof(EntryNutrients));
    }
    return state;
}

void StartFourEntries() {
    ResetLogState();
    const LogEntry start[] = {Food(0, 1), Food(1, 2), Food(2, 3), Food(3, 4)};
    ASSERT_EQ(ReplaceEntries(start, 4), 1);
    StartHistory();
}

TEST(LogHistory, ANewChangeEndsRedoAndTheSavedStateItLeftBehindIsGone) {
    StartFourEntries();
    const std::string start = State();
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(SetQuantityAsChange(i % 4, static_cast<float>(i)), 1);
    MarkSaved();
    ASSERT_EQ(UndoChange(), 1);
    const int outside[] = {4};
    EXPECT_EQ(RemoveAsChange(ChangeKind::kCut, outside, 1), 0);  // refused: records nothing
    ASSERT_EQ(SetQuantityAsChange(0, 99.0f), 1);
    EXPECT_FALSE(NextRedo(nullptr));
    int steps = 0;
    while (UndoChange())
        ++steps;
    EXPECT_EQ(steps, 300);  // no limit on the steps
    EXPECT_EQ(State(), start);
    EXPECT_EQ(IsModified(), 1);  // the saved state's step is gone: the start is not it

    // A log changed behind the history's back is left alone by a step that no longer fits it.
    ASSERT_EQ(SetQuantityAsChange(3, 1.0f), 1);
    ASSERT_EQ(RemoveEntry(3), 1);
    EXPECT_EQ(UndoChange(), 0);
    EXPECT_FALSE(NextUndo(nullptr));
    ResetLogState();
}

}  // namespace
