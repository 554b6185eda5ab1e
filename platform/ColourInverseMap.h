#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ColourNearestSearch.h"
#include "GifIndexedImage.h"

namespace gif {

// Nearest-palette lookup with a cache over the colour cube cut into cells of 4 x 4 x 4 values
// (6 bits a channel): the first query in a cell searches the palette for the cell's centre,
// later queries read the answer. Dithering asks millions of times for few distinct cells.
class ColourInverseMap {
  public:
    explicit ColourInverseMap(const Palette& palette);

    std::uint8_t lookup(int r, int g, int b) {
        const int cell = ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
        std::int16_t& entry = cache_[static_cast<std::size_t>(cell)];
        if (entry < 0)
            entry =
                static_cast<std::int16_t>(search_.find((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2));
        return static_cast<std::uint8_t>(entry);
    }

  private:
    ColourNearestSearch search_;
    std::vector<std::int16_t> cache_;
};

}  // namespace gif
