#include "GifConvert.h"

#include <QImageReader>
#include <new>

#include "CheckedConversion.h"
#include "ColourDither.h"
#include "ColourQuantiser.h"
#include "FileName.h"
#include "GifExactPalette.h"
#include "GifWriter.h"
#include "PictureFile.h"
#include "RuntimeError.h"

namespace {

// The bitmap is the program's own canvas, which may well exceed Qt's default limit for
// pictures of unknown origin; still keep a bound so that a broken header cannot ask for
// gigabytes.
constexpr int kAllocationLimitMb = 1024;
constexpr int kMaxGifSide = 65535;

[[noreturn]] void invalidPicture(const QString& path, const QString& why) {
    throw tessaro::RuntimeError(
        tessaro::err::kInvalidPicture,
        filename::ErrorText(QString("Invalid picture: %1 (%2)").arg(path, why)));
}

QImage readBitmap(const QString& path) {
    const auto file = picture::OpenPictureFile(path, path);
    QImageReader reader(file.get());
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    QImage image = reader.read();
    if (image.isNull())
        invalidPicture(path, reader.errorString());
    return image;
}

// The picture as 32-bit pixels, checked: GIF has no partial transparency, so an alpha
// channel is dropped, not blended.
QImage gifPixels(const QImage& image, const QString& sourceName) {
    if (image.width() > kMaxGifSide || image.height() > kMaxGifSide) {
        invalidPicture(sourceName, QString("%1 x %2 pixels; a GIF image side holds at most %3")
                                       .arg(image.width())
                                       .arg(image.height())
                                       .arg(kMaxGifSide));
    }
    return ConvertChecked(image, QImage::Format_RGB32, sourceName);
}

gif::IndexedImage reduceColours(const QImage& picture) {
    if (auto exact = gif::indexExactly(picture))
        return std::move(*exact);
    gif::IndexedImage out;
    out.width = picture.width();
    out.height = picture.height();
    out.palette = gif::quantiseColours(picture, gif::kMaxPaletteColours);
    out.indices = gif::ditherToPalette(picture, out.palette);
    return out;
}

}  // namespace

void GifConvert::convert(const QString& bitmapPath, const QString& gifPath) {
    convertPicture(readBitmap(bitmapPath), bitmapPath, gifPath);
}

void GifConvert::convertPicture(const QImage& picture, const QString& sourceName,
                                const QString& gifPath) {
    writeIndexed(indexPicture(picture, sourceName), gifPath);
}

gif::IndexedImage GifConvert::indexPicture(const QImage& picture, const QString& sourceName) {
    try {
        return reduceColours(gifPixels(picture, sourceName));
    } catch (const std::bad_alloc&) {
        tessaro::err::raiseOutOfMemory();
    }
}

void GifConvert::writeIndexed(const gif::IndexedImage& image, const QString& gifPath) {
    try {
        gif::writeGif(image, gifPath);
    } catch (const std::bad_alloc&) {
        tessaro::err::raiseOutOfMemory();
    }
}
