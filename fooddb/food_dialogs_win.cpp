#include "fooddb/food_dialogs_win.h"

#include <commctrl.h>

#include <string>

#include "fooddb/food_files_win.h"
#include "fooddb/measure_table.h"
#include "platform/file_io.h"
#include "platform/message_box_win.h"
#include "platform/window_win.h"
#include "resources/resource.h"

static int ValidateEditForm(HWND dialog, const FoodForm& form);
static int CreateMeasurePickers(HWND dialog);

static INT_PTR CALLBACK AddFoodDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK EditFoodDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

// The list the open dialog works on and how it is filled again; only one dialog is open at a time.
HWND g_myFoodsList = nullptr;
ReloadMyFoodsFunction g_reload = nullptr;
// The food the Edit Food Item dialog was filled from: as the list named it, and its line then.
ListedFood g_editedFood;
std::string g_filledLine;

void ReloadList() {
    if (g_reload) {
        g_reload();
    } else if (g_myFoodsList) {
        ReloadMyFoodsList(g_myFoodsList);
    }
}

// After a failed read: the list is filled again only from a file that can be read now, since an
// unreadable one would just empty it.
void ReloadListIfReadable() {
    FileImage image;
    if (ReadWholeFile(kMyFoodsPath, &image) == ReadResult::kOk) ReloadList();
}

HWND CreatePicker(HWND dialog, DWORD style, int y) {
    HWND picker = CreateWindowExA(0, WC_COMBOBOXEXA, "", WS_CHILD | WS_BORDER | style, kMeasurePickerX, y,
                                  kMeasurePickerWidth, kMeasurePickerDropHeight, dialog, nullptr,
                                  AppInstance(), nullptr);
    if (picker) SendMessageA(picker, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    return picker;
}

int InsertMeasureRows(HWND picker, int rows) {
    if (!picker) return 0;
    for (int row = 0; row < rows; ++row) {
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(kMeasureTable[row].name);
        item.cchTextMax = kMeasureTable[row].length;
        if (SendMessageA(picker, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) == -1) return 0;
    }
    return 1;
}

// The list is older than the file: it is filled again and the user chooses again.
void RefuseStaleFood(HWND dialog) {
    ReloadList();
    ShowMessageBox(dialog, kStaleFoodMessage, kProgramCaption, MB_OK | MB_ICONWARNING);
}

void OpenDialog(HWND owner, HWND myFoodsList, ReloadMyFoodsFunction reload, int templateId, DLGPROC procedure) {
    g_myFoodsList = myFoodsList;
    g_reload = reload;
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId), owner, procedure, 0);
    g_myFoodsList = nullptr;
    g_reload = nullptr;
}

INT_PTR OnAddInit(HWND dialog) {
    CreateMeasurePickers(dialog);
    return TRUE;
}

INT_PTR OnAddSave(HWND dialog) {
    if (!AppendMyFood(dialog)) return TRUE;
    ReloadList();
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR OnEditInit(HWND dialog) {
    g_filledLine.clear();
    if (!CreateMeasurePickers(dialog)) return TRUE;
    if (!SelectedMyFood(g_myFoodsList, &g_editedFood)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    switch (LoadListedFood(dialog, g_editedFood, &g_filledLine)) {
        case FoodUpdate::kDone:
            return TRUE;
        case FoodUpdate::kStale:
            RefuseStaleFood(dialog);
            break;
        default:
            // A form that could not be filled has nothing to save.
            ShowCannotUpdate(FoodUpdate::kCannotRead);
            ReloadListIfReadable();
            break;
    }
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR OnEditSave(HWND dialog) {
    // Reading the 35 controls is a good part of a Save's time, so the form is read once for all checks.
    FoodForm form;
    if (!ReadFoodForm(dialog, &form) || !ValidateEditForm(dialog, form)) return TRUE;
    FieldFailure failure;
    if (!CheckEditFoodSaveFields(form.fields, &failure)) {
        ShowFieldMessage(dialog, failure);
        return TRUE;
    }
    switch (ReplaceMyFood(dialog, form, g_editedFood, g_filledLine)) {
        case FoodUpdate::kRefused:
            return TRUE;
        case FoodUpdate::kDone:
            ReloadList();
            break;
        case FoodUpdate::kStale:
            RefuseStaleFood(dialog);
            break;
        case FoodUpdate::kCannotRead:
            ShowCannotUpdate(FoodUpdate::kCannotRead);
            ReloadListIfReadable();
            break;
        case FoodUpdate::kCannotWrite:
            ShowCannotUpdate(FoodUpdate::kCannotWrite);
            ReloadList();
            break;
    }
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR FoodDialogProc(HWND dialog, UINT message, WPARAM wParam, INT_PTR (*onInit)(HWND),
                       INT_PTR (*onSave)(HWND)) {
    switch (message) {
        case WM_INITDIALOG:
            return onInit(dialog);
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) return onSave(dialog);
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            SetMeasurePickers(nullptr, nullptr);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

// Creates both measure pickers in the dialog and fills them from the measure table; they become
// MeasurePicker() and SecondMeasurePicker(). 0 when a picker or one of its rows cannot be made.
static int CreateMeasurePickers(HWND dialog) {
    HWND measure = CreatePicker(dialog, WS_VISIBLE | CBS_DROPDOWN, kMeasurePickerY);
    HWND second = CreatePicker(dialog, CBS_DROPDOWNLIST, kSecondMeasurePickerY);
    SetMeasurePickers(measure, second);
    return InsertMeasureRows(measure, kMeasureTableSize) && InsertMeasureRows(second, kSecondMeasureRows);
}

void ShowAddFoodDialog(HWND owner, HWND myFoodsList, ReloadMyFoodsFunction reload) {
    OpenDialog(owner, myFoodsList, reload, IDD_ADD_FOOD, AddFoodDialog);
}

void ShowEditFoodDialog(HWND owner, HWND myFoodsList, ReloadMyFoodsFunction reload) {
    OpenDialog(owner, myFoodsList, reload, IDD_EDIT_FOOD, EditFoodDialog);
}

static INT_PTR CALLBACK AddFoodDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return FoodDialogProc(dialog, message, wParam, OnAddInit, OnAddSave);
}

static INT_PTR CALLBACK EditFoodDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return FoodDialogProc(dialog, message, wParam, OnEditInit, OnEditSave);
}

void ShowCannotUpdate(FoodUpdate result) {
    const char* caption = result == FoodUpdate::kCannotRead ? kCannotReadCaption : kCannotWriteCaption;
    ShowMessageBox(GetFocus(), kCannotUpdateMessage, caption, MB_OK | MB_ICONWARNING);
}

// The Edit Food Item dialog's own check of a form read from it; shows the first failing field's message.
static int ValidateEditForm(HWND dialog, const FoodForm& form) {
    FieldFailure failure;
    if (CheckEditFoodFields(form.fields, &failure)) return 1;
    ShowFieldMessage(dialog, failure);
    return 0;
}
