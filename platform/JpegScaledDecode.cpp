#include "JpegScaledDecode.h"

#include <exception>
#include <memory>

#include "ColourProfile.h"
#include "ExifOrientation.h"
#include "JpegDecoder.h"
#include "SmoothResampler.h"

namespace picture {

namespace {

int scaled(int length, int eighths) {
    return static_cast<int>((int64_t{length} * eighths + 7) / 8);
}

// Picks the scale once the header is read and filters the rows that follow.
class SmoothReader final : public JpegRowReader {
  public:
    SmoothReader(const std::function<QSize(QSize)>& canvasFor, QSize previewSize)
        : canvasFor_(canvasFor), previewSize_(previewSize) {}

    int eighths(QSize stored, int orientation) override {
        const bool swapped = AxesOf(orientation).swapped;
        size = swapped ? stored.transposed() : stored;
        // When no canvas fits, the data is still decoded, so that a damaged file is reported
        // as such before the size is; the smallest scale reads all of it as well.
        std::vector<QSize> sizes;
        try {
            sizes.push_back(canvasFor_(size));
        } catch (...) {
            noCanvas = std::current_exception();
            return 1;
        }
        if (!previewSize_.isEmpty())
            sizes.push_back(previewSize_);
        std::vector<QSize> storedSizes;
        for (const QSize& s : sizes)
            storedSizes.push_back(swapped ? s.transposed() : s);
        const int e = JpegScaleEighths(stored, storedSizes);
        resampler_ = std::make_unique<SmoothResampler>(
            QSize(scaled(stored.width(), e), scaled(stored.height(), e)), orientation, sizes);
        return e;
    }

    void take(int row, const QRgb* pixels) override {
        if (resampler_)
            resampler_->take(row, pixels);
    }

    std::vector<QImage> release() { return resampler_->release(); }

    QSize size;
    std::exception_ptr noCanvas;

  private:
    const std::function<QSize(QSize)>& canvasFor_;
    QSize previewSize_;
    std::unique_ptr<SmoothResampler> resampler_;
};

}  // namespace

int JpegScaleEighths(QSize stored, const std::vector<QSize>& sizes) {
    // Halvings only: libjpeg-turbo has vector code for the 2x2, 4x4 and 8x8 inverse DCTs
    // alone, and at those scales the colour planes of a 2x2 subsampled picture come out of
    // the DCT at the size of the brightness, with no upsampling. Decoding at 3/8 costs more
    // than decoding four times the pixels at 4/8.
    for (int e = 1; e < 8; e *= 2) {
        bool enough = true;
        for (const QSize& s : sizes) {
            enough = enough && scaled(stored.width(), e) >= 2 * int64_t{s.width()} &&
                     scaled(stored.height(), e) >= 2 * int64_t{s.height()};
        }
        if (enough)
            return e;
    }
    return 8;
}

std::optional<SampledPicture> DecodeJpegSmooth(const uint8_t* data, size_t size,
                                               const QString& name,
                                               const std::function<QSize(QSize)>& canvasFor,
                                               QSize previewSize) {
    SmoothReader reader(canvasFor, previewSize);
    QStringList notes;
    const std::optional<QColorSpace> colourSpace = DecodeJpegRows(data, size, name, reader, &notes);
    if (!colourSpace)
        return std::nullopt;
    if (reader.noCanvas)
        std::rethrow_exception(reader.noCanvas);
    std::vector<QImage> targets = reader.release();
    for (QImage& target : targets)
        ConvertToSrgb(target, *colourSpace);
    SampledPicture sampled;
    sampled.notes = std::move(notes);
    sampled.size = reader.size;
    sampled.canvas = std::move(targets.front());
    if (targets.size() > 1)
        sampled.preview = std::move(targets[1]);
    return sampled;
}

}  // namespace picture
