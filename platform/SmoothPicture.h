#pragma once

#include <QSize>
#include <QString>
#include <functional>

#include "SampledPicture.h"
#include "SourcePicture.h"

namespace picture {

// As LoadSampled, with the same refusals and texts, but the canvas and the preview are resized
// with the smooth filter instead of point-sampled. A JPEG file is decoded at a reduced scale
// and filtered row by row, never held whole; any other picture is filtered from the whole
// picture Qt's reader gives.
SampledPicture LoadSmooth(const QString& path, const std::function<QSize(QSize)>& canvasFor,
                          QSize previewSize);

// The upright, sRGB picture `source` resized to `size` with the smooth filter. Raises
// RuntimeError 7 when it cannot be allocated.
QImage SmoothSource(const SourcePicture& source, QSize size);

}  // namespace picture
