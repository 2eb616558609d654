// The print job on an enhanced-metafile context: what lands on the page, the GDI objects it leaves
// behind (none) on every path, the Printing dialog's Cancel, and the Print command's messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "platform/handles_win.h"
#include "printing/print_job_win.h"
#include "resources/resource.h"
#include "tests/shell/gui_harness_win.h"

namespace {

// What the fake printing system saw of one job, and how it is to answer.
struct Spool {
    int startDocs = 0, startPages = 0, endPages = 0, endDocs = 0, abortDocs = 0;
    int failStartDoc = 0;
    int failStartPage = 0;  // the number of the page whose start fails (1-based), 0 for none
    int failEndPage = 0;
    int cancelOnPage = 0;  // Cancel is pressed in the Printing dialog as this page starts
    BOOL mainWindowEnabledDuringJob = TRUE;
    BOOL dialogShown = FALSE;
    std::string dialogTitle;
    std::string documentName;
    HGDIOBJ font = nullptr;
    HGDIOBJ pen = nullptr;
    EXTLOGPEN penData = {};
    HENHMETAFILE metafile = nullptr;
    bool dialogCancelled = false;
    bool noPrinter = false;  // the dialog answers as the system's does on a machine without a printer
    HGLOBAL devMode = nullptr;
    HDC dc = nullptr;
    int copies = 1;
    DWORD flags = 0;
    HWND owner = nullptr;
};
Spool* g_spool;

BOOL WINAPI FakePrintDialog(LPPRINTDLGA record) {
    g_spool->flags = record->Flags;
    g_spool->owner = record->hwndOwner;
    // It shows its own note that no printer is installed and hands nothing back.
    if (g_spool->noPrinter) return FALSE;
    // A dialog hands its device records to the caller, who frees them.
    record->hDevMode = GlobalAlloc(GMEM_MOVEABLE, 64);
    g_spool->devMode = record->hDevMode;
    if (g_spool->dialogCancelled) return FALSE;
    record->hDC = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    g_spool->dc = record->hDC;
    record->nCopies = static_cast<WORD>(g_spool->copies);
    return record->hDC != nullptr;
}
int WINAPI FakeStartDoc(HDC dc, const DOCINFOA* document) {
    ++g_spool->startDocs;
    g_spool->documentName = document->lpszDocName ? document->lpszDocName : "";
    g_spool->font = GetCurrentObject(dc, OBJ_FONT);
    g_spool->pen = GetCurrentObject(dc, OBJ_PEN);
    GetObjectA(g_spool->pen, sizeof g_spool->penData, &g_spool->penData);
    HWND dialog = PrintingDialog();
    g_spool->dialogShown = dialog && IsWindowVisible(dialog);
    char title[256] = "";
    if (dialog) GetDlgItemTextA(dialog, IDC_PRINT_TITLE, title, sizeof title);
    g_spool->dialogTitle = title;
    g_spool->mainWindowEnabledDuringJob = IsWindowEnabled(g_spool->owner);
    return g_spool->failStartDoc ? SP_ERROR : 1;
}
int WINAPI FakeStartPage(HDC) {
    ++g_spool->startPages;
    if (g_spool->cancelOnPage == g_spool->startPages && PrintingDialog())
        PostMessageA(GetDlgItem(PrintingDialog(), IDCANCEL), BM_CLICK, 0, 0);
    return g_spool->failStartPage == g_spool->startPages ? SP_ERROR : 1;
}
int WINAPI FakeEndPage(HDC) {
    ++g_spool->endPages;
    return g_spool->failEndPage == g_spool->endPages ? SP_ERROR : 1;
}
int WINAPI FakeEndDoc(HDC dc) {
    ++g_spool->endDocs;
    g_spool->metafile = CloseEnhMetaFile(dc);
    return 1;
}
int WINAPI FakeAbortDoc(HDC) {
    ++g_spool->abortDocs;
    return 1;
}
const PrintSystem kFakeSystem = {FakePrintDialog, FakeStartDoc, FakeStartPage, FakeEndPage, FakeEndDoc, FakeAbortDoc};

// A metafile record of the page: a text with its clip, or a rule.
struct Drawn {
    bool text;
    std::string string;
    int x, y, x2, y2;
    RECTL clip;
};
struct Recording {
    std::vector<Drawn> drawn;
    std::vector<std::pair<DWORD, DWORD>> pens;  // style, width
    POINTL position = {};
};

int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    Recording* recording = reinterpret_cast<Recording*>(data);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(record);
    switch (record->iType) {
        case EMR_EXTTEXTOUTA:
        case EMR_EXTTEXTOUTW: {
            const EMREXTTEXTOUTA* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
            Drawn drawn = {true, "", text->emrtext.ptlReference.x, text->emrtext.ptlReference.y, 0, 0,
                           text->emrtext.rcl};
            for (DWORD i = 0; i < text->emrtext.nChars; ++i) {
                if (record->iType == EMR_EXTTEXTOUTA)
                    drawn.string += static_cast<char>(bytes[text->emrtext.offString + i]);
                else
                    drawn.string += static_cast<char>(
                        reinterpret_cast<const WCHAR*>(bytes + text->emrtext.offString)[i]);
            }
            EXPECT_TRUE(text->emrtext.fOptions & ETO_CLIPPED) << drawn.string;
            recording->drawn.push_back(drawn);
            break;
        }
        case EMR_MOVETOEX:
            recording->position = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
            break;
        case EMR_LINETO: {
            POINTL to = reinterpret_cast<const EMRLINETO*>(record)->ptl;
            recording->drawn.push_back({false, "", recording->position.x, recording->position.y, to.x, to.y, {}});
            recording->position = to;
            break;
        }
        case EMR_CREATEPEN: {
            // Some recorders keep a geometric pen of one colour as a plain pen record.
            const EMRCREATEPEN* pen = reinterpret_cast<const EMRCREATEPEN*>(record);
            recording->pens.push_back({pen->lopn.lopnStyle, static_cast<DWORD>(pen->lopn.lopnWidth.x)});
            break;
        }
        case EMR_EXTCREATEPEN: {
            DWORD style, width;
            // The pen's EXTLOGPEN after the record head, the pen index and four bitmap fields.
            std::memcpy(&style, bytes + 28, sizeof style);
            std::memcpy(&width, bytes + 32, sizeof width);
            recording->pens.push_back({style, width});
            break;
        }
        default:
            break;
    }
    return 1;
}

