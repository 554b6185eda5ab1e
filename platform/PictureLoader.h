#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "SampledPicture.h"
#include "SourcePicture.h"

// Loads bitmap, GIF and JPEG files. The content decides the decoder, whatever the name says.
// EXIF orientation is applied and Qt's allocation limit is kept; transparent areas become
// white; an embedded colour profile is converted to sRGB. A file that cannot be read as a
// picture, or that its decoder warns about, raises RuntimeError 481 naming the file; so does
// anything but a regular file, at once (OpenPictureFile).
namespace picture {

// The picture as a batch needs it: the canvas of `canvasFor(full upright size)` pixels and,
// unless `previewSize` is empty, the preview, each point-sampled from the full picture. A
// JPEG file is sampled while it is decoded and never held whole. When `canvasFor` raises
// (no canvas fits), its exception passes on once the file has been read.
SampledPicture LoadSampled(const QString& path, const std::function<QSize(QSize)>& canvasFor,
                           QSize previewSize);

// The whole picture as loaded: a JPEG file's stored rows with their orientation and profile.
SourcePicture LoadSource(const QString& path);

// The whole picture, upright, in sRGB, as an opaque 32-bit picture (Format_RGB32).
QImage LoadPicture(const QString& path);

}  // namespace picture
