// The My Foods readers and writers on arbitrary bytes at arbitrary offsets, and the promise of the
// field checks: a line they accept reads back field for field.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fooddb/field_rules.h"
#include "fooddb/food_files.h"
#include "platform/text.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void ReadAtOffset(std::string_view data, size_t offset) {
    bool lineStart = IsLineStart(data, offset);
    char text[kFieldTextSize];
    int row = 99;
    Check(ReadMyFoodServing(data, offset, text, sizeof text, &row) == (lineStart ? 1 : 0));
    if (lineStart) Check(row >= kNoMeasureRow && row <= 7);

    static MyFoodFields fields;
    if (ReadMyFoodFields(data, offset, &fields)) {
        for (const auto& field : fields.text)
            Check(std::memchr(field, '\0', sizeof field) != nullptr);
        int pickerRow = SecondMeasurePickerRow(fields.text[kMyFoodSecondMeasureField]);
        Check(pickerRow >= kNoMeasureRow && pickerRow < kSecondMeasureRows);
    }

    std::string contents(data.size() + 1, '\0');
    size_t length = 0;
    if (CopyWithoutLine(data, offset, &contents[0], contents.size(), &length)) {
        Check(lineStart);
        size_t end = 0;
        Check(LineSpanAt(data, offset, &end) == 1);
        Check(end > offset && end <= data.size());
        Check(length == data.size() - (end - offset));
        Check(contents.compare(0, offset, data.substr(0, offset)) == 0);
        Check(contents.compare(offset, length - offset, data.substr(end)) == 0);
    } else {
        Check(!lineStart);
    }
}

// The fields of a new line taken from the input, split at byte 0x01 so that they may hold anything else.
void AssembleAndReadBack(std::string_view input) {
    std::string_view fields[kMyFoodFieldCount];
    size_t start = 0;
    for (int k = 0; k < kMyFoodFieldCount && start <= input.size(); ++k) {
        size_t end = input.find('\x01', start);
        if (end == std::string_view::npos) end = input.size();
        fields[k] = input.substr(start, end - start);
        start = end + 1;
    }
    FieldFailure failure = {-1, nullptr, false};
    if (!CheckMyFoodFields(fields, &failure)) {
        Check(failure.field >= 0 && failure.field < kMyFoodFieldCount && failure.message != nullptr);
        char message[256];
        FormatFieldMessage(failure.message, "Serving Size Measure", message, sizeof message);
        Check(std::strlen(message) < sizeof message);
        return;
    }
    std::string line(MyFoodLineLength(fields), '\0');
    Check(AssembleMyFoodLine(fields, &line[0], line.size()) == line.size());
    Check(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);

    // Appended to a file, the line is one more food whose fields read back exactly.
    std::string file = "Other^1\r\n" + line;
    size_t position = 0;
    FoodListItem item;
    Check(NextFoodListItem(file, FoodFile::kMyFoods, &position, &item) && item.offset == 0);
    Check(NextFoodListItem(file, FoodFile::kMyFoods, &position, &item) && item.offset == 9);
    Check(item.text == fields[0]);
    Check(!NextFoodListItem(file, FoodFile::kMyFoods, &position, &item));
    static MyFoodFields back;
    Check(ReadMyFoodFields(file, 9, &back) == 1);
    for (int k = 0; k < kMyFoodFieldCount; ++k)
        Check(fields[k] == back.text[k]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size < 2) return 0;
    size_t offset = static_cast<size_t>(bytes[0]) << 8 | bytes[1];
    std::string_view data(reinterpret_cast<const char*>(bytes + 2), size - 2);

    size_t position = 0;
    size_t listed = 0;
    FoodListItem item;
    while (NextFoodListItem(data, FoodFile::kMyFoods, &position, &item)) {
        Check(IsLineStart(data, item.offset));
        Check(item.text.size() < kItemTextSize);
        ++listed;
        if (listed <= 8) ReadAtOffset(data, item.offset);
    }
    Check(listed <= data.size());
    ReadAtOffset(data, offset);
    AssembleAndReadBack(data);
    return 0;
}
