#include "printing/print_job_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foodlog/log_columns.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"
#include "printing/draw_steps_win.h"
#include "resources/resource.h"

static void ReadTableColumns(const PrintedTable& table, HDC printer, std::vector<PrintColumn>* columns);
static int PrintTableOn(HWND owner, const PrintedTable& table, const char* documentTitle,
                        const PrinterChoice& choice);

static INT_PTR CALLBACK PrintingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Keeps the window thread's messages flowing during the job; zero once the user cancelled.
static BOOL CALLBACK PrintAbortProc(HDC dc, int error);

namespace {

constexpr char kPrinterFace[] = "arial";
constexpr int kPrinterFontTenths = 100;
constexpr int kRuleWidth = 8;
constexpr int kCaptionSize = 324;
constexpr int kTextSize = 256;

const PrintSystem kSystemPrinting = {PrintDlgA, StartDocA, StartPage, EndPage, EndDoc, AbortDoc};
const PrintSystem* g_printSystem = &kSystemPrinting;

int g_abortPrinting;
HWND g_printingDialog;

int TextWidth(HDC dc, const char* text) {
    SIZE size = {};
    if (!GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size)) return 0;
    return size.cx;
}

int ScreenCharWidth(HWND listView) {
    WindowDC screen(listView);
    if (!screen.get()) return 0;
    SelectedObject font(screen.get(), GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics = {};
    if (!GetTextMetricsA(screen.get(), &metrics)) return 0;
    return metrics.tmAveCharWidth;
}

// Runs the steps; stops at the first page the printer refuses and at a Cancel, which the messages
// pumped before each page bring in, since some printing systems call the abort procedure only
// while the document starts.
int ReplaySteps(HDC printer, const StepPainter& painter, const std::vector<PrintStep>& steps) {
    for (const PrintStep& step : steps) {
        switch (step.kind) {
            case PrintStepKind::kStartPage:
                PrintAbortProc(printer, 0);
                if (g_abortPrinting) return 0;
                if (g_printSystem->startPage(printer) <= 0) return 0;
                break;
            case PrintStepKind::kEndPage:
                if (g_printSystem->endPage(printer) <= 0) return 0;
                break;
            default:
                painter.Draw(step);
                break;
        }
    }
    PrintAbortProc(printer, 0);
    return !g_abortPrinting;
}

HWND OpenPrintingDialog(HWND mainWindow, const char* documentTitle) {
    HWND dialog = CreateDialogParamA(AppInstance(), IDD_PRINTING, mainWindow, PrintingDialogProc, 0);
    if (!dialog) return nullptr;
    SetDlgItemTextA(dialog, IDC_PRINT_TITLE, documentTitle ? documentTitle : "");
    // The template is hidden; shown, its Cancel can end the job.
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    return dialog;
}

// The log as the list view shows it: its entries, and the TOTAL row after them.
PrintedTable LogTable(HWND listView, int entryCount) {
    return {listView, CountLogColumns(), entryCount};
}

int RunJob(HWND mainWindow, HDC printer, const StepPainter& painter, const std::vector<PrintStep>& steps) {
    char caption[kCaptionSize] = "";
    GetWindowTextA(mainWindow, caption, sizeof caption);
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = caption;
    if (g_printSystem->startDoc(printer, &document) <= 0) return 0;
    if (!ReplaySteps(printer, painter, steps)) {
        // Left open, the spooler would print the pages so far once the context goes.
        g_printSystem->abortDoc(printer);
        return 0;
    }
    return g_printSystem->endDoc(printer) > 0;
}

}  // namespace

void SetPrintSystem(const PrintSystem* system) {
    g_printSystem = system ? system : &kSystemPrinting;
}

HWND PrintingDialog() {
    return g_printingDialog;
}

