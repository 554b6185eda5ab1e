#pragma once

#include <cstdint>
#include <vector>

#include "GifIndexedImage.h"

namespace gif {

// Finds the palette entry nearest to a colour (squared RGB distance, the lowest index on a
// tie). The entries are kept sorted by green so that a search walks outwards from the
// query's green and stops once the green difference alone exceeds the best distance found.
class ColourNearestSearch {
  public:
    explicit ColourNearestSearch(const Palette& palette);

    int find(int r, int g, int b) const;

  private:
    struct Entry {
        int r, g, b, index;
    };
    std::vector<Entry> entries_;
    // entries_ position of the first entry whose green is >= g, for every g in 0..255.
    std::vector<int> firstAtGreen_;
};

}  // namespace gif
