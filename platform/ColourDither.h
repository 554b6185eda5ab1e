#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "GifIndexedImage.h"

namespace gif {

// Maps every pixel of a picture (QImage::Format_RGB32) to a palette index with
// Floyd-Steinberg error diffusion: the difference between a pixel and the palette colour it
// gets is passed on to its unvisited neighbours (7/16 ahead, 3/16, 5/16 and 1/16 on the next
// row), so that areas keep their mean colour instead of falling into flat bands. Rows are
// walked in alternate directions (serpentine), which avoids diagonal drift patterns.
std::vector<std::uint8_t> ditherToPalette(const QImage& picture, const Palette& palette);

}  // namespace gif
