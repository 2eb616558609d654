#include "shell/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "fooddb/food_files_win.h"
#include "foodlog/add_food_win.h"
#include "foodlog/log_columns.h"
#include "foodlog/log_columns_win.h"
#include "foodlog/log_edit_win.h"
#include "foodlog/log_history.h"
#include "foodlog/log_table.h"
#include "foodlog/log_tip_win.h"
#include "foodlog/log_view_win.h"
#include "platform/file_io.h"
#include "platform/message_box_win.h"
#include "platform/startup_marks_win.h"
#include "platform/window_win.h"
#include "shell/summary_window_win.h"
#include "resources/resource.h"
#include "shell/document_win.h"
#include "shell/edit_menu_win.h"
#include "shell/find_food_win.h"
#include "shell/food_browser_win.h"
#include "shell/toolbar_win.h"

HWND g_mainWindow;
int g_splitter = kDefaultSplitter;
MainControls g_controls;

namespace {

bool g_dragging;
HWND g_focusOnLeaving;  // the child that had the keyboard focus when the window was last deactivated
SIZE g_hiddenLayout;  // the client size the children were made for, until the window is first shown

constexpr DWORD kListStyle = WS_CHILD | WS_VSCROLL | WS_TABSTOP | LBS_SORT | LBS_NOINTEGRALHEIGHT;
constexpr char kDatabaseNames[][9] = {"My Foods", "USDA"};

HMENU ControlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HWND CreateChild(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int width,
                 int height, HWND parent, int id) {
    return CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, ControlId(id),
                           AppInstance(), nullptr);
}

HWND CreateFoodList(HWND window, int id, const ChildPlace& place, DWORD shown) {
    return CreateChild(WS_EX_CLIENTEDGE, "LISTBOX", "", kListStyle | shown, place.x, place.y, place.width,
                       place.height, window, id);
}

// The window's own state as at start-up; the log, its columns and the document reset their own.
void ResetMainState() {
    g_splitter = kDefaultSplitter;
    g_dragging = false;
    g_focusOnLeaving = nullptr;
    g_hiddenLayout = {};
    g_controls = MainControls{};
}

