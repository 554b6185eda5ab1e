#pragma once

#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "SampledPicture.h"

namespace picture {

// The scale, in eighths, to decode a JPEG picture stored as `stored` at before it is filtered
// down to `sizes` (in stored axes): the smallest of 1/8, 2/8 and 4/8 that leaves at least twice
// each size along both axes, so the filter still has the detail to work with, or the full size
// when none does.
int JpegScaleEighths(QSize stored, const std::vector<QSize>& sizes);

// The canvas of `canvasFor(full upright size)` pixels and, unless `previewSize` is empty, the
// preview, resized with the smooth filter from the rows as they are decoded at a reduced
// scale, turned upright and converted to sRGB; the whole picture is never held. Nothing for
// the colour models left to Qt's reader. Errors as DecodeJpegSampled's, with the same texts.
std::optional<SampledPicture> DecodeJpegSmooth(const uint8_t* data, size_t size,
                                               const QString& name,
                                               const std::function<QSize(QSize)>& canvasFor,
                                               QSize previewSize);

}  // namespace picture