// Wine counts nothing here (it answers 0); the handle checks below hold there.
int GdiObjects() {
    return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

class PrintJob : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        g_spool = &spool_;
        SetPrintSystem(&kFakeSystem);
    }
    void TearDown() override {
        SetPrintSystem(nullptr);
        if (spool_.metafile) DeleteEnhMetaFile(spool_.metafile);
        g_spool = nullptr;
        MainWindowTest::TearDown();
    }
    void AddFoods(int count) {
        for (int i = 0; i < count; ++i) ASSERT_EQ(AddFoodFromData(kRiceLine, 0, "150", 3, kMeasureGrams, kSourceUsda), 1);
        RefreshLogRows();
        RefreshTotalRow();
    }
    // What the job should have drawn, laid out from a context like the one it printed on.
    std::vector<PrintStep> Expected(int copies) {
        UniqueDC dc(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
        SetMapMode(dc.get(), MM_TEXT);
        UniqueFont font(CreatePrinterFont(dc.get(), "arial", 100));
        SelectedObject selected(dc.get(), font.get());
        std::vector<PrintColumn> columns;
        ReadLogColumns(LogListView(), dc.get(), EntryCount(), &columns);
        std::vector<PrintStep> steps;
        EXPECT_EQ(LayOutJob(columns, EntryCount(), ReadPrintMetrics(dc.get(), LogListView()), copies, &steps), 1);
        return steps;
    }
    // The font, the pen and the context of the job are gone.
    void ExpectNothingLeft(int gdiBefore) {
        EXPECT_EQ(GdiObjects(), gdiBefore);
        for (HGDIOBJ object : {spool_.font, spool_.pen, static_cast<HGDIOBJ>(spool_.dc)}) {
            if (object) {
                EXPECT_EQ(GetObjectType(object), 0u);
            }
        }
        if (spool_.devMode) {
            EXPECT_EQ(GlobalSize(spool_.devMode), 0u);
        }
        EXPECT_EQ(PrintingDialog(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(window_));
    }
    Spool spool_;
};

TEST_F(PrintJob, TheMetafileHoldsTheComputedTextsClipsRulesAndPen) {
    AddFoods(3);
    int gdiBefore = GdiObjects();
    EXPECT_EQ(PrintLog(window_, "lunch.mtf"), 1);
    ExpectNothingLeft(gdiBefore);
    EXPECT_EQ(spool_.flags, static_cast<DWORD>(PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE));
    EXPECT_EQ(spool_.owner, window_);
    EXPECT_EQ(spool_.documentName, "MealTally - (untitled)");
    EXPECT_EQ(spool_.dialogTitle, "lunch.mtf");
    EXPECT_TRUE(spool_.dialogShown);
    EXPECT_FALSE(spool_.mainWindowEnabledDuringJob);
    EXPECT_EQ(spool_.endDocs, 1);
    EXPECT_EQ(spool_.abortDocs, 0);
    EXPECT_EQ(spool_.startPages, spool_.endPages);
    ASSERT_NE(spool_.metafile, nullptr);

    Recording recording;
    EnumEnhMetaFile(nullptr, spool_.metafile, Collect, &recording, nullptr);
    std::vector<PrintStep> expected = Expected(1);
    std::vector<const PrintStep*> drawing;
    int pages = 0;
    for (const PrintStep& step : expected) {
        if (step.kind == PrintStepKind::kText || step.kind == PrintStepKind::kRule) drawing.push_back(&step);
        pages += step.kind == PrintStepKind::kStartPage;
    }
    EXPECT_EQ(spool_.startPages, pages);
    ASSERT_EQ(recording.drawn.size(), drawing.size());
    for (size_t i = 0; i < drawing.size(); ++i) {
        const PrintStep& step = *drawing[i];
        const Drawn& drawn = recording.drawn[i];
        ASSERT_EQ(drawn.text, step.kind == PrintStepKind::kText) << i;
        EXPECT_EQ(drawn.x, step.x) << i;
        EXPECT_EQ(drawn.y, step.y) << i;
        if (drawn.text) {
            EXPECT_EQ(drawn.string, step.text);
            EXPECT_EQ(std::tie(drawn.clip.left, drawn.clip.top, drawn.clip.right, drawn.clip.bottom),
                      std::tie(step.clip.left, step.clip.top, step.clip.right, step.clip.bottom))
                << step.text;
        } else {
            EXPECT_EQ(drawn.x2, step.x2) << i;
            EXPECT_EQ(drawn.y2, step.y2) << i;
        }
    }
    // What the list view shows is what was printed: its first header, the names and the TOTAL row.
    ASSERT_GE(recording.drawn.size(), 7u);
    EXPECT_EQ(recording.drawn[0].string, LogHeader(0));
    EXPECT_EQ(recording.drawn[2].string, LogCell(0, 0));
    EXPECT_EQ(recording.drawn[6].string, LogCell(3, 0));
    EXPECT_NE(recording.drawn[6].string.find("TOTAL"), std::string::npos);

    // The rules' pen: geometric, solid black, 8 units, round caps and joins.
    EXPECT_EQ(spool_.penData.elpPenStyle, static_cast<DWORD>(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND));
    EXPECT_EQ(spool_.penData.elpWidth, 8u);
    EXPECT_EQ(spool_.penData.elpColor, RGB(0, 0, 0));
    ASSERT_EQ(recording.pens.size(), 1u);
    EXPECT_EQ(recording.pens[0].first & PS_STYLE_MASK, static_cast<DWORD>(PS_SOLID));
    EXPECT_EQ(recording.pens[0].second, 8u);
}

TEST_F(PrintJob, CopiesRepeatTheWholeLog) {
    AddFoods(2);
    int pagesOfOne = 0;
    for (const PrintStep& step : Expected(1)) pagesOfOne += step.kind == PrintStepKind::kStartPage;
    Spool spool;
    spool.copies = 2;
    g_spool = &spool;
    EXPECT_EQ(PrintLogOn(window_, "", {CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr), 2}), 1);
    EXPECT_EQ(spool.startPages, 2 * pagesOfOne);
    EXPECT_EQ(spool.endDocs, 1);
    if (spool.metafile) DeleteEnhMetaFile(spool.metafile);
    g_spool = &spool_;
}

