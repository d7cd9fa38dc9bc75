// The application icon: one 32x32 image in the standard 16-colour palette.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

constexpr int ICON_SIZE = 32;
constexpr int TRANSPARENT_PIXEL = -1;

// Palette index (0..15) of each pixel, row by row from the top, or
// TRANSPARENT_PIXEL where the mask lets the background through.
struct PixelMap {
    int pixels[ICON_SIZE][ICON_SIZE];
};

// Reads the text form: 32 rows of 32 characters, '0'-'9' and 'A'-'F' naming
// palette indices and '.' a transparent pixel; lines starting with '#' and
// empty lines are comments. On failure returns false and says why in error.
bool ParsePixelMap(const std::string& text, PixelMap& map, std::string& error);

// RT_ICON image: BITMAPINFOHEADER, palette, colour bitmap, mask (744 bytes).
std::vector<std::uint8_t> BuildIconImage(const PixelMap& map);

// RT_GROUP_ICON directory naming that image as RT_ICON `imageId`.
std::vector<std::uint8_t> BuildIconGroup(std::uint32_t imageSize, std::uint16_t imageId);

// A stand-alone .ico file with the same image, for looking at it.
std::vector<std::uint8_t> BuildIconFile(const std::vector<std::uint8_t>& image);

}  // namespace resgen
