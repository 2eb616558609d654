#include "foodlog/add_food_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "fooddb/field_rules.h"
#include "fooddb/food_files_win.h"
#include "fooddb/usda_measures.h"
#include "foodlog/food_line.h"
#include "foodlog/log_table.h"
#include "foodlog/log_view_win.h"
#include "platform/edit_line_win.h"
#include "platform/file_io.h"
#include "platform/message_box_win.h"
#include "platform/window_win.h"
#include "resources/resource.h"

static LRESULT CALLBACK MyFoodsListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
static LRESULT CALLBACK UsdaListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
static LRESULT CALLBACK ResultsListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK MyFoodQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK UsdaQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK ResultQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK FoundFoodQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

constexpr int kMeasureTextSize = 256;
// The rows of a USDA food: its two measures, grams, then as many further ones as fit.
constexpr int kMaxMeasureRows = 40;
// The dialog's code of a further measure's row; the entry is logged with the measure as its first.
constexpr int32_t kFurtherMeasureCode = 100;
constexpr int kFurtherListWidth = 280;  // pixels: a measure's 47 bytes of words
constexpr int kQuantityTextSize = 256;

// One source list of the drag.
struct DragSource {
    WNDPROC previous;
    bool dragging;
    const char* limitMessage;
    bool consumesRelease;  // the My Foods list keeps the release to itself
    DLGPROC dialogProc;
};

DragSource g_myFoodsDrag = {nullptr, false, kLimitMessage, true, MyFoodQuantityProc};
DragSource g_usdaDrag = {nullptr, false, kLimitMessage, false, UsdaQuantityProc};
DragSource g_resultsDrag = {nullptr, false, kResultsLimitMessage, false, ResultQuantityProc};

// The Food Quantity dialog's food and measure rows; only one dialog is open at a time.
struct QuantityDialog {
    HWND sourceList;  // the list the food was dragged from; null for a food found by its offset
    LPARAM foundOffset;
    HWND measureList;
    bool hasFood;       // a food was selected when the dialog opened
    bool measuresRead;  // its database file could be read
    int32_t source;
    LPARAM offset;
    int rowCount;
    int32_t rowCodes[kMaxMeasureRows];  // measure code of each row of the measure list
    std::vector<UsdaMeasure> further;   // a USDA food's measures beyond its line's two
};
QuantityDialog g_dialog;
// The database the search results list was filled from.
int32_t g_resultsSource = kSourceUsda;

void SubclassList(HWND list, DragSource* source, WNDPROC procedure) {
    source->dragging = false;
    source->previous = ReplaceWindowProc(list, procedure);
}

// The mouse point of a list's message in screen coordinates; a captured mouse outside the list
// reports negative values.
POINT ScreenPoint(HWND list, LPARAM lParam) {
    POINT origin = {0, 0};
    ClientToScreen(list, &origin);
    return {GET_X_LPARAM(lParam) + origin.x, GET_Y_LPARAM(lParam) + origin.y};
}

// The log's client rectangle in screen coordinates, edges included.
bool InDropZone(POINT point) {
    HWND log = LogListView();
    if (!log) return false;
    RECT client;
    GetClientRect(log, &client);
    POINT origin = {0, 0};
    ClientToScreen(log, &origin);
    return point.x >= origin.x + client.left && point.x <= origin.x + client.right &&
           point.y >= origin.y + client.top && point.y <= origin.y + client.bottom;
}

void SetCursorShape(LPCSTR shape) {
    SetCursor(LoadCursorA(nullptr, shape));
}

// What a drop on the log does: the limit message at 50 entries, else the Food Quantity dialog for the
// food selected in the list.
void OpenFoodQuantity(DragSource* source, HWND list) {
    if (EntryCount() > kMaxLogEntries - 1) {
        ShowMessageBox(list, source->limitMessage, kLimitCaption, MB_ICONWARNING);
        return;
    }
    SetCursorShape(IDC_ARROW);
    g_dialog.sourceList = list;
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_FOOD_QUANTITY), list, source->dialogProc, 0);
}

