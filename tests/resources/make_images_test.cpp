#include "resources/make_images.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef PLATELOG_SOURCE_DIR
#error "PLATELOG_SOURCE_DIR must name the source tree"
#endif

namespace {

constexpr int kRed = 9;
constexpr int kDarkGreen = 2;
constexpr int kGreen = 10;
constexpr int kOlive = 3;
constexpr int kLightGrey = 7;

std::string ReadSourceFile(const std::string& relativePath) {
    std::ifstream in(std::string(PLATELOG_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << relativePath;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadSourceBytes(const std::string& relativePath) {
    std::string text = ReadSourceFile(relativePath);
    return std::vector<uint8_t>(text.begin(), text.end());
}

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
    return b.at(at) | (b.at(at + 1) << 8);
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

// Palette index of pixel (x, y), y counted from the top, read straight from a 4-bit bottom-up BMP.
int BmpPixel(const std::vector<uint8_t>& bmp, int x, int y) {
    const uint32_t width = U32(bmp, 18);
    const uint32_t height = U32(bmp, 22);
    const uint32_t stride = ((width * 4 + 31) / 32) * 4;
    const uint8_t byte = bmp.at(U32(bmp, 10) + (height - 1 - y) * stride + x / 2);
    return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

// Pixels of one colour within a column range [x0, x1) of a toolbar image, or within all of it.
int CountInColumns(const std::vector<uint8_t>& bmp, int image, int x0, int x1, int paletteIndex) {
    int count = 0;
    for (int y = 0; y < kToolbarImageSize; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (BmpPixel(bmp, image * kToolbarImageSize + x, y) == paletteIndex) ++count;
        }
    }
    return count;
}
int CountInToolbarImage(const std::vector<uint8_t>& bmp, int image, int paletteIndex) {
    return CountInColumns(bmp, image, 0, kToolbarImageSize, paletteIndex);
}

TEST(MakeImages, RegeneratesTheStoredToolbarBitmapAndIconByteForByte) {
    std::string error;
    std::vector<uint8_t> bmp = MakeToolbarBmp(ReadSourceFile("resources/art/toolbar.txt"), &error);
    ASSERT_FALSE(bmp.empty()) << error;
    EXPECT_EQ(bmp, ReadSourceBytes("resources/toolbar.bmp"));
    std::vector<uint8_t> icon = MakeIcon(ReadSourceFile("resources/art/icon.txt"), &error);
    ASSERT_FALSE(icon.empty()) << error;
    EXPECT_EQ(icon, ReadSourceBytes("resources/platelog.ico"));
}

TEST(MakeImages, ToolbarBitmapIs168By24WithSixteenColours) {
    const std::vector<uint8_t> bmp = ReadSourceBytes("resources/toolbar.bmp");
    ASSERT_GE(bmp.size(), 118u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp, 2), bmp.size());  // file size
    EXPECT_EQ(U32(bmp, 14), 40u);        // info header size
    EXPECT_EQ(U32(bmp, 18), 168u);       // width
    EXPECT_EQ(U32(bmp, 22), 24u);        // height, positive: bottom-up
    EXPECT_EQ(U16(bmp, 26), 1u);         // planes
    EXPECT_EQ(U16(bmp, 28), 4u);         // bits per pixel
    EXPECT_EQ(U32(bmp, 30), 0u);         // uncompressed
    const uint32_t colours = U32(bmp, 46) == 0 ? 16 : U32(bmp, 46);
    EXPECT_EQ(colours, 16u);
    EXPECT_EQ(U32(bmp, 10), 14u + 40u + colours * 4);  // pixels follow the palette
    EXPECT_EQ(U32(bmp, 34), 84u * 24u);                // image size: 84-byte rows, already word-aligned
    EXPECT_EQ(U32(bmp, 10) + U32(bmp, 34), bmp.size());
    for (int i = 0; i < 16; ++i) {
        const size_t entry = 54 + 4 * i;
        EXPECT_EQ(bmp[entry + 2], kStandardPalette[i][0]) << "red of colour " << i;
        EXPECT_EQ(bmp[entry + 1], kStandardPalette[i][1]) << "green of colour " << i;
        EXPECT_EQ(bmp[entry + 0], kStandardPalette[i][2]) << "blue of colour " << i;
        EXPECT_EQ(bmp[entry + 3], 0) << "reserved byte of colour " << i;
    }
}

TEST(MakeImages, StandardPaletteHasTheColoursTheImagesRelyOn) {
    const uint8_t red[3] = {255, 0, 0};
    const uint8_t lightGrey[3] = {192, 192, 192};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(kStandardPalette[kRed][c], red[c]);
        EXPECT_EQ(kStandardPalette[kLightGrey][c], lightGrey[c]);
    }
}

// The percent sign, the balance with an apple in each pan, and blank spares.
TEST(MakeImages, ToolbarImagesShowAPercentSignABalanceAndBlankSpares) {
    const std::vector<uint8_t> bmp = ReadSourceBytes("resources/toolbar.bmp");
    ASSERT_EQ(bmp.size(), 118u + 84u * 24u);
    EXPECT_GE(CountInToolbarImage(bmp, 0, kRed), 60);
    // Both rings: red in the upper left and in the lower right quarter.
    int upperLeft = 0;
    int lowerRight = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            if (BmpPixel(bmp, x, y) == kRed) ++upperLeft;
            if (BmpPixel(bmp, 12 + x, 12 + y) == kRed) ++lowerRight;
        }
    }
    EXPECT_GE(upperLeft, 15);
    EXPECT_GE(lowerRight, 15);
    EXPECT_EQ(BmpPixel(bmp, 0, 0), kLightGrey);
    EXPECT_EQ(BmpPixel(bmp, 23, 23), kLightGrey);

