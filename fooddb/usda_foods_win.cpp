#include "fooddb/food_files_win.h"

#include "platform/file_io.h"

int LoadUsdaFoods(HWND list) {
    return FillFoodList(list, kUsdaPath, FoodFile::kUsda);
}

int GetUsdaServings(char* first, size_t firstSize, char* second, size_t secondSize, LPARAM offset) {
    if (offset < 0 || firstSize == 0 || secondSize == 0) return 0;
    FileImage image;
    size_t at = 0;
    if (ReadLineOfFile(kUsdaPath, static_cast<size_t>(offset), &image, &at) != ReadResult::kOk) return 0;
    return ReadUsdaServings(std::string_view(image.Data(), image.Size()), at, first, firstSize, second,
                            secondSize);
}
