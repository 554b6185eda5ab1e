// Style 10: fixed artwork on the rounded window shape, drawn row by row.
#include <algorithm>

#include "PixelPainter.h"
#include "StyleContext.h"
#include "WindowRegion.h"

namespace tessaro::button {

namespace {

struct Artwork {
    uint32_t border;
    uint32_t innerRing;
    uint32_t upperFace;
    uint32_t lowerFace;
};

// Normal: whites and pale greys.
constexpr Artwork kNormal{0x9C9C9C, 0xFEFEFE, 0xF5F5F5, 0xECECEC};
// Hot or focused: light blue.
constexpr Artwork kHot{0xE2A66A, 0xE6AC76, 0xFEF8F0, 0xFAEEE0};
// Pressed: darker blue.
constexpr Artwork kPressed{0xCC9B6A, 0xD0A175, 0xF6E8DA, 0xF0DDC8};

const Artwork& artworkFor(const StyleContext& c) {
    switch (c.state) {
        case 1:
            return c.focusOrDefault() ? kHot : kNormal;
        case 4:
            return c.hasFocus ? kHot : kNormal;
        case 2:
        case 5:
            return kHot;
        default:
            return kPressed;
    }
}

// On row y, the border runs from the row's own inset to where the neighbouring row nearer the
// top or bottom edge starts, so that the curve of the corner has no gaps.
int borderEnd(int y, int H) {
    const int inset = roundedRowInset(y, H);
    if (y == 0 || y == H - 1)
        return -1;  // the whole row
    const int outer = roundedRowInset(y < H / 2 ? y - 1 : y + 1, H);
    return std::max(inset + 1, outer);
}

}  // namespace

void drawArtworkStyle(StyleContext& c) {
    const Artwork& art = artworkFor(c);
    const int W = c.W;
    const int H = c.H;
    PixelPainter pp(c.surface);
    for (int y = 0; y < H; ++y) {
        const int inset = roundedRowInset(y, H);
        const int end = borderEnd(y, H);
        if (end < 0) {
            pp.line(inset, y, W - inset, y, art.border);
            continue;
        }
        // Inner ring on the rows next to the top and bottom border.
        const bool ringRow = y == 1 || y == H - 2;
        const uint32_t face = ringRow ? art.innerRing : (y < H / 2 ? art.upperFace : art.lowerFace);
        pp.line(end, y, W - end, y, face);
        pp.setPixel(end, y, art.innerRing);
        pp.setPixel(W - end - 1, y, art.innerRing);
        pp.line(inset, y, end, y, art.border);
        pp.line(W - end, y, W - inset, y, art.border);
    }
}

}  // namespace tessaro::button
