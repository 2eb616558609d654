// Turns the text pixel maps of art/ into the toolbar bitmap and the program icon, byte for byte
// the same on every run and every host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Pixel value of a legend entry marked "none": see-through (icons only).
constexpr int kTransparentPixel = -1;

// Toolbar strip: seven images of 24x24 side by side.
constexpr int kToolbarImageCount = 7;
constexpr int kToolbarImageSize = 24;

// The standard 16-colour palette, {red, green, blue} by index.
extern const uint8_t kStandardPalette[16][3];

struct PixelImage {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<int> pixels;  // palette index or kTransparentPixel, rows top to bottom
};

int ParsePixelArt(std::string_view text, std::vector<PixelImage>* images, std::string* error);
std::vector<uint8_t> EncodeBmp4(const PixelImage& image, std::string* error);
std::vector<uint8_t> EncodeIcon4(const std::vector<PixelImage>& images, std::string* error);
std::vector<uint8_t> MakeToolbarBmp(std::string_view artText, std::string* error);
std::vector<uint8_t> MakeIcon(std::string_view artText, std::string* error);
