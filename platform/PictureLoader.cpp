#include "PictureLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <optional>

#include "BitmapLength.h"
#include "CheckedConversion.h"
#include "DecoderWarnings.h"
#include "GifFirstImage.h"
#include "JpegDecoder.h"
#include "PictureFile.h"
#include "RuntimeError.h"

namespace picture {

namespace {

[[noreturn]] void invalidPicture(const QString& path, const QString& why) {
    RaiseInvalidPicture(path, why);
}

// Why a picture Qt's reader handed back without complaint is not whole: the readers of
// bitmap and GIF files stop at the end of a cut file without a word.
QString incompleteness(QFile& file, const QByteArray& format) {
    if (!file.seek(0))
        return QString();
    if (format == "bmp") {
        const qint64 needed = BitmapLengthNeeded(file.read(64));
        if (needed > file.size())
            return QString("pixel data cut short: %1 of %2 bytes").arg(file.size()).arg(needed);
    } else if (format == "gif") {
        return GifFirstImageFault(file.readAll());
    }
    return QString();
}

// Any other picture, through Qt's readers: upright and opaque at full size.
SourcePicture loadWithQt(const QString& path, QFile& file) {
    file.seek(0);
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    DecoderWarnings warnings;
    const QSize declared = reader.size();       // from the header; unknown once a read has failed
    const QByteArray format = reader.format();  // forgotten by some readers once they have read
    QImage image = reader.read();
    if (!image.isNull() && !warnings.messages().isEmpty()) {
        // Written out, the grey or black rest of a damaged picture would pass for a good one.
        invalidPicture(path, warnings.messages().join("; "));
    }
    if (image.isNull()) {
        QString why = reader.errorString();
        // Qt refuses a picture above its allocation limit with a text that blames the data.
        const qint64 bytes = qint64{declared.width()} * declared.height() * 4;
        if (declared.isValid() && bytes > qint64{reader.allocationLimit()} * 1024 * 1024)
            why = QString("too large (%1 x %2)").arg(declared.width()).arg(declared.height());
        invalidPicture(path, why);
    }
    if (const QString why = incompleteness(file, format); !why.isEmpty())
        invalidPicture(path, why);
    SourcePicture source;
    source.colourSpace = image.colorSpace();
    const QString name = QFileInfo(path).fileName();
    if (!image.hasAlphaChannel()) {
        source.pixels = ConvertChecked(image, QImage::Format_RGB32, name);
        return source;
    }
    // Blend over white by hand: no painter, so the headless command needs no GUI session.
    QImage argb = ConvertChecked(image, QImage::Format_ARGB32, name);
    for (int y = 0; y < argb.height(); ++y) {
        auto* px = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(px[x]);
            const auto over = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
            px[x] = qRgb(over(qRed(px[x])), over(qGreen(px[x])), over(qBlue(px[x])));
        }
    }
    source.pixels = ConvertChecked(argb, QImage::Format_RGB32, name);
    return source;
}

// The whole bytes of `path` when its content is a JPEG file. Read, not mapped: a file cut
// short by someone else while mapped would end the program.
std::optional<QByteArray> jpegBytes(QFile& file) {
    if (file.peek(3) == QByteArray("\xFF\xD8\xFF", 3))
        return file.readAll();
    return std::nullopt;
}

const uint8_t* bytesOf(const QByteArray& bytes) {
    return reinterpret_cast<const uint8_t*>(bytes.constData());
}

}  // namespace

SourcePicture LoadSource(const QString& path) {
    const auto file = OpenPictureFile(path);
    if (const auto bytes = jpegBytes(*file)) {
        if (auto decoded = DecodeJpeg(bytesOf(*bytes), static_cast<size_t>(bytes->size()),
                                      QFileInfo(path).fileName()))
            return std::move(*decoded);
    }
    return loadWithQt(path, *file);
}

SampledPicture LoadSampled(const QString& path, const std::function<QSize(QSize)>& canvasFor,
                           QSize previewSize) {
    const auto file = OpenPictureFile(path);
    if (const auto bytes = jpegBytes(*file)) {
        if (auto sampled = DecodeJpegSampled(bytesOf(*bytes), static_cast<size_t>(bytes->size()),
                                             QFileInfo(path).fileName(), canvasFor, previewSize))
            return std::move(*sampled);
    }
    const SourcePicture source = loadWithQt(path, *file);
    SampledPicture sampled;
    sampled.size = source.size();
    const QSize canvas = canvasFor(sampled.size);
    sampled.canvas = StretchSource(source, canvas.width(), canvas.height());
    if (!previewSize.isEmpty())
        sampled.preview = StretchSource(source, previewSize.width(), previewSize.height());
    return sampled;
}

QImage LoadPicture(const QString& path) {
    return LoadSource(path).upright();
}

}  // namespace picture
