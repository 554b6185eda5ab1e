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
#include "WatchedFile.h"

namespace picture {

namespace {

[[noreturn]] void invalidPicture(const QString& path, const QString& why) {
    throw tessaro::RuntimeError(
        tessaro::err::kInvalidPicture,
        QString("Invalid picture: %1 (%2)").arg(QFileInfo(path).fileName(), why).toStdString());
}

// Why a picture Qt's reader handed back without complaint is not whole: the readers of
// bitmap and GIF files stop at the end of a cut file without a word, and the bitmap reader
// leaves the pixels it never reached unset.
QString incompleteness(QFile& file, const QByteArray& format, const WatchedFile& read) {
    if (!file.seek(0))
        return QString();
    if (format == "bmp") {
        return BitmapFault(file.readAll(), read.firstSingleByte(), read.ranShort());
    } else if (format == "gif") {
        return GifFirstImageFault(file.readAll());
    }
    return QString();
}

[[noreturn]] void outOfMemory(const QString& path, QSize size) {
    throw tessaro::RuntimeError(tessaro::err::kOutOfMemory,
                                QString("Out of memory: %1 (%2 x %3 pixels)")
                                    .arg(QFileInfo(path).fileName())
                                    .arg(size.width())
                                    .arg(size.height())
                                    .toStdString());
}

// Any other picture, through Qt's readers: upright and opaque at full size. The warnings of a
// JPEG file's decoder are left out when its data was judged already.
SourcePicture loadWithQt(const QString& path, QFile& file, bool warningsJudged = false) {
    WatchedFile device(file);
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    DecoderWarnings warnings;
    const QSize declared = reader.size();       // from the header; unknown once a read has failed
    const QByteArray format = reader.format();  // forgotten by some readers once they have read
    device.forget();  // finding the format peeks at more bytes than a tiny file has
    QImage image = reader.read();
    if (!image.isNull() && !warnings.messages().isEmpty() && !warningsJudged) {
        // Written out, the grey or black rest of a damaged picture would pass for a good one.
        invalidPicture(path, warnings.messages().join("; "));
    }
    if (image.isNull()) {
        QString why = QFileInfo::exists(path) ? reader.errorString() : "file not found";
        // Qt refuses a picture above its allocation limit with a text that blames the data,
        // and one it has no memory for with one that blames the reading.
        const qint64 bytes = qint64{declared.width()} * declared.height() * 4;
        if (declared.isValid() && bytes > qint64{reader.allocationLimit()} * 1024 * 1024)
            why = QString("too large (%1 x %2)").arg(declared.width()).arg(declared.height());
        else if (declared.isValid() && QImage(declared, QImage::Format_ARGB32).isNull())
            outOfMemory(path, declared);
        invalidPicture(path, why);
    }
    if (const QString why = incompleteness(file, format, device); !why.isEmpty())
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
    if (file.seek(0) && file.peek(2) == QByteArray("\xFF\xD8", 2))
        return file.readAll();
    return std::nullopt;
}

const uint8_t* bytesOf(const QByteArray& bytes) {
    return reinterpret_cast<const uint8_t*>(bytes.constData());
}

// A JPEG file in a colour model left to Qt's reader: its data judged by ours first.
SourcePicture loadJpegWithQt(const QString& path, QFile& file, const QByteArray& bytes) {
    QStringList notes = CheckJpegData(bytesOf(bytes), static_cast<size_t>(bytes.size()),
                                      QFileInfo(path).fileName());
    SourcePicture source = loadWithQt(path, file, true);
    source.notes = std::move(notes);
    return source;
}

// The whole picture of the open file `file`, named `path`.
SourcePicture loadSource(const QString& path, QFile& file) {
    if (const auto bytes = jpegBytes(file)) {
        if (auto decoded = DecodeJpeg(bytesOf(*bytes), static_cast<size_t>(bytes->size()),
                                      QFileInfo(path).fileName()))
            return std::move(*decoded);
        return loadJpegWithQt(path, file, *bytes);
    }
    return loadWithQt(path, file);
}

}  // namespace

SourcePicture LoadSource(const QString& path) {
    const auto file = OpenPictureFile(path);
    return loadSource(path, *file);
}

SampledPicture LoadSampled(const QString& path, const std::function<QSize(QSize)>& canvasFor,
                           QSize previewSize) {
    const auto file = OpenPictureFile(path);
    if (const auto bytes = jpegBytes(*file)) {
        if (auto sampled = DecodeJpegSampled(bytesOf(*bytes), static_cast<size_t>(bytes->size()),
                                             QFileInfo(path).fileName(), canvasFor, previewSize))
            return std::move(*sampled);
    }
    const SourcePicture source = loadSource(path, *file);
    SampledPicture sampled;
    sampled.notes = source.notes;
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
