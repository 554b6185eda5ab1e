#include "JpegOutput.h"

#include <QFile>

#include "CheckedConversion.h"
#include "Cp1252.h"
#include "DrawingContext.h"
#include "JpegEncoder.h"
#include "RasterImage.h"
#include "RuntimeError.h"

int32_t WriteJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                        const QString& destination, const Settings& settings) {
    using namespace tessaro;
    // The canvas reaches the raster image through a view of its own pixels: no copy.
    QImage pixels = ConvertChecked(canvas, QImage::Format_RGB32, destination);
    auto view =
        DibSection::view(const_cast<uint8_t*>(pixels.constBits()), pixels.width(), pixels.height(),
                         32, static_cast<int32_t>(pixels.bytesPerLine()), true);
    if (!view)
        err::raiseOutOfMemory();
    DrawingContext canvasContext;
    canvasContext.select(view.get());

    RasterImage WorkImage;
    WorkImage.CopyHDC(canvasContext, width, height, 0, 0, 0);

    JpegEncoder Encoder;
    if (settings.GreyscaleOn) {
        Encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    } else {
        Encoder.SetSamplingFrequencies(settings.SampleH, settings.SampleV, 1, 1, 1, 1);
    }
    Encoder.setQuality(settings.Quality);
    const QByteArray comment = cp1252::fromUnicode(settings.Comment);
    Encoder.setComment(std::string(comment.constData(), static_cast<size_t>(comment.size())));
    if (!WorkImage.hDC())
        err::raiseOutOfMemory();
    if (Encoder.SampleHDC(*WorkImage.hDC(), WorkImage.Width(), WorkImage.Height(), 0, 0) != 0) {
        err::raiseOutOfMemory();
    }
    return Encoder.SaveFile(QFile::encodeName(destination).toStdString());
}
