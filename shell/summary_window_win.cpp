#include "shell/summary_window_win.h"

#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "logdoc/day_summary.h"
#include "platform/file_dialog_win.h"
#include "platform/file_io.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "platform/same_file.h"
#include "platform/window_win.h"
#include "printing/day_chart.h"
#include "printing/draw_steps_win.h"
#include "printing/print_job_win.h"
#include "printing/summary_bars.h"
#include "resources/resource.h"
#include "shell/chosen_files.h"
#include "shell/document_win.h"

static INT_PTR CALLBACK SummaryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

constexpr char kCsvFilter[] = "CSV Files (*.CSV)\0*.csv\0All Files (*.*)\0*.*\0";
constexpr char kChooseTitle[] = "Summary of Days: Choose the Logs";
constexpr char kSaveCsvTitle[] = "Save the Summary as CSV";
constexpr int kLogColumnWidth = 130;
constexpr int kEntriesColumnWidth = 95;  // "could not be read" fits
constexpr int kButtonGap = 6;
constexpr SIZE kMinimumSize = {560, 520};
constexpr int kChartShareTenths = 5;  // of the height the table and the chart share
// The folder and, for the largest summary, a thousand names of the longest kind, each with its NUL.
constexpr size_t kChoiceSize = static_cast<size_t>(kMaxSummaryDays + 1) * MAX_PATH + 1;

size_t g_choiceSize;

struct SummaryWindow {
    DaySummary summary;
    int viewMode;
    int columns;
    std::vector<std::string> cells;  // row by row, in the view mode
    std::vector<int> columnSlots;    // the nutrient slot of each column, -1 for Log and Entries
    int chartSlot = kCalories;       // the nutrient the chart shows: at first the table's first
};

SummaryWindow* StateOf(HWND dialog) {
    return reinterpret_cast<SummaryWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void ShowWarning(HWND owner, const char* text) {
    ShowMessageBox(owner, text, kSummaryCaption, MB_ICONWARNING);
}

void ShowPathWarning(HWND owner, const char* format, const char* path) {
    char text[MAX_PATH + 128];
    std::snprintf(text, sizeof text, format, path);
    ShowWarning(owner, text);
}

// The Open dialog for several logs; 0 when nothing usable was chosen (the user was told why).
int ChooseLogs(HWND owner, std::vector<std::string>* paths) {
    const size_t size = g_choiceSize ? g_choiceSize : kChoiceSize;
    std::unique_ptr<char[]> answer(new (std::nothrow) char[size]());
    if (!answer) return 0;
    OPENFILENAMEA record = FileDialogRecord(
        owner, kLogFileFilter, kLogExtension, kChooseTitle, answer.get(), static_cast<DWORD>(size),
        OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
    if (!GetOpenFileNameA(&record)) {
        // The dialog then leaves in the buffer only the size it wanted, never a list to take part of.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) ShowWarning(owner, kNamesDoNotFitMessage);
        return 0;
    }
    switch (SplitChosenFiles(answer.get(), size, paths)) {
        case ChosenFiles::kOk:
            return 1;
        case ChosenFiles::kTooMany:
            ShowWarning(owner, kTooManyLogsMessage);
            return 0;
        case ChosenFiles::kCut:
            ShowWarning(owner, kNamesDoNotFitMessage);
            return 0;
        default:
            return 0;
    }
}

HWND ListOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_SUMMARY_LIST);
}

// The columns, and the nutrient each shows; the chart's list names the same nutrients in the same order.
void InsertColumns(HWND dialog, SummaryWindow* window) {
    HWND list = ListOf(dialog);
    HWND nutrients = GetDlgItem(dialog, IDC_SUMMARY_NUTRIENT);
    int widths[kFieldPositions] = {kLogColumnWidth, kEntriesColumnWidth};
    int count = 2;
    window->columnSlots.assign(2, -1);
    for (int position = kFirstNutrientPosition; position < kFieldPositions; ++position) {
        if (!IsPositionChosen(position, ColumnChoice::kColumnSet)) continue;
        widths[count++] = kColumnWidths[position];
        const int slot = position - kFirstNutrientPosition;
        window->columnSlots.push_back(slot);
        LRESULT item = SendMessageA(nutrients, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NutrientName(slot).c_str()));
        if (item >= 0) SendMessageA(nutrients, CB_SETITEMDATA, item, slot);
    }
    for (int column = 0; column < count; ++column) {
        LVCOLUMNA item = {};
        item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        item.fmt = column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        item.cx = widths[column];
        item.pszText = const_cast<char*>("");
        item.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
}

