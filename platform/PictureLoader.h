#pragma once

#include <QImage>
#include <QString>

// Loads a bitmap, GIF or JPEG file into an opaque 32-bit picture (QImage::Format_RGB32).
// EXIF orientation is applied and Qt's allocation limit is kept; transparent areas become
// white. A file that cannot be read as a picture raises RuntimeError 481 naming the file.
namespace picture {
QImage LoadPicture(const QString& path);
}  // namespace picture
