#include "make_images.h"

#include <cstddef>

#include "platform/byte_order.h"

// The order is the one Windows uses for 4-bit bitmaps. Light grey (7) is what the toolbar turns into
// the button face colour, so it serves as the background of every toolbar image.
const uint8_t kStandardPalette[16][3] = {
    {0, 0, 0},        // 0 black
    {128, 0, 0},      // 1 dark red
    {0, 128, 0},      // 2 dark green
    {128, 128, 0},    // 3 olive
    {0, 0, 128},      // 4 navy
    {128, 0, 128},    // 5 purple
    {0, 128, 128},    // 6 teal
    {192, 192, 192},  // 7 light grey
    {128, 128, 128},  // 8 dark grey
    {255, 0, 0},      // 9 red
    {0, 255, 0},      // 10 green
    {255, 255, 0},    // 11 yellow
    {0, 0, 255},      // 12 blue
    {255, 0, 255},    // 13 magenta
    {0, 255, 255},    // 14 cyan
    {255, 255, 255},  // 15 white
};

namespace {

constexpr int kMaxImageSide = 256;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 16 * 4;
constexpr uint32_t kIconDirSize = 6;
constexpr uint32_t kIconEntrySize = 16;

void SetError(std::string* error, const std::string& message) {
    if (error) *error = message;
}

std::string LineError(int lineNumber, const std::string& message) {
    return "line " + std::to_string(lineNumber) + ": " + message;
}

void PutU8(std::vector<uint8_t>* out, uint32_t value) { AppendLittleEndian(out, value, 1); }
void PutU16(std::vector<uint8_t>* out, uint32_t value) { AppendLittleEndian(out, value, 2); }
void PutU32(std::vector<uint8_t>* out, uint32_t value) { AppendLittleEndian(out, value, 4); }

// Rows of a device-independent bitmap are padded to whole 32-bit words.
uint32_t RowStride(int width, int bitsPerPixel) {
    return ((static_cast<uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// Splits off the next blank-separated word; an empty result means none is left.
std::string_view NextWord(std::string_view* rest) {
    size_t start = 0;
    while (start < rest->size() && ((*rest)[start] == ' ' || (*rest)[start] == '\t'))
        ++start;
    size_t end = start;
    while (end < rest->size() && (*rest)[end] != ' ' && (*rest)[end] != '\t')
        ++end;
    std::string_view word = rest->substr(start, end - start);
    rest->remove_prefix(end);
    return word;
}

// A small non-negative decimal number; anything else (sign, other characters, too long) fails.
int ParseSmallNumber(std::string_view word, int* value) {
    if (word.empty() || word.size() > 4) return 0;
    int result = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return 0;
        result = result * 10 + (c - '0');
    }
    *value = result;
    return 1;
}

int CheckPixels(const PixelImage& image, bool allowTransparent, std::string* error) {
    if (image.width < 1 || image.height < 1 || image.width > kMaxImageSide || image.height > kMaxImageSide) {
        SetError(error, "image '" + image.name + "' has an unsupported size");
        return 0;
    }
    if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        SetError(error, "image '" + image.name + "' has the wrong number of pixels");
        return 0;
    }
    for (int p : image.pixels) {
        if (p == kTransparentPixel && allowTransparent) continue;
        if (p < 0 || p > 15) {
            SetError(error, p == kTransparentPixel
                                ? "image '" + image.name + "' has transparent pixels"
                                : "image '" + image.name + "' has a pixel outside the palette");
            return 0;
        }
    }
    return 1;
}

void PutPalette(std::vector<uint8_t>* out) {
    for (const auto& rgb : kStandardPalette) {
        PutU8(out, rgb[2]);
        PutU8(out, rgb[1]);
        PutU8(out, rgb[0]);
        PutU8(out, 0);
    }
}

void PutInfoHeader(std::vector<uint8_t>* out, int width, int height, uint32_t imageSize) {
    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<uint32_t>(width));
    PutU32(out, static_cast<uint32_t>(height));
    PutU16(out, 1);  // planes
    PutU16(out, 4);  // bits per pixel
    PutU32(out, 0);  // uncompressed
    PutU32(out, imageSize);
    PutU32(out, 0);  // no preferred resolution
    PutU32(out, 0);
    PutU32(out, 16);  // palette entries
    PutU32(out, 0);
}

// Bottom-up rows, two pixels a byte with the left one in the high nibble. See-through pixels are
// written as index 0: the icon's mask makes them transparent.
void PutXorRows(std::vector<uint8_t>* out, const PixelImage& image) {
    const uint32_t stride = RowStride(image.width, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < image.width; ++x) {
            int p = image.pixels[static_cast<size_t>(y) * image.width + x];
            uint8_t index = static_cast<uint8_t>(p == kTransparentPixel ? 0 : p);
            row[x / 2] |= (x % 2 == 0) ? static_cast<uint8_t>(index << 4) : index;
        }
        out->insert(out->end(), row.begin(), row.end());
    }
}

