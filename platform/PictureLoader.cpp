#include "PictureLoader.h"

#include <QFileInfo>
#include <QImageReader>

#include "CheckedConversion.h"
#include "DecoderWarnings.h"
#include "RuntimeError.h"

namespace picture {

QImage LoadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // The content decides the decoder, whatever the name says.
    reader.setDecideFormatFromContent(true);
    DecoderWarnings warnings;
    const QSize declared = reader.size();  // from the header; unknown once a read has failed
    QImage image = reader.read();
    if (!image.isNull() && !warnings.messages().isEmpty()) {
        // Written out, the grey or black rest of a damaged picture would pass for a good one.
        throw tessaro::RuntimeError(
            tessaro::err::kInvalidPicture,
            QString("Invalid picture: %1 (%2)")
                .arg(QFileInfo(path).fileName(), warnings.messages().join("; "))
                .toStdString());
    }
    if (image.isNull()) {
        QString why = QFileInfo::exists(path) ? reader.errorString() : "file not found";
        // Qt refuses a picture above its allocation limit with a text that blames the data.
        const qint64 bytes = qint64{declared.width()} * declared.height() * 4;
        if (declared.isValid() && bytes > qint64{reader.allocationLimit()} * 1024 * 1024)
            why = QString("too large (%1 x %2)").arg(declared.width()).arg(declared.height());
        throw tessaro::RuntimeError(
            tessaro::err::kInvalidPicture,
            QString("Invalid picture: %1 (%2)").arg(QFileInfo(path).fileName(), why).toStdString());
    }
    const QString name = QFileInfo(path).fileName();
    if (!image.hasAlphaChannel())
        return ConvertChecked(image, QImage::Format_RGB32, name);

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
    return ConvertChecked(argb, QImage::Format_RGB32, name);
}

}  // namespace picture
