// Undo and Redo: every kind of change comes back to the very bytes it started from, in both views, and
// the modified flag says whether the log is what was last saved.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
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
    e.values[kCalcium] = 100 + number;
    e.values[kIron] = 2500 * number;
    return e;
}

// Every byte a change could touch: the entries and their nutrients in both views.
std::string State() {
    std::string state(reinterpret_cast<const char*>(LogEntries()),
                      static_cast<size_t>(EntryCount()) * sizeof(LogEntry));
    int view = ViewMode();
    for (int mode : {kAmountsView, kPercentView}) {
        SetViewMode(mode);
        for (int i = 0; i < EntryCount(); ++i)
            state.append(reinterpret_cast<const char*>(&NutrientsAt(i)), sizeof(EntryNutrients));
    }
    SetViewMode(view);
    return state;
}

class LogHistory : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLogState();
        const LogEntry start[] = {Food(0, 1), Food(1, 2), Food(2, 3), Food(3, 4)};
        ASSERT_EQ(ReplaceEntries(start, 4), 1);
        StartHistory();
    }
    void TearDown() override {
        ResetLogState();
        StartHistory();
    }
};

TEST_F(LogHistory, EveryChangeUndoesAndRedoesToTheSameBytesAndFollowsTheSavedState) {
    const LogEntry inserted[] = {Food(7, 5), Food(8, 6)};
    const int twoOfThem[] = {3, 0};
    const int last[] = {3};
    const struct {
        ChangeKind kind;
        std::function<int()> change;
    } cases[] = {
        {ChangeKind::kAdd, [] { LogEntry food = Food(9, 2.5f); return AppendAsChange(ChangeKind::kAdd, &food, 1); }},
        {ChangeKind::kDelete, [&] { return RemoveAsChange(ChangeKind::kDelete, twoOfThem, 2); }},
        {ChangeKind::kChangeQuantity, [] { return SetQuantityAsChange(1, 7.25f); }},
        {ChangeKind::kInsertLog, [&] { return AppendAsChange(ChangeKind::kInsertLog, inserted, 2); }},
        {ChangeKind::kCut, [&] { return RemoveAsChange(ChangeKind::kCut, last, 1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ChangeName(c.kind));
        SetUp();
        const std::string before = State();
        ASSERT_EQ(c.change(), 1);
        MarkModified();
        const std::string after = State();
        ASSERT_NE(after, before);
        ChangeKind kind;
        ASSERT_TRUE(NextUndo(&kind) && kind == c.kind);
        EXPECT_FALSE(NextRedo(nullptr));

        ASSERT_EQ(UndoChange(), 1);
        EXPECT_EQ(State(), before);
        EXPECT_EQ(IsModified(), 0);  // back where it was saved
        EXPECT_FALSE(NextUndo(nullptr));
        ASSERT_TRUE(NextRedo(&kind) && kind == c.kind);
        ASSERT_EQ(RedoChange(), 1);
        EXPECT_EQ(State(), after);
        EXPECT_EQ(IsModified(), 1);

        // Saved after the change: taking it back is a change from what was saved.
        MarkSaved();
        ASSERT_EQ(UndoChange(), 1);
        EXPECT_EQ(State(), before);
        EXPECT_EQ(IsModified(), 1);
        ASSERT_EQ(RedoChange(), 1);
        EXPECT_EQ(IsModified(), 0);
    }
}

TEST_F(LogHistory, ANewChangeEndsRedoAndAStateLeftBehindIsNeverSavedAgain) {
    const std::string start = State();
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(SetQuantityAsChange(i % 4, static_cast<float>(i)), 1);
    MarkSaved();
    ASSERT_EQ(UndoChange(), 1);
    ASSERT_EQ(SetQuantityAsChange(0, 99.0f), 1);
    EXPECT_FALSE(NextRedo(nullptr));
    int steps = 0;
    while (UndoChange())
        ++steps;
    EXPECT_EQ(steps, 300);  // no limit on the steps
    EXPECT_EQ(State(), start);
    EXPECT_EQ(IsModified(), 1);  // the saved state's step is gone: the start is not it
}

TEST_F(LogHistory, RefusedChangesRecordNothingAndAHistoryTheLogOutgrewIsDropped) {
    std::vector<LogEntry> many(47, Food(5, 1));
    const int twice[] = {1, 1};
    const int outside[] = {4};
    EXPECT_EQ(AppendAsChange(ChangeKind::kPaste, many.data(), 47), 0);
    EXPECT_EQ(RemoveAsChange(ChangeKind::kDelete, twice, 2), 0);
    EXPECT_EQ(RemoveAsChange(ChangeKind::kDelete, outside, 1), 0);
    EXPECT_EQ(SetQuantityAsChange(4, 1.0f), 0);
    EXPECT_EQ(EntryCount(), 4);
    EXPECT_FALSE(NextUndo(nullptr));

    ASSERT_EQ(AppendAsChange(ChangeKind::kPaste, many.data(), 2), 1);
    ASSERT_EQ(RemoveEntry(0), 1);  // behind the history's back
    const std::string state = State();
    EXPECT_EQ(UndoChange(), 0);
    EXPECT_EQ(State(), state);
    EXPECT_FALSE(NextUndo(nullptr));
}

}  // namespace
