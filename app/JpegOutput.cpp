#include "JpegOutput.h"

#include <QFile>

#include "CheckedConversion.h"
#include "Cp1252.h"
#include "DrawingContext.h"
#include "FileName.h"
#include "JpegEncoder.h"
#include "NewFile.h"
#include "RasterImage.h"
#include "RuntimeError.h"
#include "SegmentInsert.h"

namespace {

std::string fileName(const QString& path) {
    return filename::ToBytes(path).toStdString();
}

// The encoder with the user's subsampling or greyscale, quality and comment; raises what the
// encoder raises for settings it refuses.
void configure(tessaro::JpegEncoder& Encoder, const Settings& settings) {
    if (settings.GreyscaleOn) {
        Encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    } else {
        Encoder.SetSamplingFrequencies(settings.SampleH, settings.SampleV, 1, 1, 1, 1);
    }
    Encoder.setQuality(settings.Quality);
    const QByteArray comment = cp1252::fromUnicode(settings.Comment);
    Encoder.setComment(std::string(comment.constData(), static_cast<size_t>(comment.size())));
}

}  // namespace

std::vector<uint8_t> EncodeJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                                      const QString& destination, const Settings& settings,
                                      bool sample, const QByteArray& exif) {
    using namespace tessaro;
    JpegEncoder Encoder;
    if (!sample) {
        configure(Encoder, settings);
        return {};
    }
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

    configure(Encoder, settings);
    if (!WorkImage.hDC())
        err::raiseOutOfMemory();
    if (Encoder.SampleHDC(*WorkImage.hDC(), WorkImage.Width(), WorkImage.Height(), 0, 0) != 0) {
        err::raiseOutOfMemory();
    }
    std::vector<uint8_t> bytes = Encoder.EncodeStream();
    if (!exif.isEmpty())
        InsertExif(bytes, exif);
    return bytes;
}

void InsertExif(std::vector<uint8_t>& jpeg, const QByteArray& exif) {
    constexpr uint8_t kApp1 = 0xE1;
    tessaro::jpeg::InsertSegment(jpeg, kApp1, reinterpret_cast<const uint8_t*>(exif.constData()),
                                 static_cast<size_t>(exif.size()));
}

bool JpegOutputExists(const QString& destination) {
    return tessaro::jpeg::fileExists(fileName(destination));
}

bool WriteNewJpegFile(const QString& destination, const std::vector<uint8_t>& bytes) {
    return tessaro::jpeg::writeNewFile(fileName(destination), bytes) ==
           tessaro::jpeg::NewFileResult::Written;
}

int32_t WriteJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                        const QString& destination, const Settings& settings,
                        const QByteArray& exif) {
    if (destination.isEmpty())
        return 1;
    const bool exists = JpegOutputExists(destination);
    const std::vector<uint8_t> bytes =
        EncodeJpegOutput(canvas, width, height, destination, settings, !exists, exif);
    if (exists)
        return 2;
    return WriteNewJpegFile(destination, bytes) ? 0 : 2;
}