// Bottom-up rows, one bit a pixel, leftmost pixel in the highest bit; 1 lets the background through.
void PutAndRows(std::vector<uint8_t>* out, const PixelImage& image) {
    const uint32_t stride = RowStride(image.width, 1);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < image.width; ++x) {
            if (image.pixels[static_cast<size_t>(y) * image.width + x] == kTransparentPixel) {
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out->insert(out->end(), row.begin(), row.end());
    }
}

// Splits off the next line, without its line feed and a carriage return before it.
std::string_view NextLine(std::string_view* text) {
    size_t end = text->find('\n');
    std::string_view line = text->substr(0, end);
    text->remove_prefix(end == std::string_view::npos ? text->size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// One pass over a pixel map: the legend so far, and the image whose rows are still to come.
struct PixelArtParse {
    std::vector<PixelImage>* images;
    std::string* error;
    int legend[256] = {};
    bool known[256] = {};
    int lineNumber = 0;
    PixelImage* current = nullptr;  // valid while rowsLeft > 0: no image is added before its rows end
    int rowsLeft = 0;
};

int FailAt(PixelArtParse* parse, const std::string& message) {
    SetError(parse->error, LineError(parse->lineNumber, message));
    return 0;
}

int TakeRow(PixelArtParse* parse, std::string_view line) {
    PixelImage* image = parse->current;
    if (line.size() != static_cast<size_t>(image->width)) {
        return FailAt(parse, "row of image '" + image->name + "' must have " + std::to_string(image->width) +
                                 " characters");
    }
    for (char c : line) {
        unsigned char key = static_cast<unsigned char>(c);
        if (!parse->known[key])
            return FailAt(parse, std::string("character '") + c + "' is not in the legend");
        image->pixels.push_back(parse->legend[key]);
    }
    --parse->rowsLeft;
    return 1;
}

int TakeColor(PixelArtParse* parse, std::string_view rest) {
    std::string_view symbol = NextWord(&rest);
    std::string_view value = NextWord(&rest);
    if (symbol.size() != 1 || value.empty())
        return FailAt(parse, "expected: color <char> <0..15|none> [description]");
    unsigned char key = static_cast<unsigned char>(symbol.front());
    if (parse->known[key])
        return FailAt(parse, std::string("character '") + symbol.front() + "' is already in the legend");
    int index = 0;
    if (value == "none") {
        index = kTransparentPixel;
    } else if (!ParseSmallNumber(value, &index) || index > 15) {
        return FailAt(parse, "palette index must be 0 to 15 or none");
    }
    parse->legend[key] = index;
    parse->known[key] = true;
    return 1;
}

int TakeImage(PixelArtParse* parse, std::string_view rest) {
    PixelImage image;
    image.name = std::string(NextWord(&rest));
    if (image.name.empty() || !ParseSmallNumber(NextWord(&rest), &image.width) ||
        !ParseSmallNumber(NextWord(&rest), &image.height) || !NextWord(&rest).empty() || image.width < 1 ||
        image.height < 1 || image.width > kMaxImageSide || image.height > kMaxImageSide) {
        return FailAt(parse, "expected: image <name> <width> <height>, sides 1 to 256");
    }
    parse->images->push_back(image);
    parse->current = &parse->images->back();
    parse->current->pixels.reserve(static_cast<size_t>(image.width) * image.height);
    parse->rowsLeft = image.height;
    return 1;
}

int TakeLine(PixelArtParse* parse, std::string_view line) {
    ++parse->lineNumber;
    if (parse->rowsLeft > 0) return TakeRow(parse, line);
    std::string_view rest = line;
    std::string_view keyword = NextWord(&rest);
    if (keyword.empty() || keyword.front() == '#') return 1;
    if (keyword == "color") return TakeColor(parse, rest);
    if (keyword == "image") return TakeImage(parse, rest);
    return FailAt(parse, "unknown keyword '" + std::string(keyword) + "'");
}

int FinishPixelArt(const PixelArtParse& parse) {
    if (parse.rowsLeft > 0) {
        SetError(parse.error, "image '" + parse.current->name + "' ends after " +
                                  std::to_string(parse.current->height - parse.rowsLeft) + " of its " +
                                  std::to_string(parse.current->height) + " rows");
        return 0;
    }
    if (parse.images->empty()) {
        SetError(parse.error, "no image");
        return 0;
    }
    return 1;
}

}  // namespace

// Format of a pixel map:
//   # comment                       (outside image rows; blank lines are skipped there too)
//   color <char> <0..15|none> ...   legend entry: one character, its palette index, free text
//   image <name> <width> <height>   followed by exactly <height> rows of <width> legend characters
// Legend entries hold for every later image of the same text.
int ParsePixelArt(std::string_view text, std::vector<PixelImage>* images, std::string* error) {
    images->clear();
    PixelArtParse parse = {images, error};
    while (!text.empty()) {
        if (!TakeLine(&parse, NextLine(&text))) return 0;
    }
    return FinishPixelArt(parse);
}

std::vector<uint8_t> EncodeBmp4(const PixelImage& image, std::string* error) {
    std::vector<uint8_t> out;
    if (!CheckPixels(image, false, error)) return out;
    const uint32_t imageSize = RowStride(image.width, 4) * static_cast<uint32_t>(image.height);
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
    out.reserve(offset + imageSize);
    PutU8(&out, 'B');
    PutU8(&out, 'M');
    PutU32(&out, offset + imageSize);
    PutU32(&out, 0);  // two reserved words
    PutU32(&out, offset);
    PutInfoHeader(&out, image.width, image.height, imageSize);
    PutPalette(&out);
    PutXorRows(&out, image);
    return out;
}

std::vector<uint8_t> EncodeIcon4(const std::vector<PixelImage>& images, std::string* error) {
    std::vector<uint8_t> out;
    if (images.empty() || images.size() > 0xFFFF) {
        SetError(error, "an icon needs 1 to 65535 images");
        return out;
    }
    for (const PixelImage& image : images) {
        if (!CheckPixels(image, true, error)) return out;
    }
    PutU16(&out, 0);  // reserved
    PutU16(&out, 1);  // icon, not cursor
    PutU16(&out, static_cast<uint32_t>(images.size()));
    uint32_t offset = kIconDirSize + kIconEntrySize * static_cast<uint32_t>(images.size());
    for (const PixelImage& image : images) {
        const uint32_t pixelBytes = (RowStride(image.width, 4) + RowStride(image.width, 1)) * image.height;
        const uint32_t size = kInfoHeaderSize + kPaletteSize + pixelBytes;
        PutU8(&out, image.width == kMaxImageSide ? 0 : image.width);
        PutU8(&out, image.height == kMaxImageSide ? 0 : image.height);
        PutU8(&out, 16);  // colours
        PutU8(&out, 0);
        PutU16(&out, 1);  // planes
        PutU16(&out, 4);  // bits per pixel
        PutU32(&out, size);
        PutU32(&out, offset);
        offset += size;
    }
    for (const PixelImage& image : images) {
        const uint32_t pixelBytes = (RowStride(image.width, 4) + RowStride(image.width, 1)) * image.height;
        // An icon's header counts the colour rows and the mask rows together: twice the height.
        PutInfoHeader(&out, image.width, image.height * 2, pixelBytes);
        PutPalette(&out);
        PutXorRows(&out, image);
        PutAndRows(&out, image);
    }
    return out;
}

std::vector<uint8_t> MakeToolbarBmp(std::string_view artText, std::string* error) {
    std::vector<PixelImage> images;
    if (!ParsePixelArt(artText, &images, error)) return {};
    if (images.size() != static_cast<size_t>(kToolbarImageCount)) {
        SetError(error, "the toolbar needs " + std::to_string(kToolbarImageCount) + " images, not " +
                            std::to_string(images.size()));
        return {};
    }
    PixelImage strip;
    strip.name = "toolbar";
    strip.width = kToolbarImageSize * kToolbarImageCount;
    strip.height = kToolbarImageSize;
    strip.pixels.assign(static_cast<size_t>(strip.width) * strip.height, 0);
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const PixelImage& image = images[i];
        if (image.width != kToolbarImageSize || image.height != kToolbarImageSize) {
            SetError(error, "toolbar image '" + image.name + "' must be 24x24");
            return {};
        }
        for (int y = 0; y < kToolbarImageSize; ++y) {
            for (int x = 0; x < kToolbarImageSize; ++x) {
                strip.pixels[static_cast<size_t>(y) * strip.width + i * kToolbarImageSize + x] =
                    image.pixels[static_cast<size_t>(y) * kToolbarImageSize + x];
            }
        }
    }
    return EncodeBmp4(strip, error);
}

std::vector<uint8_t> MakeIcon(std::string_view artText, std::string* error) {
    std::vector<PixelImage> images;
    if (!ParsePixelArt(artText, &images, error)) return {};
    return EncodeIcon4(images, error);
}
