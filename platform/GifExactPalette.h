#pragma once

#include <QImage>
#include <optional>

#include "GifIndexedImage.h"

namespace gif {

// Indexes a picture (QImage::Format_RGB32) that has at most 256 distinct colours with a
// palette of exactly those colours, in order of first appearance, so that the GIF keeps every
// pixel unchanged. Returns nothing as soon as a 257th colour turns up.
std::optional<IndexedImage> indexExactly(const QImage& picture);

}  // namespace gif
