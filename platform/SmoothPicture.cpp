#include "SmoothPicture.h"

#include <QFile>
#include <QFileInfo>

#include "ColourProfile.h"
#include "JpegScaledDecode.h"
#include "PictureFile.h"
#include "PictureLoader.h"
#include "RuntimeError.h"
#include "SmoothResampler.h"

namespace picture {

QImage SmoothSource(const SourcePicture& source, QSize size) {
    if (source.pixels.isNull())
        tessaro::err::raiseOutOfMemory();
    SmoothResampler resampler(source.pixels.size(), source.orientation, {size});
    for (int y = 0; y < source.pixels.height(); ++y)
        resampler.take(y, reinterpret_cast<const QRgb*>(source.pixels.constScanLine(y)));
    QImage out = std::move(resampler.release().front());
    ConvertToSrgb(out, source.colourSpace);
    return out;
}

SampledPicture LoadSmooth(const QString& path, const std::function<QSize(QSize)>& canvasFor,
                          QSize previewSize) {
    // Read, not mapped: a file cut short by someone else while mapped would end the program.
    // Only a regular file is opened, so that a FIFO never holds up the batch.
    const auto file = OpenPictureFile(path);
    if (file->peek(2) == QByteArray("\xFF\xD8", 2)) {
        const QByteArray bytes = file->readAll();
        if (auto smooth = DecodeJpegSmooth(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                           static_cast<size_t>(bytes.size()),
                                           QFileInfo(path).fileName(), canvasFor, previewSize))
            return std::move(*smooth);
    }
    file->close();
    const SourcePicture source = LoadSource(path);
    SampledPicture sampled;
    sampled.notes = source.notes;
    sampled.size = source.size();
    const QSize canvas = canvasFor(sampled.size);
    sampled.canvas = SmoothSource(source, canvas);
    if (!previewSize.isEmpty())
        sampled.preview = SmoothSource(source, previewSize);
    return sampled;
}

}  // namespace picture