TEST_F(PrintJob, FailuresAndCancelEndTheJobAndLeaveNoObjectBehind) {
    AddFoods(3);
    struct Case {
        const char* what;
        int failStartDoc, failStartPage, failEndPage, cancelOnPage;
        int startPages;  // how far the job got
    };
    const Case cases[] = {
        {"the document does not start", 1, 0, 0, 0, 0},
        {"the first page does not start", 0, 1, 0, 0, 1},
        {"the second page does not start", 0, 2, 0, 0, 2},
        {"the first page does not end", 0, 0, 1, 0, 1},
        {"Cancel while the first page prints", 0, 0, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Spool spool;
        spool.failStartDoc = c.failStartDoc;
        spool.failStartPage = c.failStartPage;
        spool.failEndPage = c.failEndPage;
        spool.cancelOnPage = c.cancelOnPage;
        g_spool = &spool;
        int gdiBefore = GdiObjects();
        EXPECT_EQ(PrintLog(window_, ""), 0);
        EXPECT_EQ(spool.startPages, c.startPages);
        EXPECT_EQ(spool.endDocs, 0);  // an unfinished document is never handed on
        EXPECT_EQ(spool.abortDocs, c.failStartDoc ? 0 : 1);
        spool_ = spool;
        ExpectNothingLeft(gdiBefore);
    }
}

TEST_F(PrintJob, NothingToPrintIsNoFailure) {
    int gdiBefore = GdiObjects();
    // An empty log: the dialog's context is deleted and nothing is started.
    EXPECT_EQ(PrintLog(window_, ""), 1);
    EXPECT_EQ(spool_.startDocs, 0);
    ExpectNothingLeft(gdiBefore);
    // A cancelled Print dialog.
    AddFoods(1);
    spool_.dialogCancelled = true;
    EXPECT_EQ(PrintLog(window_, ""), 1);
    EXPECT_EQ(spool_.startDocs, 0);
    ExpectNothingLeft(gdiBefore);
}

TEST_F(PrintJob, ThePrintCommandReportsACancelledJob) {
    MessageBoxRecorder boxes;
    AddFoods(1);
    SendMessageA(window_, WM_COMMAND, IDM_FILE_PRINT, 0);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(spool_.endDocs, 1);

    spool_ = Spool();
    spool_.cancelOnPage = 1;
    EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDM_FILE_PRINT, 0), 0);
    ASSERT_TRUE(OneMessage(boxes, "Could not print file (untitled)", "MealTally", MB_ICONWARNING));
    EXPECT_TRUE(IsWindowEnabled(window_));
    EXPECT_EQ(PrintingDialog(), nullptr);
    EXPECT_EQ(IsModified(), 0);
}

