#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "SourcePicture.h"

// Loads bitmap, GIF and JPEG files. The content decides the decoder, whatever the name says.
// EXIF orientation is applied and Qt's allocation limit is kept; transparent areas become
// white; an embedded colour profile is converted to sRGB. A file that cannot be read as a
// picture, or that its decoder warns about, raises RuntimeError 481 naming the file.
namespace picture {

// The picture for a canvas of `canvasFor(full upright size)` pixels: a JPEG file is decoded
// at the smallest scale that still covers that canvas both ways, other files in full.
// `canvasFor` may raise (no canvas fits); the picture is then decoded as small as it can be.
SourcePicture LoadSource(const QString& path, const std::function<QSize(QSize)>& canvasFor);

// The whole picture, upright, in sRGB, as an opaque 32-bit picture (Format_RGB32).
QImage LoadPicture(const QString& path);

}  // namespace picture