int InsertDatabaseName(HWND chooser, int index) {
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(kDatabaseNames[index]);
    return static_cast<int>(SendMessageA(chooser, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

// Where each child stands in a client area of a given size (PlacesFor, below).
struct PanePlaces {
    ChildPlace tabs, myFoods, usda, results, searchBox, databaseChooser, log;
    ChildPlace searchButton, lookForLabel, inDatabaseLabel, addButton, deleteButton, editButton;
};

PanePlaces ClientPlaces(HWND window);
void Layout(HWND window, int width, int height);

HWND CreateAt(DWORD exStyle, const char* className, const char* text, DWORD style, const ChildPlace& place,
              HWND parent, int id) {
    return CreateChild(exStyle, className, text, style, place.x, place.y, place.width, place.height, parent,
                       id);
}

// The working area is measured from the toolbar and the status bar, so they come first.
void CreateBarsAndTabs(HWND window) {
    g_controls.toolbar = CreateToolbar(window);
    MarkStartup("toolbar and its images");
    g_controls.statusBar = CreateStatusBar(window);
    MarkStartup("status bar");
    SetFoodBrowserControls(window, &g_controls);
    g_controls.foodTabs = CreateFoodTabs(window, ClientPlaces(window).tabs);
    MarkStartup("tabs");
}

// Every child is made where a layout of this size puts it, so the window has nothing to move before it
// shows. What the first frame does not show waits for FinishStartup.
void CreateShownChildren(HWND window) {
    const PanePlaces places = ClientPlaces(window);
    g_controls.myFoodsList = CreateFoodList(window, IDC_MYFOODS_LIST, places.myFoods, WS_VISIBLE);
    LoadMyFoods(g_controls.myFoodsList);
    SubclassFoodLists(g_controls.myFoodsList, nullptr, nullptr);
    ShowHintWhenEmpty(g_controls.myFoodsList);
    MarkStartup("the My Foods list and its fill");

    SubclassLogListView(CreateLogListView(window, places.log));
    MarkStartup("the list view and its 34 columns");

    constexpr DWORD kShownButton = WS_CHILD | WS_VISIBLE;
    g_controls.addButton =
        CreateAt(0, "BUTTON", "Add", kShownButton, places.addButton, window, IDC_ADD_BUTTON);
    g_controls.deleteButton =
        CreateAt(0, "BUTTON", "Delete", kShownButton, places.deleteButton, window, IDC_DELETE_BUTTON);
    g_controls.editButton =
        CreateAt(0, "BUTTON", "Edit", kShownButton, places.editButton, window, IDC_EDIT_BUTTON);
    // New children go below their elder siblings; the page's controls stand above the tab control
    // that frames them, as every layout leaves them.
    SetWindowPos(g_controls.foodTabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The USDA and Search pages' lists, search box, database chooser and labels; 0 when the chooser takes
// no names.
int CreateHiddenChildren(HWND window) {
    const PanePlaces places = ClientPlaces(window);
    g_controls.usdaList = CreateFoodList(window, IDC_USDA_LIST, places.usda, 0);
    g_controls.resultsList = CreateFoodList(window, IDC_RESULTS_LIST, places.results, 0);
    SubclassFoodLists(nullptr, g_controls.usdaList, g_controls.resultsList);
    ApplyGuiFont(g_controls.usdaList);
    ApplyGuiFont(g_controls.resultsList);

    g_controls.searchButton =
        CreateAt(0, "BUTTON", "Search", WS_CHILD, places.searchButton, window, IDC_SEARCH_BUTTON);
    g_controls.searchBox = CreateAt(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_BORDER | ES_AUTOVSCROLL,
                                    places.searchBox, window, IDC_SEARCH_BOX);
    SubclassSearchBox(g_controls.searchBox);
    ApplyGuiFont(g_controls.searchBox);

    // Made as tall as its dropped list; the layout that follows gives it the height every layout does.
    ChildPlace chooser = places.databaseChooser;
    chooser.height = 300;
    g_controls.databaseChooser = CreateAt(0, WC_COMBOBOXEXA, "", WS_CHILD | WS_BORDER | CBS_DROPDOWNLIST,
                                          chooser, window, IDC_DATABASE_CHOOSER);
    if (InsertDatabaseName(g_controls.databaseChooser, 0) == -1 ||
        InsertDatabaseName(g_controls.databaseChooser, 1) == -1)
        return 0;

    g_controls.lookForLabel = CreateAt(0, "STATIC", "Look for:", WS_CHILD, places.lookForLabel, window, 0);
    g_controls.inDatabaseLabel =
        CreateAt(0, "STATIC", "In database:", WS_CHILD, places.inDatabaseLabel, window, 0);
    return 1;
}

LRESULT OnCreate(HWND window) {
    ResetMainState();
    ResetLogState();
    StartHistory();
    ResetColumnSet();
    AttachLogListView(nullptr);
    g_mainWindow = window;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    MarkStartup("common controls");

    CreateBarsAndTabs(window);
    TakeGuiFont();
    CreateShownChildren(window);
    ResetDocument(window);
    ApplyGuiFont(g_controls.myFoodsList);
    SetDocumentCaption(window, DocumentTitle());
    RECT client = {};
    GetClientRect(window, &client);
    g_hiddenLayout = {client.right, client.bottom};
    MarkStartup("buttons, fonts, caption");
    return 0;
}

LRESULT OnDestroy() {
    ReleaseGuiFont();
    PostQuitMessage(0);
    return 0;
}

// Both panes keep a usable width; a captured mouse left of the window reports a negative x.
int ClampSplitter(int x, int clientWidth) {
    int highest = clientWidth - kMinPaneWidth;
    if (x > highest) x = highest;
    if (x < kMinPaneWidth) x = kMinPaneWidth;
    return x;
}

// Where the panes meet in a client area of this width: the splitter as the user left it, moved in as
// far as both panes need, so a window made narrower after a drag still shows both and keeps the grab
// zone inside. The splitter itself stays, so widening the window again gives the user's panes back.
int SplitterFor(int clientWidth) {
    if (clientWidth < 2 * kMinPaneWidth) return clientWidth / 2;
    return ClampSplitter(g_splitter, clientWidth);
}

// Adds a move to the deferred batch; a window that could not be created is left out, so one
// missing child never loses the moves of the others.
HDWP Defer(HDWP batch, HWND child, HWND insertAfter, const ChildPlace& place, UINT flags) {
    if (!batch || !child) return batch;
    return DeferWindowPos(batch, child, insertAfter, place.x, place.y, place.width, place.height, flags);
}

void Place(HWND child, const ChildPlace& place) {
    if (child) SetWindowPos(child, nullptr, place.x, place.y, place.width, place.height, 0);
}

// Where the children stand in a client area of this size. The lists take the tab control's display
// area as it stands, before a layout resizes the tab control.
PanePlaces PlacesFor(HWND window, int width, int height) {
    RECT area = {0, 0, width, height};
    GetWorkingArea(&area);
    PanePlaces places = {};
    const int top = area.top;
    const int areaHeight = area.bottom - area.top;
    const int s = SplitterFor(width);
    places.tabs = {0, top, s, areaHeight};

    RECT display = {};
    if (g_controls.foodTabs) {
        GetWindowRect(g_controls.foodTabs, &display);
        SendMessageA(g_controls.foodTabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    }
    POINT p = {display.left, display.top};
    ScreenToClient(window, &p);
    const int displayWidth = display.right - display.left;
    places.myFoods = {p.x, p.y, displayWidth, areaHeight - kMyFoodsListMargin};
    places.usda = {p.x, p.y, displayWidth, areaHeight - kUsdaListMargin};
    places.results = {p.x, p.y + kResultsListTop, displayWidth, areaHeight - kResultsListMargin};
    places.searchBox = {p.x, p.y + kSearchBoxTop, displayWidth, kSearchBoxHeight};
    places.databaseChooser = {p.x, p.y + kDatabaseChooserTop, displayWidth, kDatabaseChooserHeight};
    places.log = {s - 1, top, width - s, areaHeight};

    places.searchButton = {kPaneLeft, p.y + kSearchButtonTop, kButtonWidth, kButtonHeight};
    places.lookForLabel = {kPaneLeft, p.y + kLookForLabelTop, kButtonWidth, kButtonHeight};
    places.inDatabaseLabel = {kPaneLeft, p.y + kInDatabaseLabelTop, kInDatabaseLabelWidth, kButtonHeight};
    const int third = s / 3;
    const int editX = 2 * third + kPaneLeft;
    const int buttonTop = area.bottom - kButtonRowOffset;
    places.addButton = {kPaneLeft, buttonTop, third - 1, kButtonHeight};
    places.deleteButton = {third + kPaneLeft, buttonTop, third - 1, kButtonHeight};
    places.editButton = {editX, buttonTop, s - editX - kPaneLeft, kButtonHeight};
    return places;
}

PanePlaces ClientPlaces(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return PlacesFor(window, client.right, client.bottom);
}

void Layout(HWND window, int width, int height) {
    const PanePlaces places = PlacesFor(window, width, height);
    HDWP batch = BeginDeferWindowPos(7);
    batch = Defer(batch, g_controls.foodTabs, HWND_BOTTOM, places.tabs, SWP_NOMOVE | SWP_NOZORDER);
    batch = Defer(batch, g_controls.myFoodsList, nullptr, places.myFoods, 0);
    batch = Defer(batch, g_controls.usdaList, nullptr, places.usda, 0);
    batch = Defer(batch, g_controls.resultsList, nullptr, places.results, 0);
    batch = Defer(batch, g_controls.searchBox, nullptr, places.searchBox, 0);
    batch = Defer(batch, g_controls.databaseChooser, nullptr, places.databaseChooser, 0);
    batch = Defer(batch, LogListView(), nullptr, places.log, 0);
    if (batch) EndDeferWindowPos(batch);

    Place(g_controls.searchButton, places.searchButton);
    Place(g_controls.lookForLabel, places.lookForLabel);
    Place(g_controls.inDatabaseLabel, places.inDatabaseLabel);
    Place(g_controls.addButton, places.addButton);
    Place(g_controls.deleteButton, places.deleteButton);
    Place(g_controls.editButton, places.editButton);

    SendMessageA(g_controls.statusBar, WM_SIZE, 0, 0);
    SendMessageA(g_controls.toolbar, WM_SIZE, 0, 0);
}

LRESULT OnSize(HWND window, WPARAM kind, LPARAM size) {
    // The first size after creation is the one laid out while hidden.
    bool done = g_hiddenLayout.cx == LOWORD(size) && g_hiddenLayout.cy == HIWORD(size);
    g_hiddenLayout = {};
    if (kind != SIZE_MINIMIZED && !done) Layout(window, LOWORD(size), HIWORD(size));
    return 0;
}

bool InGrabZone(HWND window, int x) {
    RECT client;
    GetClientRect(window, &client);
    int s = SplitterFor(client.right);
    return s - kGrabZoneWidth < x && x < s;
}

LRESULT OnLButtonDown(HWND window, WPARAM wParam, LPARAM lParam) {
    if (InGrabZone(window, LOWORD(lParam))) {
        SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
        SetCapture(window);
        g_dragging = true;
    }
    return DefWindowProcA(window, WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT OnMouseMove(HWND window, LPARAM lParam) {
    if (g_dragging) {
        RECT client;
        GetClientRect(window, &client);
        g_splitter = ClampSplitter(GET_X_LPARAM(lParam), client.right);
        SendMessageA(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
        UpdateWindow(window);
    } else {
        SetCursor(LoadCursorA(nullptr, InGrabZone(window, LOWORD(lParam)) ? IDC_SIZEWE : IDC_ARROW));
    }
    return 0;
}

LRESULT OnLButtonUp(HWND window, WPARAM wParam, LPARAM lParam) {
    if (g_dragging) {
        g_dragging = false;
        ReleaseCapture();
    }
    return DefWindowProcA(window, WM_LBUTTONUP, wParam, lParam);
}

LRESULT OnClose(HWND window) {
    if (IsModified() && AskSaveChanges(window, DocumentTitle()) == IDCANCEL) return 0;
    DestroyWindow(window);
    return 0;
}

// The focus comes back where it was when the window was left (for a message box, a dialog, another
// program), so that a log that asked a question still takes the Edit menu's keys.
LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        g_focusOnLeaving = focus && IsChild(window, focus) ? focus : nullptr;
    } else if (!HIWORD(wParam) && g_focusOnLeaving && IsWindow(g_focusOnLeaving) &&
               IsChild(window, g_focusOnLeaving) && IsWindowVisible(g_focusOnLeaving)) {
        SetFocus(g_focusOnLeaving);
        return 0;
    }
    return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
}

LRESULT OnQueryEndSession(HWND window) {
    if (IsModified() && AskSaveChanges(window, DocumentTitle()) == IDCANCEL) return 0;
    return 1;
}

LRESULT OnNotify(HWND window, WPARAM wParam, LPARAM lParam) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TCN_SELCHANGE && header->hwndFrom == g_controls.foodTabs)
        return ShowFoodPage(header->hwndFrom);
    if (header->code == TTN_GETDISPINFOA) return SetToolbarTip(reinterpret_cast<NMTTDISPINFOA*>(header));
    return DefWindowProcA(window, WM_NOTIFY, wParam, lParam);
}

// The Find Food window shows what a command did to the My Foods file at once.
LRESULT AfterMyFoodsCommand(LRESULT result) {
    FollowMyFoodsInFind();
    return result;
}

// The Edit menu's commands, which act on the log's selection.
LRESULT OnEditCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDM_EDIT_UNDO:
            return UndoLogChange();
        case IDM_EDIT_REDO:
            return RedoLogChange();
        case IDM_EDIT_CUT:
            return CutEntries(window);
        case IDM_EDIT_COPY:
            return CopyEntries(window);
        case IDM_EDIT_PASTE:
            return PasteEntries(window);
        case IDM_EDIT_DELETE:
            return DeleteEntries();
        case IDM_EDIT_SELECT_ALL:
            return SelectAllInLog();
        default:
            return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    // A shortcut key does not take the focus from the quantity editor as a click elsewhere would, so
    // the edit is ended here first, keeping what was typed.
    if (HIWORD(wParam) == 1 && lParam == 0) FinishQuantityEdit();
    switch (LOWORD(wParam)) {
        case IDM_FILE_EXIT:
            // Command 0 from the menu; controls without an id send none.
            if (lParam != 0) break;
            SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case IDM_VIEW_PERCENT:
            return SwitchView(g_controls.toolbar, kPercentView);
        case IDM_VIEW_AMOUNTS:
            return SwitchView(g_controls.toolbar, kAmountsView);
        case IDM_FILE_NEW:
            return NewDocument(window);
        case IDM_FILE_OPEN:
            return OpenDocument(window);
        case IDM_FILE_SAVE:
            return SaveDocument(window);
        case IDM_FILE_SAVE_AS:
            return SaveDocumentAs(window);
        case IDM_FILE_INSERT_LOG:
            return InsertDocument(window);
        case IDM_FILE_SAVE_AS_MY_FOOD:
            return AfterMyFoodsCommand(OnSaveLogAsMyFood(window));
        case IDM_HELP_ABOUT:
            return ShowAbout(window);
        case IDM_FILE_PRINT:
            return PrintDocument(window);
        case IDM_FILE_SUMMARY:
            return ShowDaySummary(window);
        case IDC_SEARCH_BUTTON:
        case IDM_SEARCH_ALT:
            return RunSearch(window);
        case IDC_DELETE_BUTTON:
            return AfterMyFoodsCommand(OnDeleteButton(window));
        case IDC_ADD_BUTTON:
            return AfterMyFoodsCommand(OnAddButton(window));
        case IDC_EDIT_BUTTON:
            return AfterMyFoodsCommand(OnEditButton(window));
        case IDM_FOOD_FIND:
            ShowFindFood(window);
            return 0;
        default:
            return OnEditCommand(window, wParam, lParam);
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

// The Edit menu says what its items would do now. A quantity being edited is ended first, so that Undo
// names the edit.
LRESULT OnInitMenuPopup(HWND window, WPARAM wParam, LPARAM lParam) {
    HMENU popup = reinterpret_cast<HMENU>(wParam);
    if (HIWORD(lParam) || GetMenuState(popup, IDM_EDIT_UNDO, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return DefWindowProcA(window, WM_INITMENUPOPUP, wParam, lParam);
    FinishQuantityEdit();
    UpdateEditMenu(popup);
    return 0;
}

}  // namespace

void GetWorkingArea(RECT* area) {
    RECT toolbar = {};
    if (g_controls.toolbar) GetWindowRect(g_controls.toolbar, &toolbar);
    RECT status = {};
    if (g_controls.statusBar) GetClientRect(g_controls.statusBar, &status);
    area->top = toolbar.bottom - toolbar.top;
    area->bottom -= status.bottom - status.top;
}

static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy();
        case WM_SIZE:
            return OnSize(window, wParam, lParam);
        case WM_CLOSE:
            return OnClose(window);
        case WM_QUERYENDSESSION:
            return OnQueryEndSession(window);
        case WM_ACTIVATE:
            return OnActivate(window, wParam, lParam);
        case WM_NOTIFY:
            return OnNotify(window, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(window, wParam, lParam);
        case WM_INITMENUPOPUP:
            return OnInitMenuPopup(window, wParam, lParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ColorOnFoodPage(window, message, wParam, lParam);
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            ForgetFoodPageColor();
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            return OnLButtonDown(window, wParam, lParam);
        case WM_MOUSEMOVE:
            return OnMouseMove(window, lParam);
        case WM_LBUTTONUP:
            return OnLButtonUp(window, wParam, lParam);
        case WM_CAPTURECHANGED:
            // A drag that lost the mouse to another window ends there.
            g_dragging = false;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

int RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    // Both sizes straight from the resource: a class given only the large icon has the small one made
    // from it again at registration, which under Wine costs more than the two loads.
    windowClass.hIcon =
        static_cast<HICON>(LoadImageA(instance, APP_RESOURCE_NAME, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageA(instance, APP_RESOURCE_NAME, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = APP_RESOURCE_NAME;
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    SetAppInstance(instance);
    HWND window =
        CreateWindowExA(0, kMainWindowClass, "Meal-Tally", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    g_mainWindow = window;
    if (window) {
        LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
        SetWindowLongPtrA(window, GWL_EXSTYLE, exStyle | WS_EX_DLGMODALFRAME);
    }
    return window;
}

// The USDA and Search pages and the log's description tip are not shown at start, so they are made
// and filled once the window stands painted, before any input is taken: the window shows as soon as
// what it shows is ready.
void FinishStartup() {
    if (CreateHiddenChildren(g_mainWindow)) {
        // A whole layout, so the page's controls stand in the order every later layout gives them.
        RECT client = {};
        GetClientRect(g_mainWindow, &client);
        Layout(g_mainWindow, client.right, client.bottom);
    }
    CreateDescriptionTip(LogListView());
    MarkStartup("the other pages' controls and the tip (not shown at start)");
    LoadUsdaFoods(g_controls.usdaList);
    MarkStartup("the USDA list (not shown at start)");
}

// Modal dialogs and message boxes run their own loops, which never come here: shortcuts act only in
// the main window. The Edit menu's keys act only in the log: an edit box (the search box, the quantity
// editor) keeps its own Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A and Delete.
int TranslateShortcut(HWND window, MSG* message) {
    // Loaded once, on the first message; a table that cannot be loaded is not looked for again.
    static HACCEL shortcuts = LoadAcceleratorsA(AppInstance(), APP_RESOURCE_NAME);
    static HACCEL editKeys = LoadAcceleratorsA(AppInstance(), MAKEINTRESOURCEA(IDR_EDIT_KEYS));
    if (!window || !IsWindowEnabled(window)) return 0;
    if (message->hwnd != window && !IsChild(window, message->hwnd)) return 0;
    if (editKeys && message->hwnd == LogListView() && TranslateAcceleratorA(window, editKeys, message)) return 1;
    return shortcuts ? TranslateAcceleratorA(window, shortcuts, message) : 0;
}

void TellOfRestoredFiles(HWND window) {
    static int told = 0;
    int restored = RestoredFileCount();
    if (restored == told) return;
    told = restored;
    ShowMessageBox(window, kRestoredMessage, kProgramCaption, MB_ICONINFORMATION);
}

int RunPlatelog(HINSTANCE instance, const char* commandLine, int show) {
    MarkStartup("WinMain");
    SetAppInstance(instance);
    if (!RegisterMainWindowClass(instance)) {
        ShowMessageBox(nullptr, "This program requires Windows NT!", kProgramCaption, MB_ICONERROR);
        return 0;
    }
    HWND window = CreateMainWindow(instance);
    MarkStartup("the rest of creating the window");
    ShowWindow(window, show);
    MarkStartup("showing the window");
    UpdateWindow(window);
    MarkStartup("the first paint");
    FinishStartup();
    TellOfRestoredFiles(window);
    OpenCommandLineDocument(window, commandLine);
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateShortcut(window, &message)) continue;
        if (IsFindFoodMessage(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