    EXPECT_GE(CountInToolbarImage(bmp, 1, kOlive), 40) << "the brass of the balance";
    EXPECT_GE(CountInColumns(bmp, 1, 0, 11, kRed), 12) << "apple in the left pan";
    EXPECT_GE(CountInColumns(bmp, 1, 13, 24, kRed), 12) << "apple in the right pan";
    EXPECT_GE(CountInColumns(bmp, 1, 0, 11, kGreen) + CountInColumns(bmp, 1, 0, 11, kDarkGreen), 1);
    EXPECT_GE(CountInColumns(bmp, 1, 13, 24, kGreen) + CountInColumns(bmp, 1, 13, 24, kDarkGreen), 1);
    EXPECT_EQ(BmpPixel(bmp, 24, 23), kLightGrey);

    for (int image = 2; image < kToolbarImageCount; ++image)
        EXPECT_EQ(CountInToolbarImage(bmp, image, kLightGrey), kToolbarImageSize * kToolbarImageSize) << image;
}

TEST(MakeImages, IconHoldsA32And16PixelImageWithMasks) {
    const std::vector<uint8_t> ico = ReadSourceBytes("resources/platelog.ico");
    ASSERT_GE(ico.size(), 6u + 2 * 16u);
    EXPECT_EQ(U16(ico, 0), 0u);
    EXPECT_EQ(U16(ico, 2), 1u);  // icon
    ASSERT_EQ(U16(ico, 4), 2u);
    const int sides[2] = {32, 16};
    uint32_t expectedOffset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sides[i]);
        const size_t entry = 6 + 16 * i;
        const uint32_t side = static_cast<uint32_t>(sides[i]);
        EXPECT_EQ(ico[entry], side);
        EXPECT_EQ(ico[entry + 1], side);
        EXPECT_EQ(ico[entry + 2], 16);  // colours
        EXPECT_EQ(U16(ico, entry + 4), 1u);
        EXPECT_EQ(U16(ico, entry + 6), 4u);
        const uint32_t xorStride = ((side * 4 + 31) / 32) * 4;
        const uint32_t andStride = ((side + 31) / 32) * 4;
        const uint32_t size = 40 + 64 + (xorStride + andStride) * side;
        EXPECT_EQ(U32(ico, entry + 8), size);
        ASSERT_EQ(U32(ico, entry + 12), expectedOffset);
        const size_t header = expectedOffset;
        EXPECT_EQ(U32(ico, header), 40u);
        EXPECT_EQ(U32(ico, header + 4), side);
        EXPECT_EQ(U32(ico, header + 8), side * 2);  // colour rows and mask rows
        EXPECT_EQ(U16(ico, header + 14), 4u);
        EXPECT_EQ(U32(ico, header + 20), (xorStride + andStride) * side);
        // The top-left corner is see-through: mask bit set, colour black. The top row is stored last.
        const size_t xorRows = header + 40 + 64;
        const size_t andRows = xorRows + xorStride * side;
        EXPECT_EQ(ico.at(andRows + andStride * (side - 1)) & 0x80, 0x80);
        EXPECT_EQ(ico.at(xorRows + xorStride * (side - 1)) >> 4, 0);
        // Something is drawn: some mask bits are clear.
        int opaque = 0;
        for (uint32_t y = 0; y < side; ++y) {
            for (uint32_t x = 0; x < side; ++x) {
                if ((ico.at(andRows + andStride * y + x / 8) & (0x80 >> (x % 8))) == 0) ++opaque;
            }
        }
        EXPECT_GE(opaque, static_cast<int>(side * side / 3));
        expectedOffset += size;
    }
    EXPECT_EQ(expectedOffset, ico.size());
}

