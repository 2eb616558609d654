#include "foodlog/save_as_food_win.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "fooddb/field_rules.h"
#include "foodlog/log_table.h"
#include "foodlog/recipe_line.h"
#include "platform/file_io.h"
#include "platform/message_box_win.h"
#include "platform/window_win.h"
#include "resources/resource.h"

namespace {

// The edit's text when it fits the buffer; a longer one reads as refused by its own check.
bool ReadEdit(HWND dialog, int id, char* text, int size) {
    int length = GetWindowTextLengthA(GetDlgItem(dialog, id));
    if (length >= size) return false;
    GetDlgItemTextA(dialog, id, text, size);
    return true;
}

// Checked in the dialog's order, the description first; the dialog stays open after any message, so
// nothing typed is lost.
bool SaveLogAsFood(HWND dialog) {
    char description[kMaxFoodNameLength + 2] = "";
    if (!ReadEdit(dialog, IDC_FOOD_DESCRIPTION, description, sizeof description) ||
        !IsNameField(description, std::strlen(description))) {
        ShowFieldMessage(dialog, FieldFailure{kMyFoodsLine.description, kDescriptionMessage, false});
        SetFocus(GetDlgItem(dialog, IDC_FOOD_DESCRIPTION));
        return false;
    }
    char servingsText[kServingsTextSize] = "";
    double servings = 0;
    if (!ReadEdit(dialog, IDC_FOOD_SERVINGS, servingsText, sizeof servingsText) ||
        !ParseServings(servingsText, &servings)) {
        ShowMessageBox(dialog, kServingsMessage, nullptr, MB_OK);
        SetFocus(GetDlgItem(dialog, IDC_FOOD_SERVINGS));
        return false;
    }
    EntryNutrients totals, perServing;
    TotalsInView(kAmountsView, &totals);
    PerServingValues(totals, servings, &perServing);
    std::string line;
    FieldFailure failure{};
    if (!RecipeLine(description, perServing, &line, &failure)) {
        ShowFieldMessage(dialog, failure);
        return false;
    }
    if (!AppendMyFoodLine(line.data(), line.size())) {
        char text[sizeof kCouldNotWriteFormat + sizeof kMyFoodsPath];
        std::snprintf(text, sizeof text, kCouldNotWriteFormat, kMyFoodsPath);
        ShowMessageBox(dialog, text, kProgramCaption, MB_ICONWARNING);
        return false;
    }
    return true;
}

INT_PTR CALLBACK SaveLogAsFoodDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(dialog, IDC_FOOD_SERVINGS, "1");
            SendDlgItemMessageA(dialog, IDC_FOOD_SERVINGS, EM_LIMITTEXT, kServingsTextSize - 1, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    if (SaveLogAsFood(dialog)) EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

int ShowSaveLogAsFoodDialog(HWND owner, ReloadMyFoodsFunction reload) {
    if (EntryCount() == 0) {
        ShowMessageBox(owner, kEmptyLogFoodMessage, kProgramCaption, MB_ICONWARNING);
        return 0;
    }
    INT_PTR answer =
        DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SAVE_AS_MY_FOOD), owner, SaveLogAsFoodDialog, 0);
    if (answer != IDOK) return 0;
    if (reload) reload();
    return 1;
}
