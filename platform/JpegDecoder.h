#pragma once

#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "SourcePicture.h"

namespace picture {

// The smallest decoding scale, in eighths (1..8), at which a picture stored as `stored`
// still measures at least `needed` both ways (a side of n pixels decodes to ceil(n * m / 8)
// at m eighths); 8 when even the full size is smaller.
int SmallestScale(QSize stored, QSize needed);

// Decodes the bytes of a JPEG file with libjpeg-turbo at the smallest scale that still gives
// `canvasFor(full upright size)` both ways; at full scale when `canvasFor` is empty, and at
// the smallest when it raises (the size then fails again where it is computed). The Exif
// orientation and the embedded colour profile are read, not applied. Returns nothing for the
// colour models left to Qt's reader (CMYK, YCCK). Damaged data, or any warning the decoder
// raises, raises RuntimeError 481 naming `name` with the decoder's reason; a picture above
// Qt's allocation limit is named too large; 7 when the pixels cannot be allocated.
std::optional<SourcePicture> DecodeJpeg(const uint8_t* data, size_t size, const QString& name,
                                        const std::function<QSize(QSize)>& canvasFor);

}  // namespace picture