TEST(MakeImages, IconShowsARedApple) {
    std::vector<PixelImage> images;
    std::string error;
    ASSERT_TRUE(ParsePixelArt(ReadSourceFile("resources/art/icon.txt"), &images, &error)) << error;
    ASSERT_EQ(images.size(), 2u);
    for (const PixelImage& image : images) {
        int red = 0;
        for (int p : image.pixels)
            red += p == kRed;
        EXPECT_GE(red, image.width * image.height / 8) << image.name;
    }
}

// Known bytes of a 3x2 bitmap: left pixel in the high nibble, bottom row first, rows padded to 4 bytes.
TEST(MakeImages, EncodesFourBitRowsBottomUpWithPadding) {
    PixelImage image;
    image.name = "tiny";
    image.width = 3;
    image.height = 2;
    image.pixels = {1, 2, 3,  //
                    4, 5, 15};
    std::string error;
    std::vector<uint8_t> bmp = EncodeBmp4(image, &error);
    ASSERT_EQ(bmp.size(), 118u + 8u) << error;
    EXPECT_EQ(U32(bmp, 2), 126u);
    EXPECT_EQ(U32(bmp, 34), 8u);
    const std::vector<uint8_t> pixels(bmp.begin() + 118, bmp.end());
    const std::vector<uint8_t> expected = {0x45, 0xF0, 0, 0, 0x12, 0x30, 0, 0};
    EXPECT_EQ(pixels, expected);
}

// Known mask bytes of a 9x1 icon: see-through pixels set their bit, leftmost pixel in the high bit.
TEST(MakeImages, EncodesIconMaskFromTransparentPixels) {
    PixelImage image;
    image.name = "strip";
    image.width = 9;
    image.height = 1;
    image.pixels = {kTransparentPixel, 9, 9, 9, 9, 9, 9, 9, kTransparentPixel};
    std::string error;
    std::vector<uint8_t> ico = EncodeIcon4({image}, &error);
    const size_t xorRows = 6 + 16 + 40 + 64;
    ASSERT_EQ(ico.size(), xorRows + 8 + 4) << error;
    EXPECT_EQ(ico[6], 9);
    EXPECT_EQ(ico[7], 1);
    const std::vector<uint8_t> xorRow(ico.begin() + xorRows, ico.begin() + xorRows + 8);
    const std::vector<uint8_t> expectedXor = {0x09, 0x99, 0x99, 0x99, 0x00, 0, 0, 0};
    EXPECT_EQ(xorRow, expectedXor);
    const std::vector<uint8_t> andRow(ico.begin() + xorRows + 8, ico.end());
    const std::vector<uint8_t> expectedAnd = {0x80, 0x80, 0, 0};
    EXPECT_EQ(andRow, expectedAnd);
}