// The chart shows the nutrient, and the list names it.
void ChartNutrient(HWND dialog, SummaryWindow* window, int slot) {
    window->chartSlot = slot;
    HWND nutrients = GetDlgItem(dialog, IDC_SUMMARY_NUTRIENT);
    const LRESULT count = SendMessageA(nutrients, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item)
        if (SendMessageA(nutrients, CB_GETITEMDATA, item, 0) == slot) SendMessageA(nutrients, CB_SETCURSEL, item, 0);
    InvalidateRect(GetDlgItem(dialog, IDC_SUMMARY_CHART), nullptr, TRUE);
}

// The headers and every cell in the window's view mode; the list asks for the texts as it draws them.
void ShowView(HWND dialog, SummaryWindow* window) {
    HWND list = ListOf(dialog);
    LogRowTexts row;
    FormatSummaryHeaders(window->viewMode, ColumnChoice::kColumnSet, &row);
    for (int column = 0; column < row.count; ++column) {
        // With its format, or the header forgets its alignment.
        LVCOLUMNA item = {};
        item.mask = LVCF_TEXT | LVCF_FMT;
        item.fmt = column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        item.pszText = row.cells[column];
        SendMessageA(list, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
    const int rows = static_cast<int>(window->summary.days.size()) + 1;
    window->cells.clear();
    window->cells.reserve(static_cast<size_t>(rows) * window->columns);
    for (int r = 0; r < rows; ++r) {
        FormatSummaryRow(window->summary, r, window->viewMode, ColumnChoice::kColumnSet, &row);
        for (int column = 0; column < window->columns; ++column)
            window->cells.emplace_back(column < row.count ? row.cells[column] : "");
    }
    SendMessageA(list, LVM_SETITEMCOUNT, rows, 0);
    InvalidateRect(list, nullptr, TRUE);
    InvalidateRect(GetDlgItem(dialog, IDC_SUMMARY_CHART), nullptr, TRUE);
    CheckRadioButton(dialog, IDC_SUMMARY_PERCENT, IDC_SUMMARY_AMOUNTS,
                     window->viewMode == kPercentView ? IDC_SUMMARY_PERCENT : IDC_SUMMARY_AMOUNTS);
}

const char* CellText(const SummaryWindow& window, int row, int column) {
    if (row < 0 || column < 0 || column >= window.columns) return "";
    size_t at = static_cast<size_t>(row) * window.columns + column;
    return at < window.cells.size() ? window.cells[at].c_str() : "";
}

LRESULT OnDispInfo(HWND dialog, NMHDR* header) {
    const SummaryWindow* window = StateOf(dialog);
    if (!window) return 0;
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
            lstrcpynA(item.pszText, CellText(*window, item.iItem, item.iSubItem), item.cchTextMax);
    } else {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
            if (!MultiByteToWideChar(CP_ACP, 0, CellText(*window, item.iItem, item.iSubItem), -1,
                                     item.pszText, item.cchTextMax))
                item.pszText[0] = L'\0';
            item.pszText[item.cchTextMax - 1] = L'\0';
        }
    }
    return 0;
}

HGDIOBJ FontOf(HWND dialog) {
    return reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0));
}

int LineHeight(HWND dialog, HDC dc) {
    SelectedObject font(dc, FontOf(dialog));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}