LRESULT OnDragRelease(DragSource* source, HWND list, WPARAM wParam, LPARAM lParam) {
    POINT point = ScreenPoint(list, lParam);
    bool wasDragging = source->dragging;
    if (!InDropZone(point) || !wasDragging) {
        SetCursorShape(IDC_ARROW);
    } else {
        OpenFoodQuantity(source, list);
    }
    ReleaseCapture();
    source->dragging = false;
    if (source->consumesRelease) return 0;
    return CallWindowProcA(source->previous, list, WM_LBUTTONUP, wParam, lParam);
}

// Enter adds the selected food as a drop would, for those who cannot drag. It acts on the key-down
// only: the Enter character that follows (also the one of the key that closed the dialog) is dropped,
// so one key press never opens a second dialog.
LRESULT OnKeyDown(DragSource* source, HWND list, WPARAM wParam, LPARAM lParam) {
    if (wParam != VK_RETURN) return CallWindowProcA(source->previous, list, WM_KEYDOWN, wParam, lParam);
    if (SendMessageA(list, LB_GETCURSEL, 0, 0) != LB_ERR) OpenFoodQuantity(source, list);
    return 0;
}

// A double-click on a food adds it too; one on the list's empty area does nothing. The list selects
// the item first, and gives up the mouse before the dialog opens, as after a drop.
LRESULT OnDoubleClick(DragSource* source, HWND list, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(source->previous, list, WM_LBUTTONDBLCLK, wParam, lParam);
    LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
    if (GetCapture() == list) ReleaseCapture();
    source->dragging = false;
    if (HIWORD(hit) == 0 && SendMessageA(list, LB_GETCURSEL, 0, 0) == LOWORD(hit))
        OpenFoodQuantity(source, list);
    return result;
}

LRESULT DragProc(DragSource* source, HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            SetCapture(list);
            source->dragging = true;
            break;
        case WM_MOUSEMOVE:
            // The list never sees mouse moves: no selection follows the drag.
            if (source->dragging) SetCursorShape(InDropZone(ScreenPoint(list, lParam)) ? IDC_HAND : IDC_NO);
            return 0;
        case WM_LBUTTONUP:
            return OnDragRelease(source, list, wParam, lParam);
        case WM_LBUTTONDBLCLK:
            return OnDoubleClick(source, list, wParam, lParam);
        case WM_KEYDOWN:
            return OnKeyDown(source, list, wParam, lParam);
        case WM_CHAR:
            if (wParam == '\r') return 0;
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        default:
            break;
    }
    return CallWindowProcA(source->previous, list, message, wParam, lParam);
}

int InsertMeasureRow(const char* text, int32_t code) {
    if (g_dialog.rowCount >= kMaxMeasureRows) return 0;
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = g_dialog.rowCount;
    item.pszText = const_cast<char*>(text);
    if (SendMessageA(g_dialog.measureList, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) == -1)
        return 0;
    g_dialog.rowCodes[g_dialog.rowCount++] = code;
    return 1;
}

BOOL OfferMyFoodMeasures(bool keepEmptyFirstRow) {
    char serving[kMeasureTextSize] = "";
    int secondRow = kNoMeasureRow;
    g_dialog.measuresRead = GetMyFoodServing(serving, sizeof serving, &secondRow, g_dialog.offset) != 0;
    if (!g_dialog.measuresRead) return TRUE;
    if ((serving[0] || keepEmptyFirstRow) && !InsertMeasureRow(serving, kMeasureFirst)) return FALSE;
    const char* second = MeasureTableName(secondRow);
    if (second && !InsertMeasureRow(second, kMeasureSecond)) return FALSE;
    return TRUE;
}