TEST(MakeImages, ParsesLegendAndRows) {
    const char* art =
        "# comment\n"
        "color . 7 grey\r\n"
        "color R 9 red\n"
        "color - none\n"
        "\n"
        "image a 2 2\n"
        ".R\n"
        "-.\n";
    std::vector<PixelImage> images;
    std::string error;
    ASSERT_TRUE(ParsePixelArt(art, &images, &error)) << error;
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].name, "a");
    const std::vector<int> expected = {7, 9, kTransparentPixel, 7};
    EXPECT_EQ(images[0].pixels, expected);
}

TEST(MakeImages, RejectsMalformedPixelMaps) {
    const struct {
        const char* what;
        const char* art;
    } cases[] = {
        {"no image", "color . 7\n"},
        {"unknown character", "color . 7\nimage a 2 1\n.x\n"},
        {"short row", "color . 7\nimage a 2 2\n..\n.\n"},
        {"long row", "color . 7\nimage a 2 1\n...\n"},
        {"missing rows", "color . 7\nimage a 2 3\n..\n..\n"},
        {"palette index past 15", "color . 16\nimage a 1 1\n.\n"},
        {"negative palette index", "color . -1\nimage a 1 1\n.\n"},
        {"character defined twice", "color . 7\ncolor . 9\nimage a 1 1\n.\n"},
        {"legend symbol of two characters", "color .. 7\nimage a 1 1\n.\n"},
        {"zero width", "color . 7\nimage a 0 1\n\n"},
        {"side past 256", "color . 7\nimage a 257 1\n.\n"},
        {"image without size", "color . 7\nimage a\n.\n"},
        {"unknown keyword", "colour . 7\nimage a 1 1\n.\n"},
        {"character used before its legend entry", "image a 1 1\n.\ncolor . 7\n"},
    };
    for (const auto& c : cases) {
        std::vector<PixelImage> images;
        std::string error;
        EXPECT_FALSE(ParsePixelArt(c.art, &images, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_TRUE(MakeIcon(c.art, &error).empty()) << c.what;
    }
}

std::string BlankToolbarArt(int imageCount, int side) {
    std::string art = "color . 7\n";
    for (int i = 0; i < imageCount; ++i) {
        art += "image i" + std::to_string(i) + " " + std::to_string(side) + " " + std::to_string(side) + "\n";
        for (int y = 0; y < side; ++y)
            art += std::string(static_cast<size_t>(side), '.') + "\n";
    }
    return art;
}

TEST(MakeImages, ToolbarNeedsSevenOpaque24PixelImages) {
    std::string error;
    EXPECT_EQ(MakeToolbarBmp(BlankToolbarArt(7, 24), &error).size(), 118u + 84u * 24u) << error;
    EXPECT_TRUE(MakeToolbarBmp(BlankToolbarArt(6, 24), &error).empty());
    EXPECT_TRUE(MakeToolbarBmp(BlankToolbarArt(8, 24), &error).empty());
    EXPECT_TRUE(MakeToolbarBmp(BlankToolbarArt(7, 16), &error).empty());
    std::string seeThrough = BlankToolbarArt(7, 24);
    seeThrough.replace(0, 10, "color . none\n");
    EXPECT_TRUE(MakeToolbarBmp(seeThrough, &error).empty());
    EXPECT_FALSE(error.empty());
}

TEST(MakeImages, ToolbarImagesAreLaidSideBySideInOrder) {
    std::string art = BlankToolbarArt(7, 24);
    art.replace(0, 10, "color . 7\ncolor R 9\n");
    // Mark the top-left pixel of image 3 only.
    const std::string header = "image i3 24 24\n";
    const size_t at = art.find(header) + header.size();
    art[at] = 'R';
    std::string error;
    std::vector<uint8_t> bmp = MakeToolbarBmp(art, &error);
    ASSERT_FALSE(bmp.empty()) << error;
    EXPECT_EQ(BmpPixel(bmp, 3 * 24, 0), kRed);
    EXPECT_EQ(CountInToolbarImage(bmp, 3, kRed), 1);
    for (int image : {0, 1, 2, 4, 5, 6})
        EXPECT_EQ(CountInToolbarImage(bmp, image, kRed), 0) << image;
}

}  // namespace
