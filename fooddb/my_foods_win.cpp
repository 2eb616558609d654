#include "fooddb/food_files_win.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "platform/edit_line_win.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "resources/resource.h"
#include "platform/message_box_win.h"

namespace {
HWND g_measurePicker = nullptr;
HWND g_secondMeasurePicker = nullptr;
}  // namespace

void SetMeasurePickers(HWND measurePicker, HWND secondMeasurePicker) {
    g_measurePicker = measurePicker;
    g_secondMeasurePicker = secondMeasurePicker;
}

HWND MeasurePicker() {
    return g_measurePicker;
}

HWND SecondMeasurePicker() {
    return g_secondMeasurePicker;
}

namespace {

constexpr char kMallocFailed[] = "Malloc Failed!";
constexpr char kMallocFailedCaption[] = "Error #301";
constexpr int kLabelSize = 48;
constexpr size_t kMessageSize = 256;

void ShowMallocFailed() {
    ShowMessageBox(GetFocus(), kMallocFailed, kMallocFailedCaption, MB_OK | MB_ICONEXCLAMATION);
}

// The picker's own edit field when it has one, else the picker.
HWND PickerEdit(HWND picker) {
    HWND edit = reinterpret_cast<HWND>(SendMessageA(picker, CBEM_GETEDITCONTROL, 0, 0));
    return edit ? edit : picker;
}

// The stored offset of a list item, or 0 when it is none (LB_ERR) or cannot be one.
int OffsetOfItemData(LRESULT data, size_t* offset) {
    if (data < 0) return 0;
    *offset = static_cast<size_t>(data);
    return 1;
}

struct HeapBuffer {
    char* data = nullptr;
    ~HeapBuffer() { std::free(data); }
};

unsigned g_myFoodsLoads;

}  // namespace

// Every change of the file is followed by a load of the list, so whoever keeps foods of the file
// learns of a change here, even one that left the file's size and time as they were.
int LoadMyFoods(HWND list) {
    ++g_myFoodsLoads;
    return FillFoodList(list, kMyFoodsPath, FoodFile::kMyFoods, true);
}

int ReloadMyFoodsList(HWND list) {
    ++g_myFoodsLoads;
    return RefillFoodList(list, kMyFoodsPath, FoodFile::kMyFoods);
}

unsigned MyFoodsLoads() {
    return g_myFoodsLoads;
}

int GetMyFoodServing(char* text, size_t textSize, int* secondRow, LPARAM offset) {
    if (offset < 0 || textSize == 0) return 0;
    FileImage image;
    size_t at = 0;
    if (ReadLineOfFile(kMyFoodsPath, static_cast<size_t>(offset), &image, &at) != ReadResult::kOk) return 0;
    return ReadMyFoodServing(std::string_view(image.Data(), image.Size()), at, text, textSize, secondRow);
}

void ShowFieldMessage(HWND dialog, const FieldFailure& failure) {
    char label[kLabelSize] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_FIELD_LABEL_FIRST + failure.field, label, kLabelSize) <=
        0) {
        label[0] = '\0';
    }
    char message[kMessageSize];
    FormatFieldMessage(failure.message, label, message, sizeof message);
    ShowMessageBox(dialog, message, nullptr, failure.warning ? MB_OK | MB_ICONWARNING : MB_OK);
}