RECT ChildRect(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Move(HWND dialog, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The bars keep their height over the row of buttons; the table and the chart share what is left.
void Layout(HWND dialog) {
    RECT client = {};
    GetClientRect(dialog, &client);
    RECT margin = {7, 7, 0, 0};
    MapDialogRect(dialog, &margin);
    const int m = margin.left;
    RECT button = ChildRect(dialog, IDCANCEL);
    const int buttonWidth = button.right - button.left;
    const int buttonHeight = button.bottom - button.top;
    const int buttonTop = client.bottom - m - buttonHeight;
    int x = client.right - m - buttonWidth;
    for (int id : {IDCANCEL, IDC_SUMMARY_PRINT, IDC_SUMMARY_SAVE_CSV}) {
        Move(dialog, id, x, buttonTop, buttonWidth, buttonHeight);
        x -= buttonWidth + kButtonGap;
    }
    int left = m;
    for (int id : {IDC_SUMMARY_PERCENT, IDC_SUMMARY_AMOUNTS, IDC_SUMMARY_NUTRIENT_LABEL}) {
        RECT control = ChildRect(dialog, id);
        int width = control.right - control.left;
        int height = control.bottom - control.top;
        Move(dialog, id, left, buttonTop + (buttonHeight - height) / 2, width, height);
        left += width + kButtonGap;
    }
    // A drop-down list's window reaches down over its list; its field lines up with the buttons.
    RECT dropped = {};
    SendDlgItemMessageA(dialog, IDC_SUMMARY_NUTRIENT, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    Move(dialog, IDC_SUMMARY_NUTRIENT, left, buttonTop, dropped.right - dropped.left, dropped.bottom - dropped.top);

    WindowDC dc(dialog);
    const int barsHeight = dc.get() ? SummaryBarsHeight(LineHeight(dialog, dc.get()), kSummaryBarColumns) : 0;
    const int width = client.right - 2 * m;
    const int barsTop = buttonTop - m - barsHeight;
    Move(dialog, IDC_SUMMARY_BARS, m, barsTop, width, barsHeight);
    RECT caption = ChildRect(dialog, IDC_SUMMARY_BARS_LABEL);
    const int captionHeight = caption.bottom - caption.top;
    const int captionTop = barsTop - m / 2 - captionHeight;
    Move(dialog, IDC_SUMMARY_BARS_LABEL, m, captionTop, width, captionHeight);
    const int shared = captionTop - m - m / 2 - m;
    const int chartHeight = shared * kChartShareTenths / 10;
    const int listHeight = shared - chartHeight;
    Move(dialog, IDC_SUMMARY_LIST, m, m, width, listHeight);
    Move(dialog, IDC_SUMMARY_CHART, m, m + listHeight + m / 2, width, chartHeight);
    // The dialog paints its background over its children, so every one of them is drawn again after it.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The bars or the chart, in the dialog's font, as the printout draws them.
void DrawSummary(HWND dialog, const DRAWITEMSTRUCT& item) {
    const SummaryWindow* window = StateOf(dialog);
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    if (!window) return;
    SelectedObject font(dc, FontOf(dialog));
    TEXTMETRICA text = {};
    GetTextMetricsA(dc, &text);
    const RECT& r = item.rcItem;
    DrawingArea area = {{r.left, r.top, r.right, r.bottom}, text.tmHeight, [dc](const std::string& label) {
                            SIZE size = {};
                            GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &size);
                            return static_cast<int>(size.cx);
                        }};
    std::vector<PrintStep> steps;
    if (item.CtlID == IDC_SUMMARY_CHART) {
        LayOutDayChart(window->summary, window->chartSlot, window->viewMode, area, &steps);
    } else {
        LayOutSummaryBars(window->summary.average[kPercentView], area, &steps);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    StepPainter painter(dc, 1);
    if (!painter.Ready()) return;
    for (const PrintStep& step : steps)
        painter.Draw(step);
}

void SaveCsv(HWND dialog, const SummaryWindow& window) {
    char path[MAX_PATH] = "";
    OPENFILENAMEA record = FileDialogRecord(dialog, kCsvFilter, "csv", kSaveCsvTitle, path, sizeof path,
                                            OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
    if (!GetSaveFileNameA(&record)) return;
    for (const SummaryDay& day : window.summary.days) {
        if (IsSameFile(day.path.c_str(), path)) {
            ShowPathWarning(dialog, kCsvOverLogFormat, path);
            return;
        }
    }
    std::string csv;
    FormatSummaryCsv(window.summary, window.viewMode, ColumnChoice::kColumnSet, &csv);
    if (!ReplaceFileContents(path, csv.data(), csv.size())) ShowPathWarning(dialog, kCouldNotWriteFormat, path);
}

void Print(HWND dialog, const SummaryWindow& window) {
    char title[128] = "";
    GetWindowTextA(dialog, title, sizeof title);
    char caption[128] = "";
    GetDlgItemTextA(dialog, IDC_SUMMARY_BARS_LABEL, caption, sizeof caption);
    const SummaryDrawing drawing = {&window.summary, window.chartSlot, window.viewMode, caption};
    PrintedTable table = {ListOf(dialog), window.columns, static_cast<int>(window.summary.days.size()), &drawing};
    if (!PrintTable(dialog, table, title)) ShowWarning(dialog, kSummaryPrintFailed);
}

INT_PTR OnInitDialog(HWND dialog, SummaryWindow* window) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(window));
    SetWindowTextA(dialog, SummaryTitle(window->summary).c_str());
    HWND list = ListOf(dialog);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    window->columns = SummaryColumnCount(ColumnChoice::kColumnSet);
    InsertColumns(dialog, window);
    if (window->columnSlots.size() > 2) window->chartSlot = window->columnSlots[2];
    ChartNutrient(dialog, window, window->chartSlot);
    ShowView(dialog, window);
    Layout(dialog);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    SummaryWindow* window = StateOf(dialog);
    switch (LOWORD(wParam)) {
        case IDC_SUMMARY_PERCENT:
        case IDC_SUMMARY_AMOUNTS:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            window->viewMode = LOWORD(wParam) == IDC_SUMMARY_PERCENT ? kPercentView : kAmountsView;
            ShowView(dialog, window);
            return TRUE;
        case IDC_SUMMARY_NUTRIENT: {
            if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
            HWND nutrients = GetDlgItem(dialog, IDC_SUMMARY_NUTRIENT);
            LRESULT item = SendMessageA(nutrients, CB_GETCURSEL, 0, 0);
            if (item >= 0) ChartNutrient(dialog, window, static_cast<int>(SendMessageA(nutrients, CB_GETITEMDATA, item, 0)));
            return TRUE;
        }
        case IDC_SUMMARY_SAVE_CSV:
            SaveCsv(dialog, *window);
            return TRUE;
        case IDC_SUMMARY_PRINT:
            Print(dialog, *window);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, IDOK);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

static INT_PTR CALLBACK SummaryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<SummaryWindow*>(lParam));
        case WM_SIZE:
            Layout(dialog);
            return TRUE;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kMinimumSize.cx, kMinimumSize.cy};
            return TRUE;
        case WM_NOTIFY: {
            NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->idFrom != IDC_SUMMARY_LIST) return FALSE;
            if (header->code == LVN_GETDISPINFOA || header->code == LVN_GETDISPINFOW) return OnDispInfo(dialog, header);
            SummaryWindow* window = StateOf(dialog);
            if (header->code == LVN_COLUMNCLICK && window) {
                // A nutrient's header charts it; Log and Entries have none.
                const size_t column = static_cast<size_t>(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
                if (column < window->columnSlots.size() && window->columnSlots[column] >= 0)
                    ChartNutrient(dialog, window, window->columnSlots[column]);
                return TRUE;
            }
            return FALSE;
        }
        case WM_DRAWITEM:
            if (wParam != IDC_SUMMARY_BARS && wParam != IDC_SUMMARY_CHART) return FALSE;
            DrawSummary(dialog, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            return StateOf(dialog) ? OnCommand(dialog, wParam) : FALSE;
        default:
            return FALSE;
    }
}

void SetSummaryChoiceSize(size_t size) {
    g_choiceSize = size;
}

INT_PTR ShowDaySummaryOf(HWND owner, const std::vector<std::string>& paths) {
    if (TooManyDays(paths.size())) {
        ShowWarning(owner, kTooManyLogsMessage);
        return 0;
    }
    std::unique_ptr<SummaryWindow> window(new (std::nothrow) SummaryWindow);
    if (!window) return 0;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    int made = SummarizeDays(paths, kBothSummaryViews, &window->summary);
    SetCursor(previous);
    if (!made) {
        ShowWarning(owner, kNoDayReadMessage);
        return 0;
    }
    if (window->summary.readableDays == 0) {
        ShowWarning(owner, kNoDayReadMessage);
        return 0;
    }
    window->viewMode = ViewMode();
    return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SUMMARY), owner, SummaryProc,
                           reinterpret_cast<LPARAM>(window.get()));
}

LRESULT ShowDaySummary(HWND owner) {
    std::vector<std::string> paths;
    if (ChooseLogs(owner, &paths)) ShowDaySummaryOf(owner, paths);
    return 0;
}
