#include "fooddb/food_files_win.h"

#include "platform/file_io.h"

int LoadUsdaFoods(HWND list) {
    return FillFoodList(list, kUsdaPath, FoodFile::kUsda);
}

int GetUsdaServings(char* first, size_t firstSize, char* second, size_t secondSize, LPARAM offset) {
    if (offset < 0 || firstSize == 0 || secondSize == 0) return 0;
    FileImage image;
    if (ReadWholeFile(kUsdaPath, &image) != ReadResult::kOk) return 0;
    return ReadUsdaServings(std::string_view(image.Data(), image.Size()), static_cast<size_t>(offset), first,
                            firstSize, second, secondSize);
}