int SelectedMyFood(HWND myFoodsList, ListedFood* food) {
    LRESULT selected = SendMessageA(myFoodsList, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return 0;
    if (!OffsetOfItemData(SendMessageA(myFoodsList, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0),
                          &food->offset)) {
        return 0;
    }
    // The list's texts are at most 255 bytes; anything longer is not one of its items.
    LRESULT length = SendMessageA(myFoodsList, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length < 0 || length >= static_cast<LRESULT>(sizeof food->text)) return 0;
    SendMessageA(myFoodsList, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(food->text));
    food->text[length] = '\0';
    return 1;
}

// The file is held from its read to its rewrite, so no other copy's append can fall between them and
// be written over. The list may be older than the file (another copy of the program changed it), so its
// offset is used only while it still leads to the selected food.
int RemoveMyFood(HWND myFoodsList, FoodUpdate* outcome) {
    FoodUpdate ignored;
    FoodUpdate& result = outcome ? *outcome : ignored;
    result = FoodUpdate::kRefused;
    ListedFood food;
    if (!SelectedMyFood(myFoodsList, &food)) return 0;
    HeldFile file;
    ReadResult read = file.Open(kMyFoodsPath);
    if (read == ReadResult::kNoMemory) ShowMallocFailed();
    result = FoodUpdate::kCannotRead;
    if (read != ReadResult::kOk) return 0;
    std::string_view data = file.Contents();
    result = FoodUpdate::kStale;
    if (!IsListedMyFood(data, food.offset, food.text)) return 0;
    HeapBuffer contents;
    contents.data = static_cast<char*>(std::malloc(data.size() + 1));
    result = FoodUpdate::kCannotWrite;
    if (!contents.data) {
        ShowMallocFailed();
        return 0;
    }
    size_t newSize = 0;
    if (!CopyWithoutLine(data, food.offset, contents.data, data.size() + 1, &newSize)) return 0;
    if (!file.Rewrite(contents.data, newSize)) return 0;
    result = FoodUpdate::kDone;
    return 1;
}

FoodForm::~FoodForm() {
    std::free(buffer);
}

// One buffer, sized from the controls before anything is read, holds every field text and then
// the assembled line.
int ReadFoodForm(HWND dialog, FoodForm* form) {
    HWND edits[kMyFoodFieldCount] = {};
    size_t lengths[kMyFoodFieldCount] = {};
    size_t textBytes = 0;
    for (int k = 0; k < kMyFoodFieldCount; ++k) {
        if (k == kMyFoodMeasureField) {
            lengths[k] = kFieldTextSize - 1;
        } else if (k == kMyFoodSecondMeasureField) {
            lengths[k] = 2;
        } else {
            edits[k] = GetDlgItem(dialog, IDC_FOOD_FIELD_FIRST + k);
            lengths[k] = EditLineLength(edits[k]);
        }
        textBytes += lengths[k] + 3;  // room for EM_GETLINE's size word and a terminator
    }
    size_t lineCapacity = textBytes + kMyFoodFieldCount + 2;
    std::free(form->buffer);
    form->buffer = static_cast<char*>(std::malloc(textBytes + lineCapacity));
    if (!form->buffer) {
        ShowMallocFailed();
        return 0;
    }
    form->line = form->buffer + textBytes;
    form->lineCapacity = lineCapacity;

    char* slot = form->buffer;
    for (int k = 0; k < kMyFoodFieldCount; ++k) {
        size_t length = 0;
        if (k == kMyFoodMeasureField) {
            if (g_measurePicker) {
                int got = GetWindowTextA(PickerEdit(g_measurePicker), slot, static_cast<int>(kFieldTextSize));
                length = got > 0 ? static_cast<size_t>(got) : 0;
            }
        } else if (k == kMyFoodSecondMeasureField) {
            LRESULT row =
                g_secondMeasurePicker ? SendMessageA(g_secondMeasurePicker, CB_GETCURSEL, 0, 0) : CB_ERR;
            if (row >= 0 && row <= 9) {
                slot[0] = static_cast<char>('0' + row);
                length = 1;
            } else {
                length = sizeof kNoSecondMeasureText - 1;
                std::memcpy(slot, kNoSecondMeasureText, length);
            }
        } else {
            // The slot holds the line, its terminator and the two bytes EM_GETLINE needs at least.
            length = static_cast<size_t>(GetEditLine(edits[k], slot, static_cast<int>(lengths[k] + 1)));
        }
        form->fields[k] = std::string_view(slot, length);
        slot += lengths[k] + 3;
    }
    return 1;
}

int AppendMyFood(HWND dialog) {
    FoodForm form;
    if (!ReadFoodForm(dialog, &form)) return 0;
    FieldFailure failure;
    if (!CheckMyFoodFields(form.fields, &failure)) {
        ShowFieldMessage(dialog, failure);
        return 0;
    }
    size_t lineLength = AssembleMyFoodLine(form.fields, form.line, form.lineCapacity);
    if (lineLength == 0) return 0;
    return AppendMyFoodLine(form.line, lineLength);
}

int AppendMyFoodLine(const char* line, size_t size) {
    return AppendLineToFile(kMyFoodsPath, line, size);
}

namespace {

void FillFromLine(HWND dialog, const MyFoodFields& fields) {
    for (int k = 0; k < kMyFoodFieldCount; ++k) {
        const char* text = fields.text[k];
        if (k == kMyFoodMeasureField) {
            if (g_measurePicker) SetWindowTextA(PickerEdit(g_measurePicker), text);
        } else if (k == kMyFoodSecondMeasureField) {
            if (g_secondMeasurePicker) {
                SendMessageA(g_secondMeasurePicker, CB_SETCURSEL,
                             static_cast<WPARAM>(SecondMeasurePickerRow(text)), 0);
            }
        } else {
            SetDlgItemTextA(dialog, IDC_FOOD_FIELD_FIRST + k, text);
        }
    }
}

}  // namespace

int FillFoodDialog(HWND dialog, LPARAM offset) {
    if (offset < 0) return 0;
    FileImage image;
    size_t at = 0;
    if (ReadLineOfFile(kMyFoodsPath, static_cast<size_t>(offset), &image, &at) != ReadResult::kOk) return 0;
    MyFoodFields fields;
    if (!ReadMyFoodFields(std::string_view(image.Data(), image.Size()), at, &fields)) {
        return 0;
    }
    FillFromLine(dialog, fields);
    return 1;
}

// The check and the fill read the same bytes, so the form holds exactly the line that was checked.
FoodUpdate LoadListedFood(HWND dialog, const ListedFood& food, std::string* filledLine) {
    FileImage image;
    size_t at = 0;
    ReadResult read = ReadLineOfFile(kMyFoodsPath, food.offset, &image, &at);
    if (read == ReadResult::kNoMemory) ShowMallocFailed();
    if (read != ReadResult::kOk) return FoodUpdate::kCannotRead;
    std::string_view data(image.Data(), image.Size());
    if (!IsListedMyFood(data, at, food.text)) return FoodUpdate::kStale;
    MyFoodFields fields;
    if (!ReadMyFoodFields(data, at, &fields)) return FoodUpdate::kStale;
    FillFromLine(dialog, fields);
    filledLine->assign(LineBytesAt(data, at));
    return FoodUpdate::kDone;
}

// The file is held from the read on, and the file without the old line and with the new one at its
// end is written in one go: no failure can leave the file without the food, and no other copy's
// append can fall between the read and the write.
FoodUpdate ReplaceMyFood(HWND dialog, const FoodForm& form, const ListedFood& food, std::string_view filledLine) {
    FieldFailure failure;
    if (!CheckMyFoodFields(form.fields, &failure)) {
        ShowFieldMessage(dialog, failure);
        return FoodUpdate::kRefused;
    }
    size_t lineLength = AssembleMyFoodLine(form.fields, form.line, form.lineCapacity);
    if (lineLength == 0) return FoodUpdate::kCannotWrite;

    HeldFile file;
    ReadResult read = file.Open(kMyFoodsPath);
    if (read == ReadResult::kNoMemory) ShowMallocFailed();
    if (read != ReadResult::kOk) return FoodUpdate::kCannotRead;
    std::string_view data = file.Contents();
    if (!IsListedMyFood(data, food.offset, food.text) || LineBytesAt(data, food.offset) != filledLine)
        return FoodUpdate::kStale;
    size_t capacity = data.size() + lineLength + 2;
    HeapBuffer contents;
    contents.data = static_cast<char*>(std::malloc(capacity));
    if (!contents.data) {
        ShowMallocFailed();
        return FoodUpdate::kCannotWrite;
    }
    size_t newSize = 0;
    if (!MoveLineToEnd(data, food.offset, std::string_view(form.line, lineLength), contents.data, capacity,
                       &newSize)) {
        return FoodUpdate::kStale;
    }
    if (!file.Rewrite(contents.data, newSize)) return FoodUpdate::kCannotWrite;
    return FoodUpdate::kDone;
}
