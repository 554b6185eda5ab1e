#include "CheckedConversion.h"

#include <algorithm>
#include <cstring>

#include "FileName.h"
#include "RuntimeError.h"

namespace {

[[noreturn]] void outOfMemory(const QImage& image, const QString& name) {
    QString text = QString("Out of memory: %1 x %2 pixels").arg(image.width()).arg(image.height());
    if (!name.isEmpty())
        text = QString("Out of memory: %1 (%2 x %3 pixels)")
                   .arg(name)
                   .arg(image.width())
                   .arg(image.height());
    throw tessaro::RuntimeError(tessaro::err::kOutOfMemory, filename::ErrorText(text));
}

}  // namespace

QImage ConvertChecked(const QImage& image, QImage::Format format, const QString& name) {
    if (image.isNull())
        outOfMemory(image, name);
    if (image.format() == format)
        return image;
    QImage out(image.width(), image.height(), format);
    if (out.isNull())
        outOfMemory(image, name);
    const QList<QRgb> colours = image.colorTable();
    for (int y = 0; y < image.height(); ++y) {
        // A one-row picture is always converted on this thread.
        QImage row(image.constScanLine(y), image.width(), 1, image.bytesPerLine(), image.format());
        if (!colours.isEmpty())
            row.setColorTable(colours);
        const QImage converted = row.convertToFormat(format);
        if (converted.isNull())
            outOfMemory(image, name);
        std::memcpy(out.scanLine(y), converted.constScanLine(0),
                    static_cast<size_t>(std::min(out.bytesPerLine(), converted.bytesPerLine())));
    }
    return out;
}
