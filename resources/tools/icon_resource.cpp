#include "icon_resource.h"

#include "byte_buffer.h"

#include <cstddef>

namespace resgen {
namespace {

// The standard Windows 16-colour palette, as 0xRRGGBB.
const std::uint32_t PALETTE[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr std::uint32_t INFO_HEADER_SIZE = 40;
constexpr std::uint16_t BITS_PER_PIXEL = 4;
constexpr std::uint32_t COLOUR_BITMAP_SIZE = ICON_SIZE * ICON_SIZE * BITS_PER_PIXEL / 8;
constexpr std::uint32_t MASK_ROW_BYTES = ICON_SIZE / 8;  // already a multiple of 4

int PixelValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c == '.') {
        return TRANSPARENT_PIXEL;
    }
    return -2;
}

}  // namespace

bool ParsePixelMap(const std::string& text, PixelMap& map, std::string& error)
{
    int row = 0;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (row == ICON_SIZE) {
            error = where + "more than 32 pixel rows";
            return false;
        }
        if (line.size() != ICON_SIZE) {
            error = where + "a pixel row has " + std::to_string(line.size()) + " characters, not 32";
            return false;
        }
        for (int x = 0; x < ICON_SIZE; ++x) {
            const int value = PixelValue(line[static_cast<std::size_t>(x)]);
            if (value == -2) {
                error = where + "column " + std::to_string(x + 1) + ": not a palette index (0-9, A-F) or '.'";
                return false;
            }
            map.pixels[row][x] = value;
        }
        ++row;
    }
    if (row != ICON_SIZE) {
        error = "only " + std::to_string(row) + " pixel rows, not 32";
        return false;
    }
    return true;
}

std::vector<std::uint8_t> BuildIconImage(const PixelMap& map)
{
    ByteBuffer out;
    // BITMAPINFOHEADER; the height counts colour bitmap and mask together.
    out.Dword(INFO_HEADER_SIZE);
    out.Dword(ICON_SIZE);
    out.Dword(2 * ICON_SIZE);
    out.Word(1);  // planes
    out.Word(BITS_PER_PIXEL);
    out.Dword(0);  // BI_RGB
    out.Dword(COLOUR_BITMAP_SIZE);
    out.Dword(0);  // pixels per metre, x
    out.Dword(0);  // pixels per metre, y
    out.Dword(0);  // colours used: all 16
    out.Dword(0);  // important colours: all

    for (std::uint32_t rgb : PALETTE) {  // RGBQUAD: blue, green, red, 0
        out.Byte(static_cast<std::uint8_t>(rgb));
        out.Byte(static_cast<std::uint8_t>(rgb >> 8));
        out.Byte(static_cast<std::uint8_t>(rgb >> 16));
        out.Byte(0);
    }

    // Both bitmaps run bottom-up. A transparent pixel is black in the colour
    // bitmap and set in the mask, so the screen shows through unchanged.
    for (int y = ICON_SIZE - 1; y >= 0; --y) {
        for (int x = 0; x < ICON_SIZE; x += 2) {
            const int left = map.pixels[y][x] < 0 ? 0 : map.pixels[y][x];
            const int right = map.pixels[y][x + 1] < 0 ? 0 : map.pixels[y][x + 1];
            out.Byte(static_cast<std::uint8_t>((left << 4) | right));
        }
    }
    for (int y = ICON_SIZE - 1; y >= 0; --y) {
        for (std::uint32_t b = 0; b < MASK_ROW_BYTES; ++b) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (map.pixels[y][static_cast<int>(b) * 8 + bit] == TRANSPARENT_PIXEL) {
                    bits = static_cast<std::uint8_t>(bits | (0x80 >> bit));
                }
            }
            out.Byte(bits);
        }
    }
    return out.Bytes();
}

std::vector<std::uint8_t> BuildIconGroup(std::uint32_t imageSize, std::uint16_t imageId)
{
    ByteBuffer out;
    out.Word(0);  // reserved
    out.Word(1);  // type: icon
    out.Word(1);  // one image
    out.Byte(ICON_SIZE);
    out.Byte(ICON_SIZE);
    out.Byte(4);  // colour count as declared for this icon; the only image is chosen regardless
    out.Byte(0);  // reserved
    out.Word(1);  // planes
    out.Word(BITS_PER_PIXEL);
    out.Dword(imageSize);
    out.Word(imageId);
    return out.Bytes();
}

std::vector<std::uint8_t> BuildIconFile(const std::vector<std::uint8_t>& image)
{
    constexpr std::uint32_t HEADER_SIZE = 6 + 16;
    ByteBuffer out;
    out.Word(0);
    out.Word(1);
    out.Word(1);
    out.Byte(ICON_SIZE);
    out.Byte(ICON_SIZE);
    out.Byte(16);  // viewers expect the true colour count in a file
    out.Byte(0);
    out.Word(1);
    out.Word(BITS_PER_PIXEL);
    out.Dword(static_cast<std::uint32_t>(image.size()));
    out.Dword(HEADER_SIZE);
    out.Append(image);
    return out.Bytes();
}

}  // namespace resgen
