// The log list view: rows and the TOTAL row, the quantity editor, Delete.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "foodlog/food_line.h"
#include "foodlog/log_edit_win.h"
#include "foodlog/log_table.h"
#include "foodlog/log_tip_win.h"
#include "foodlog/log_view_win.h"
#include "foodlog/nutrients.h"
#include "shell/main_window_win.h"
#include "tests/shell/gui_harness_win.h"

namespace {

// Per 100 g: 52 Calories, 0.85 g protein, 300 mg calcium, 2.5 mg iron; a cup weighs 227 g.
const char kUsdaLine[] =
    "~1~^~TEST "
    "APPLE~^85^52^0.85^0.2^14^2.4^0.2^300^11^2.5^1^107^5^0.04^0.03^0.04^0^54^0.2^0.02^0.03^0.09^0.06^"
    "0.04^3^0^4.6^0.03^0.01^0.05^0^227^~1 cup~^15^~1 tbsp~^0\r\n";
const char kMyLine[] =
    "Toast^^80^3^1^15^1^^2^4^6^150^40^2^3^2^^^0^^8^4^6^2^2^5^0^0^0.2^0.3^0.4^0^1^Cup^^5^\r\n";

class LogView : public MainWindowTest {
protected:
    void Add(const char* line, const char* quantity, int32_t measure, int32_t source) {
        ASSERT_EQ(
            AddFoodFromData(line, 0, quantity, static_cast<int>(std::strlen(quantity)), measure, source), 1);
        RefreshLogRows();
        RefreshTotalRow();
    }
    POINT CellCenter(int row, int column) {
        RECT cell = {};
        cell.top = column;
        cell.left = LVIR_BOUNDS;
        SendMessageA(LogListView(), LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
        // Column 0's bounds span the whole row; aim at its left end.
        int x = column == 0 ? cell.left + 10 : (cell.left + cell.right) / 2;
        return {x, (cell.top + cell.bottom) / 2};
    }
    void Click(int row, int column) {
        POINT p = CellCenter(row, column);
        SendMessageA(LogListView(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageA(LogListView(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    void Type(HWND editor, const char* text) {
        for (const char* c = text; *c; ++c)
            SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
    bool Selected(int row) {
        return SendMessageA(LogListView(), LVM_GETITEMSTATE, row, LVIS_SELECTED) == LVIS_SELECTED;
    }
    void Select(int row) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(LogListView(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    void PressKey(WPARAM key) { SendMessageA(LogListView(), WM_KEYDOWN, key, 0); }
};

TEST_F(LogView, EmptyLogHasNoTotalRowAndTheFirstFoodBringsOne) {
    EXPECT_EQ(LogRows(), 0);
    Add(kUsdaLine, "2", kMeasureFirst, kSourceUsda);
    ASSERT_EQ(LogRows(), 2);
    EXPECT_EQ(LogCell(0, 0), "~TEST APPLE~");
    EXPECT_EQ(LogCell(0, 1), "2.00");
    EXPECT_EQ(LogCell(0, 2), "cup");
    EXPECT_EQ(LogCell(0, 3), "236");    // 52 Calories in 4.54 portions of 100 g
    EXPECT_EQ(LogCell(0, 4), "3.859");  // protein
    EXPECT_EQ(LogCell(1, 0), "   TOTAL");
    EXPECT_EQ(LogCell(1, 1), "");
    EXPECT_EQ(LogCell(1, 2), "");
    EXPECT_EQ(LogCell(1, 3), "236");
    EXPECT_EQ(LogCell(0, 29), "");  // the closing column stays empty
}

TEST_F(LogView, MeasureCellsAndTotalsOfMixedEntries) {
    Add(kUsdaLine, "150", kMeasureGrams, kSourceUsda);
    Add(kMyLine, "2", kMeasureSecond, kSourceMyFoods);
    Add(kMyLine, "1", kMeasureNone, kSourceMyFoods);
    ASSERT_EQ(LogRows(), 4);
    EXPECT_EQ(LogCell(0, 2), "grams");
    EXPECT_EQ(LogCell(1, 2), "Tablespoon");  // the second measure's row of the measure table
    EXPECT_EQ(LogCell(2, 2), "grams");
    // The TOTAL row is the sum of the shown cells, column by column.
    for (int column = 3; column < 29; ++column) {
        double sum = 0;
        for (int row = 0; row < 3; ++row)
            sum += std::atof(LogCell(row, column).c_str());
        EXPECT_NEAR(std::atof(LogCell(3, column).c_str()), sum, 1e-6) << column;
    }
}

// A refresh holds painting back and lets the next paint draw the new rows once; the log must come
// out of it shown, painting again, and with its whole header to be drawn again, since the list
// view's erase covers it.
TEST_F(LogView, ARefreshLeavesTheLogShownAndPaintingWithItsWholeHeaderToDraw) {
    Add(kUsdaLine, "1", kMeasureGrams, kSourceUsda);
    PumpMessages();
    RECT update = {};
    ASSERT_FALSE(GetUpdateRect(LogListView(), &update, FALSE));
    HWND header = reinterpret_cast<HWND>(SendMessageA(LogListView(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    ASSERT_FALSE(GetUpdateRect(header, &update, FALSE));

    ASSERT_EQ(RefreshLog(), 1);
    EXPECT_EQ(LogRows(), 2);
    EXPECT_TRUE(IsWindowVisible(LogListView()));
    EXPECT_TRUE(GetUpdateRect(LogListView(), &update, FALSE));  // the new rows are drawn
    ASSERT_TRUE(GetUpdateRect(header, &update, FALSE));
    RECT whole = {};
    GetClientRect(header, &whole);
    EXPECT_TRUE(EqualRect(&update, &whole));

    PumpMessages();
    ASSERT_FALSE(GetUpdateRect(LogListView(), &update, FALSE));
    ASSERT_FALSE(GetUpdateRect(header, &update, FALSE));
    // Painting is on again: a changed cell asks to be drawn.
    LVITEMA cell = {};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>("9.00");
    SendMessageA(LogListView(), LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&cell));
    EXPECT_TRUE(GetUpdateRect(LogListView(), &update, FALSE));
}

TEST_F(LogView, AHiddenLogIsRefreshedButStaysHidden) {
    Add(kUsdaLine, "1", kMeasureGrams, kSourceUsda);
    ShowWindow(LogListView(), SW_HIDE);
    Add(kMyLine, "2", kMeasureNone, kSourceMyFoods);
    ASSERT_EQ(RefreshLog(), 1);
    EXPECT_FALSE(GetWindowLongPtrA(LogListView(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(LogRows(), 3);
    EXPECT_EQ(LogCell(1, 0), "Toast");
    ShowWindow(LogListView(), SW_SHOW);
}

TEST_F(LogView, QuantityEditorOpensOnlyOnAnEntrysQuantityCell) {
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    Click(1, 1);  // the TOTAL row
    EXPECT_EQ(QuantityEditor(), nullptr);
    Click(0, 0);
    EXPECT_EQ(QuantityEditor(), nullptr);
    Click(0, 3);
    EXPECT_EQ(QuantityEditor(), nullptr);
    Click(0, 1);
    HWND editor = QuantityEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetParent(editor), LogListView());
    EXPECT_EQ(TextOf(editor), "1.00");
    DWORD selection = static_cast<DWORD>(SendMessageA(editor, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 4);
    EXPECT_EQ(GetFocus(), editor);
    RECT cell = {};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    SendMessageA(LogListView(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    RECT placed;
    GetWindowRect(editor, &placed);
    MapWindowPoints(nullptr, LogListView(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(EqualRect(&cell, &placed));
    // A second click while editing opens no second editor.
    Click(0, 1);
    EXPECT_NE(QuantityEditor(), editor);
}

TEST_F(LogView, EnterWithTheTextUnchangedChangesNothing) {
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    ClearModified();
    Click(0, 1);
    HWND editor = QuantityEditor();
    ASSERT_NE(editor, nullptr);
    SendMessageA(editor, WM_CHAR, VK_RETURN, 1);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(QuantityEditor(), nullptr);
    EXPECT_EQ(IsModified(), 0);
    EXPECT_EQ(LogCell(0, 1), "1.00");
}

TEST_F(LogView, TypedQuantitiesRecomputeTheEntryAndTheTotal) {
    struct Case {
        const char* typed;
        const char* shown;
        const char* protein;
    } const cases[] = {
        {"2", "2.00", "3.859"},    {"abc", "0.00", "0.000"}, {"1.5xyz", "1.50", "2.894"},
        {"-1", "-1.00", "-1.929"},  // -1929.5: half-up rounds toward the larger value
        {" 3", "3.00", "5.789"},
    };
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    for (const Case& c : cases) {
        ClearModified();
        Click(0, 1);
        HWND editor = QuantityEditor();
        ASSERT_NE(editor, nullptr) << c.typed;
        Type(editor, c.typed);  // replaces the selected text
        SendMessageA(editor, WM_CHAR, VK_RETURN, 1);
        EXPECT_EQ(QuantityEditor(), nullptr);
        EXPECT_EQ(IsModified(), 1) << c.typed;
        ASSERT_EQ(LogRows(), 2);
        EXPECT_EQ(LogCell(0, 1), c.shown) << c.typed;
        EXPECT_EQ(LogCell(0, 4), c.protein) << c.typed;
        EXPECT_EQ(LogCell(1, 4), c.protein) << c.typed;
    }
}

TEST_F(LogView, LosingTheFocusEndsTheEditToo) {
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    Click(0, 1);
    HWND editor = QuantityEditor();
    ASSERT_NE(editor, nullptr);
    Type(editor, "4");
    SetFocus(window_);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(LogCell(0, 1), "4.00");
    EXPECT_EQ(EntryAt(0).quantity, 4.0f);
}

TEST_F(LogView, AnEditWhoseRowWentAwayIsDiscarded) {
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    Add(kUsdaLine, "3", kMeasureFirst, kSourceUsda);
    Click(1, 1);
    HWND editor = QuantityEditor();
    ASSERT_NE(editor, nullptr);
    Type(editor, "9");
    // The log loses its second entry while the editor is open.
    ASSERT_EQ(RemoveEntry(1), 1);
    RefreshLogRows();
    RefreshTotalRow();
    ClearModified();
    SendMessageA(editor, WM_CHAR, VK_RETURN, 1);
    EXPECT_EQ(QuantityEditor(), nullptr);
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(EntryAt(0).quantity, 1.0f);
    EXPECT_EQ(IsModified(), 0);
}

TEST_F(LogView, KeysOtherThanDeleteDoNothing) {
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    Add(kUsdaLine, "2", kMeasureFirst, kSourceUsda);
    Click(0, 0);
    ASSERT_TRUE(Selected(0));
    for (WPARAM key : {WPARAM{VK_DOWN}, WPARAM{VK_UP}, WPARAM{VK_NEXT}, WPARAM{VK_PRIOR}, WPARAM{VK_END},
                       WPARAM{VK_HOME}, WPARAM{VK_SPACE}, WPARAM{'A'}}) {
        PressKey(key);
        EXPECT_TRUE(Selected(0)) << key;
        EXPECT_FALSE(Selected(1)) << key;
    }
    EXPECT_EQ(SendMessageA(LogListView(), WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

TEST_F(LogView, DeleteAsksAndMovesTheLaterEntriesUp) {
    MessageBoxRecorder boxes;
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    Add(kUsdaLine, "2", kMeasureSecond, kSourceUsda);
    Add(kMyLine, "3", kMeasureFirst, kSourceMyFoods);
    std::string second = LogCell(1, 4), third = LogCell(2, 4);
    Click(0, 0);
    ASSERT_TRUE(Selected(0));
    boxes.QueueAnswer(IDNO);
    PressKey(VK_DELETE);
    ASSERT_TRUE(OneMessage(
            boxes, "Are you sure you want to delete this entry?", "", MB_YESNO, LogListView()));
    EXPECT_EQ(EntryCount(), 3);
    ClearModified();
    boxes.QueueAnswer(IDYES);
    PressKey(VK_DELETE);
    EXPECT_EQ(EntryCount(), 2);
    EXPECT_EQ(IsModified(), 1);
    ASSERT_EQ(LogRows(), 3);
    EXPECT_EQ(LogCell(0, 1), "2.00");
    EXPECT_EQ(LogCell(0, 2), "tbsp");
    EXPECT_EQ(LogCell(0, 4), second);
    EXPECT_EQ(LogCell(1, 0), "Toast");
    EXPECT_EQ(LogCell(1, 4), third);
    EXPECT_EQ(LogCell(2, 0), "   TOTAL");
}

TEST_F(LogView, DeleteNeedsASelectedEntryRowUnderTheLastClick) {
    MessageBoxRecorder boxes;
    PressKey(VK_DELETE);  // an empty log, no click yet
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    PressKey(VK_DELETE);  // no click in the log yet
    Click(1, 0);          // the TOTAL row
    PressKey(VK_DELETE);
    Click(0, 3);  // an entry, then its selection taken away
    Select(0);
    LVITEMA clear = {};
    clear.stateMask = LVIS_SELECTED;
    SendMessageA(LogListView(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&clear));
    PressKey(VK_DELETE);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(EntryCount(), 1);
    // Deleting the only entry leaves no TOTAL row.
    Click(0, 3);
    Select(0);
    boxes.QueueAnswer(IDYES);
    PressKey(VK_DELETE);
    EXPECT_EQ(EntryCount(), 0);
    EXPECT_EQ(LogRows(), 0);
}

TEST_F(LogView, TheDeleteKeyInTheEditorEditsTheText) {
    MessageBoxRecorder boxes;
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    Click(0, 1);
    HWND editor = QuantityEditor();
    ASSERT_NE(editor, nullptr);
    SendMessageA(editor, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(TextOf(editor), "");
}

TEST_F(LogView, LabelEditingOfADescriptionIsRejected) {
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    SetFocus(LogListView());
    HWND label = reinterpret_cast<HWND>(SendMessageA(LogListView(), LVM_EDITLABELA, 0, 0));
    ASSERT_NE(label, nullptr);
    SetWindowTextA(label, "Renamed");
    SendMessageA(label, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages();
    EXPECT_EQ(LogCell(0, 0), "~TEST APPLE~");
    EXPECT_STREQ(EntryAt(0).name, "~TEST APPLE~");
}

// What the tip says with the mouse over a cell: the whole description where the column cuts it off,
// nothing anywhere else.
TEST_F(LogView, ACutOffDescriptionShowsWholeInItsTip) {
    Add(kUsdaLine, "1", kMeasureFirst, kSourceUsda);
    // The Description column's width, the cell under the mouse, and the tip's text there.
    const struct {
        int width, row, column;
        std::string tip;
    } cases[] = {{40, 0, 0, LogCell(0, 0)}, {40, 0, 1, ""}, {400, 0, 0, ""}, {20, 1, 0, LogCell(1, 0)}};
    for (const auto& c : cases) {
        SendMessageA(LogListView(), LVM_SETCOLUMNWIDTH, 0, c.width);
        POINT p = CellCenter(c.row, c.column);
        SendMessageA(LogListView(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        NMTTDISPINFOA request = {};
        request.hdr = {DescriptionTip(), 0, TTN_GETDISPINFOA};
        SendMessageA(LogListView(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        EXPECT_STREQ(request.lpszText, c.tip.c_str()) << c.width << " " << c.row << "," << c.column;
    }
}

}  // namespace