BOOL OfferUsdaMeasures() {
    char first[kMeasureTextSize] = "";
    char second[kMeasureTextSize] = "";
    // Without its file a food offers only grams; OK then adds nothing, as the file cannot be read either.
    g_dialog.measuresRead = GetUsdaServings(first, sizeof first, second, sizeof second, g_dialog.offset) != 0;
    if (first[0] && !InsertMeasureRow(first, kMeasureFirst)) return FALSE;
    // A food with only a second measure offers it by what it is, not by where it stands.
    if (second[0] && !InsertMeasureRow(second, kMeasureSecond)) return FALSE;
    if (!InsertMeasureRow(MeasureTableName(kGramsMeasureRow), kMeasureGrams)) return FALSE;
    // The USDA's further measures follow in its order; without its weight file there are none.
    FileImage line;
    FileImage weights;
    size_t at = 0;
    if (!g_dialog.measuresRead ||
        ReadLineOfFile(kUsdaPath, static_cast<size_t>(g_dialog.offset), &line, &at) != ReadResult::kOk ||
        ReadWholeFile(kUsdaWeightsPath, &weights) != ReadResult::kOk)
        return TRUE;
    FurtherUsdaMeasures(std::string_view(line.Data(), line.Size()), at,
                        std::string_view(weights.Data(), weights.Size()), &g_dialog.further);
    for (size_t i = 0; i < g_dialog.further.size() && g_dialog.rowCount < kMaxMeasureRows; ++i) {
        if (!InsertMeasureRow(g_dialog.further[i].words.c_str(), kFurtherMeasureCode + static_cast<int32_t>(i)))
            return FALSE;
    }
    // The list keeps its place and size; only its drop-down grows, so that "cup (4.86 large eggs)" reads whole.
    HWND combo = reinterpret_cast<HWND>(SendMessageA(g_dialog.measureList, CBEM_GETCOMBOCONTROL, 0, 0));
    if (combo && !g_dialog.further.empty()) SendMessageA(combo, CB_SETDROPPEDWIDTH, kFurtherListWidth, 0);
    return TRUE;
}

BOOL OnInitDialog(HWND dialog, int32_t source, bool keepEmptyFirstRow) {
    g_dialog.measureList = nullptr;
    g_dialog.hasFood = false;
    g_dialog.measuresRead = false;
    g_dialog.rowCount = 0;
    g_dialog.further.clear();
    g_dialog.source = source;
    LRESULT offset = g_dialog.foundOffset;
    if (g_dialog.sourceList) {
        LRESULT selected = SendMessageA(g_dialog.sourceList, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR) return FALSE;
        offset = SendMessageA(g_dialog.sourceList, LB_GETITEMDATA, selected, 0);
    }
    if (offset == LB_ERR) return FALSE;
    g_dialog.offset = offset;
    g_dialog.hasFood = true;
    g_dialog.measureList = CreateWindowExA(0, WC_COMBOBOXEXA, "",
                                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | CBS_DROPDOWNLIST,
                                           kMeasureListX, kMeasureListY, kMeasureListWidth,
                                           kMeasureListHeight, dialog, nullptr, AppInstance(), nullptr);
    if (source == kSourceMyFoods) return OfferMyFoodMeasures(keepEmptyFirstRow);
    return OfferUsdaMeasures();
}

BOOL OnOk(HWND dialog) {
    // Set first: even a refused quantity marks the log as changed.
    MarkModified();
    HWND edit = GetDlgItem(dialog, IDC_QUANTITY_EDIT);
    char text[kQuantityTextSize];
    int copied = GetEditLine(edit, text, sizeof text);
    if (!IsNumericField(text, static_cast<size_t>(copied))) {
        ShowMessageBox(dialog, kIllegalQuantityMessage, nullptr, MB_ICONWARNING);
        return TRUE;
    }
    int32_t measure = kMeasureNone;
    LRESULT row = g_dialog.measureList ? SendMessageA(g_dialog.measureList, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (row >= 0 && row < g_dialog.rowCount) measure = g_dialog.rowCodes[row];
    const UsdaMeasure* further = nullptr;
    if (measure >= kFurtherMeasureCode) {
        further = &g_dialog.further[static_cast<size_t>(measure - kFurtherMeasureCode)];
        measure = kMeasureFirst;
    }
    // A dialog that opened without a food, or whose file could not be read, adds nothing.
    if (g_dialog.hasFood && g_dialog.measuresRead)
        AddFoodToLog(text, copied, measure, g_dialog.source, g_dialog.offset, further);
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR QuantityDialogProc(HWND dialog, UINT message, WPARAM wParam, int32_t source, bool keepEmptyFirstRow) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, source, keepEmptyFirstRow);
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) return OnOk(dialog);
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            g_dialog.measureList = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