HFONT CreatePrinterFont(HDC dc, const char* face, int tenthsOfPoint) {
    SavedDC saved(dc);
    SetGraphicsMode(dc, GM_ADVANCED);
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    const int perInchY = GetDeviceCaps(dc, LOGPIXELSY);
    POINT height = {0, static_cast<int>(static_cast<double>(tenthsOfPoint) * perInchY / 72.0)};
    DPtoLP(dc, &height, 1);
    LOGFONTA font = {};
    font.lfHeight = -static_cast<int>(std::fabs(static_cast<double>(height.y)) / 10.0 + 0.5);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

static INT_PTR CALLBACK PrintingDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
            return TRUE;
        case WM_COMMAND:
            g_abortPrinting = 1;
            EnableWindow(GetWindow(dialog, GW_OWNER), TRUE);
            DestroyWindow(dialog);
            g_printingDialog = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

static BOOL CALLBACK PrintAbortProc(HDC, int) {
    MSG message;
    while (!g_abortPrinting && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The program's own loop must still see it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (g_printingDialog && IsDialogMessageA(g_printingDialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return !g_abortPrinting;
}

PrintMetrics ReadPrintMetrics(HDC printer, HWND listView) {
    PrintMetrics metrics = {};
    TEXTMETRICA text = {};
    if (GetTextMetricsA(printer, &text)) {
        metrics.lineHeight = text.tmHeight + text.tmExternalLeading;
        metrics.printerCharWidth = text.tmAveCharWidth;
    }
    metrics.pageWidth = GetDeviceCaps(printer, HORZRES);
    metrics.pageHeight = GetDeviceCaps(printer, VERTRES);
    metrics.screenCharWidth = ScreenCharWidth(listView);
    return metrics;
}

void ReadLogColumns(HWND listView, HDC printer, int entryCount, std::vector<PrintColumn>* columns) {
    ReadTableColumns(LogTable(listView, entryCount), printer, columns);
}

// The table's columns as its list view shows them, every text measured on the printer context.
static void ReadTableColumns(const PrintedTable& table, HDC printer, std::vector<PrintColumn>* columns) {
    const HWND listView = table.listView;
    const int count = table.columnCount;
    const int entryCount = table.bodyRows;
    columns->assign(static_cast<size_t>(count), PrintColumn{});
    char text[kTextSize];
    for (int c = 0; c < count; ++c) {
        PrintColumn& column = (*columns)[static_cast<size_t>(c)];
        text[0] = '\0';
        LVCOLUMNA header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.pszText = text;
        header.cchTextMax = sizeof text;
        SendMessageA(listView, LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&header));
        text[sizeof text - 1] = '\0';
        column.header = {text, TextWidth(printer, text)};
        column.screenWidth = header.cx;
        column.cells.reserve(static_cast<size_t>(entryCount) + 1);
        // The TOTAL row is the list view's row after the last entry.
        for (int m = 0; m <= entryCount; ++m) {
            text[0] = '\0';
            LVITEMA item = {};
            item.iSubItem = c;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(listView, LVM_GETITEMTEXTA, m, reinterpret_cast<LPARAM>(&item));
            text[sizeof text - 1] = '\0';
            column.cells.push_back({text, TextWidth(printer, text)});
        }
    }
}

int PrintLogOn(HWND mainWindow, const char* documentTitle, const PrinterChoice& choice) {
    return PrintTableOn(mainWindow, LogTable(LogListView(), EntryCount()), documentTitle, choice);
}

// The job on a chosen printer, everything after the Print dialog.
static int PrintTableOn(HWND owner, const PrintedTable& table, const char* documentTitle,
                        const PrinterChoice& choice) {
    UniqueDC printer(choice.dc);
    if (!printer) return 1;
    const int entryCount = table.bodyRows;
    if (entryCount <= 0) return 1;

    SetMapMode(printer.get(), MM_TEXT);
    UniqueFont font(CreatePrinterFont(printer.get(), kPrinterFace, kPrinterFontTenths));
    if (!font) return 0;
    SelectedObject fontSelection(printer.get(), font.get());
    StepPainter painter(printer.get(), kRuleWidth);
    if (!painter.Ready()) return 0;

    HWND listView = table.listView;
    std::vector<PrintColumn> columns;
    ReadTableColumns(table, printer.get(), &columns);
    const PrintMetrics metrics = ReadPrintMetrics(printer.get(), listView);
    std::vector<PrintStep> steps;
    if (table.below) {
        // A pass with the drawing under its table, as many times as there are copies.
        std::vector<PrintStep> pass;
        if (!LayOutPass(columns, entryCount, metrics, &pass)) return 0;
        HDC dc = printer.get();
        AppendUnderTable(*table.below, entryCount, metrics,
                         [dc](const std::string& text) { return TextWidth(dc, text.c_str()); }, &pass);
        for (int copy = 0; copy < std::max(1, choice.copies); ++copy)
            steps.insert(steps.end(), pass.begin(), pass.end());
    } else if (!LayOutJob(columns, entryCount, metrics, choice.copies, &steps)) {
        return 0;
    }

    EnableWindow(owner, FALSE);
    g_abortPrinting = 0;
    g_printingDialog = OpenPrintingDialog(owner, documentTitle);
    SetAbortProc(printer.get(), PrintAbortProc);
    int printed = RunJob(owner, printer.get(), painter, steps);
    if (!g_abortPrinting) {
        // Enabled first, so that the owner is the window activated when the dialog goes.
        EnableWindow(owner, TRUE);
        if (g_printingDialog) DestroyWindow(g_printingDialog);
    }
    g_printingDialog = nullptr;
    return printed && !g_abortPrinting;
}

int PrintLog(HWND mainWindow, const char* documentTitle) {
    return PrintTable(mainWindow, LogTable(LogListView(), EntryCount()), documentTitle);
}

int PrintTable(HWND owner, const PrintedTable& table, const char* documentTitle) {
    PRINTDLGA record = {};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.Flags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    record.nCopies = 1;
    BOOL chosen = g_printSystem->printDialog(&record);
    // The dialog's device records are the caller's to free; nothing keeps them between two prints.
    UniqueGlobal devMode(record.hDevMode);
    UniqueGlobal devNames(record.hDevNames);
    if (!chosen || !record.hDC) {
        if (record.hDC) DeleteDC(record.hDC);
        return 1;
    }
    return PrintTableOn(owner, table, documentTitle, {record.hDC, record.nCopies});
}