// The machine's own printers never matter: the print system here has none.
TEST_F(PrintJob, WithoutAPrinterThePrintDialogsRefusalLeavesNothingToReport) {
    spool_.noPrinter = true;
    MessageBoxRecorder boxes;
    AddFoods(1);
    EXPECT_EQ(SendMessageA(window_, WM_COMMAND, IDM_FILE_PRINT, 0), 0);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(IsWindowEnabled(window_));
    EXPECT_EQ(spool_.startDocs, 0);
}

TEST(PrinterFont, TenPointsAtTheContextsResolutionLeaveTheContextAsItWas) {
    // The context's own resolution: 100 tenths at its vertical dots per inch, to the nearest unit.
    UniqueDC dc(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(dc);
    SetMapMode(dc.get(), MM_ANISOTROPIC);
    SetViewportOrgEx(dc.get(), 10, 20, nullptr);
    UniqueFont font(CreatePrinterFont(dc.get(), "arial", 100));
    ASSERT_TRUE(font);
    LOGFONTA logical = {};
    ASSERT_EQ(GetObjectA(font.get(), sizeof logical, &logical), static_cast<int>(sizeof logical));
    const int perInch = GetDeviceCaps(dc.get(), LOGPIXELSY);
    EXPECT_EQ(logical.lfHeight, -static_cast<int>(100 * perInch / 72 / 10.0 + 0.5));
    EXPECT_STREQ(logical.lfFaceName, "arial");
    EXPECT_EQ(logical.lfWeight, FW_NORMAL);
    EXPECT_EQ(logical.lfWidth, 0);
    // The context is as it was.
    POINT origin = {};
    GetViewportOrgEx(dc.get(), &origin);
    EXPECT_EQ(origin.x, 10);
    EXPECT_EQ(origin.y, 20);
    EXPECT_EQ(GetMapMode(dc.get()), MM_ANISOTROPIC);
    EXPECT_EQ(GetGraphicsMode(dc.get()), GM_COMPATIBLE);
}

}  // namespace
