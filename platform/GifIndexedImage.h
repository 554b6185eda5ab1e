#pragma once

#include <cstdint>
#include <vector>

namespace gif {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

using Palette = std::vector<Rgb>;

// The most colours one GIF palette holds.
inline constexpr int kMaxPaletteColours = 256;

// A picture as a GIF image holds it: a palette of at most 256 colours and one palette index
// per pixel, row by row from the top.
struct IndexedImage {
    int width = 0;
    int height = 0;
    Palette palette;
    std::vector<std::uint8_t> indices;
};

}  // namespace gif