int AddFoodToLog(const char* quantityText, int quantityLength, int32_t measure, int32_t source,
                 LPARAM lineOffset, const UsdaMeasure* further) {
    if (lineOffset < 0) return 0;
    FileImage image;
    size_t at = 0;
    const char* path = source == kSourceMyFoods ? kMyFoodsPath : kUsdaPath;
    if (ReadLineOfFile(path, static_cast<size_t>(lineOffset), &image, &at) != ReadResult::kOk) return 0;
    std::string_view data(image.Data(), image.Size());
    if (!AddFoodFromData(data, at, quantityText, quantityLength, measure, source, further)) return 0;
    RefreshLog();
    return 1;
}

void SubclassFoodLists(HWND myFoodsList, HWND usdaList, HWND resultsList) {
    if (myFoodsList) SubclassList(myFoodsList, &g_myFoodsDrag, MyFoodsListProc);
    if (usdaList) SubclassList(usdaList, &g_usdaDrag, UsdaListProc);
    if (resultsList) SubclassList(resultsList, &g_resultsDrag, ResultsListProc);
}

static LRESULT CALLBACK MyFoodsListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return DragProc(&g_myFoodsDrag, list, message, wParam, lParam);
}

static LRESULT CALLBACK UsdaListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return DragProc(&g_usdaDrag, list, message, wParam, lParam);
}

static LRESULT CALLBACK ResultsListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return DragProc(&g_resultsDrag, list, message, wParam, lParam);
}

static INT_PTR CALLBACK MyFoodQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return QuantityDialogProc(dialog, message, wParam, kSourceMyFoods, true);
}

static INT_PTR CALLBACK UsdaQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return QuantityDialogProc(dialog, message, wParam, kSourceUsda, false);
}

static INT_PTR CALLBACK ResultQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return QuantityDialogProc(dialog, message, wParam, g_resultsSource, false);
}

// A found food offers its measures as its own database's list does. Who found it by typing goes on
// typing: the quantity has the focus.
static INT_PTR CALLBACK FoundFoodQuantityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    int32_t source = g_dialog.source;
    INT_PTR result = QuantityDialogProc(dialog, message, wParam, source, source == kSourceMyFoods);
    if (message != WM_INITDIALOG || !result) return result;
    SetFocus(GetDlgItem(dialog, IDC_QUANTITY_EDIT));
    return FALSE;
}

void OpenFoodQuantityFor(HWND owner, int32_t source, LPARAM lineOffset) {
    if (EntryCount() > kMaxLogEntries - 1) {
        ShowMessageBox(owner, kLimitMessage, kLimitCaption, MB_ICONWARNING);
        return;
    }
    g_dialog.sourceList = nullptr;
    g_dialog.foundOffset = lineOffset < 0 ? LB_ERR : lineOffset;
    g_dialog.source = source == kSourceMyFoods ? kSourceMyFoods : kSourceUsda;
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_FOOD_QUANTITY), owner, FoundFoodQuantityProc, 0);
}

void SetResultsSource(int32_t source) {
    g_resultsSource = source == kSourceMyFoods ? kSourceMyFoods : kSourceUsda;
}

HWND MeasureList() {
    return g_dialog.measureList;
}
