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

void ShowFieldMessage(HWND dialog, const FieldFailure& failure) {
    char label[kLabelSize] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_FIELD_LABEL_FIRST + failure.field, label, kLabelSize) <=
        0) {
        label[0] = '\0';
    }
    char message[kMessageSize];
    FormatFieldMessage(failure.message, label, message, sizeof message);
    ShowMessageBox(dialog, message, nullptr, MB_OK);
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

}  // namespace

int LoadMyFoods(HWND list) {
    return FillFoodList(list, kMyFoodsPath, FoodFile::kMyFoods);
}

int GetMyFoodServing(char* text, size_t textSize, int* secondRow, LPARAM offset) {
    if (offset < 0 || textSize == 0) return 0;
    FileImage image;
    size_t at = 0;
    if (ReadLineOfFile(kMyFoodsPath, static_cast<size_t>(offset), &image, &at) != ReadResult::kOk) return 0;
    return ReadMyFoodServing(std::string_view(image.Data(), image.Size()), at, text, textSize, secondRow);
}

// The new contents go to a temporary file that then replaces the old one, so a failure at any
// step leaves the file byte for byte as it was.
int RemoveMyFood(HWND myFoodsList) {
    LRESULT selected = SendMessageA(myFoodsList, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return 0;
    size_t offset = 0;
    if (!OffsetOfItemData(SendMessageA(myFoodsList, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0),
                          &offset)) {
        return 0;
    }
    FileImage image;
    ReadResult read = ReadWholeFile(kMyFoodsPath, &image);
    if (read == ReadResult::kNoMemory) ShowMallocFailed();
    if (read != ReadResult::kOk) return 0;
    std::string_view data(image.Data(), image.Size());
    if (!IsLineStart(data, offset)) return 0;
    HeapBuffer contents;
    contents.data = static_cast<char*>(std::malloc(data.size() + 1));
    if (!contents.data) {
        ShowMallocFailed();
        return 0;
    }
    size_t newSize = 0;
    if (!CopyWithoutLine(data, offset, contents.data, data.size() + 1, &newSize)) return 0;
    return ReplaceFileContents(kMyFoodsPath, contents.data, newSize);
}

// One buffer, sized from the controls before anything is read, holds every field text and then
// the assembled line.
int AppendMyFood(HWND dialog) {
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
    HeapBuffer buffer;
    buffer.data = static_cast<char*>(std::malloc(textBytes + lineCapacity));
    if (!buffer.data) {
        ShowMallocFailed();
        return 0;
    }

    std::string_view fields[kMyFoodFieldCount];
    char* slot = buffer.data;
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
                slot[0] = '9';
                slot[1] = '9';
                length = 2;
            }
        } else {
            // The slot holds the line, its terminator and the two bytes EM_GETLINE needs at least.
            length = static_cast<size_t>(GetEditLine(edits[k], slot, static_cast<int>(lengths[k] + 1)));
        }
        fields[k] = std::string_view(slot, length);
        slot += lengths[k] + 3;
    }

    FieldFailure failure;
    if (!CheckMyFoodFields(fields, &failure)) {
        ShowFieldMessage(dialog, failure);
        return 0;
    }
    char* line = buffer.data + textBytes;
    size_t lineLength = AssembleMyFoodLine(fields, line, lineCapacity);
    if (lineLength == 0) return 0;
    return AppendToFile(kMyFoodsPath, line, lineLength);
}

int FillFoodDialog(HWND dialog, LPARAM offset) {
    if (offset < 0) return 0;
    FileImage image;
    size_t at = 0;
    if (ReadLineOfFile(kMyFoodsPath, static_cast<size_t>(offset), &image, &at) != ReadResult::kOk) return 0;
    MyFoodFields fields;
    if (!ReadMyFoodFields(std::string_view(image.Data(), image.Size()), at, &fields)) {
        return 0;
    }
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
    return 1;
}
