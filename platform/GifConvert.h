#pragma once

#include <QImage>
#include <QString>

#include "GifIndexedImage.h"

// The picture-format component that turns a bitmap file into a GIF file. A picture of at most
// 256 colours keeps every pixel exactly; one of more colours is reduced to a 256-colour
// palette (median cut refined by k-means) and dithered (Floyd-Steinberg).
class GifConvert {
  public:
    // Reads the picture in `bitmapPath` and writes it to `gifPath` as a GIF file holding one
    // image, replacing an existing file. Raises tessaro::RuntimeError 481 naming the file when
    // the bitmap cannot be read, 75 when the GIF cannot be written, 7 when memory runs out.
    static void convert(const QString& bitmapPath, const QString& gifPath);

    // Writes `picture` to `gifPath` the same way, straight from memory, so that no other
    // run's file can stand in for it. Errors name `sourceName`, the file the picture came
    // from.
    static void convertPicture(const QImage& picture, const QString& sourceName,
                               const QString& gifPath);

    // The two halves of convertPicture, so that the colour reduction can be done ahead of
    // the write: the picture as palette indices (errors name `sourceName`), then the file.
    static gif::IndexedImage indexPicture(const QImage& picture, const QString& sourceName);
    static void writeIndexed(const gif::IndexedImage& image, const QString& gifPath);
};
