#include "SourcePicture.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ColourProfile.h"
#include "ExifOrientation.h"
#include "RuntimeError.h"

namespace {

// For each of `count` target positions along one upright axis of full length `length`: the
// full source pixel with the nearest centre, floor((t + 0.5) * length / count), taken along
// the stored axis (backwards when `reversed`), then the decoded pixel that covers its centre
// at `eighths`/8 scale, floor((p + 0.5) * eighths / 8), within `decoded` pixels.
std::vector<int> axisTable(int count, int64_t length, bool reversed, int eighths, int decoded) {
    std::vector<int> table(static_cast<size_t>(count));
    for (int64_t t = 0; t < count; ++t) {
        const int64_t nearest = ((2 * t + 1) * length) / (2 * int64_t{count});
        const int64_t stored = reversed ? length - 1 - nearest : nearest;
        const int64_t at = ((2 * stored + 1) * eighths) / 16;
        table[static_cast<size_t>(t)] = static_cast<int>(std::clamp<int64_t>(at, 0, decoded - 1));
    }
    return table;
}

// Samples `pixels` (stored rows of a full picture of storedSize, decoded at eighths/8) onto
// an upright w x h picture turned by `orientation`.
QImage sampleUpright(const QImage& pixels, QSize storedSize, int eighths, int orientation, int w,
                     int h) {
    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull() || pixels.isNull())
        tessaro::err::raiseOutOfMemory();
    const picture::OrientationAxes axes = picture::AxesOf(orientation);
    if (!axes.swapped) {
        const auto column =
            axisTable(w, storedSize.width(), axes.reverseX, eighths, pixels.width());
        const auto row = axisTable(h, storedSize.height(), axes.reverseY, eighths, pixels.height());
        for (int y = 0; y < h; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(pixels.constScanLine(row[y]));
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x)
                line[x] = in[column[x]];
        }
        return out;
    }
    // Upright columns run along the stored rows and upright rows along the stored columns.
    const auto storedRow =
        axisTable(w, storedSize.height(), axes.reverseY, eighths, pixels.height());
    const auto storedColumn =
        axisTable(h, storedSize.width(), axes.reverseX, eighths, pixels.width());
    std::vector<const QRgb*> rows(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        rows[static_cast<size_t>(x)] =
            reinterpret_cast<const QRgb*>(pixels.constScanLine(storedRow[x]));
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const int column = storedColumn[y];
        for (int x = 0; x < w; ++x)
            line[x] = rows[static_cast<size_t>(x)][column];
    }
    return out;
}

}  // namespace

QSize SourcePicture::size() const {
    return picture::AxesOf(orientation).swapped ? storedSize.transposed() : storedSize;
}

QImage SourcePicture::upright() const {
    QImage out = pixels;
    if (orientation != 1) {
        const bool swapped = picture::AxesOf(orientation).swapped;
        out = sampleUpright(pixels, pixels.size(), 8, orientation,
                            swapped ? pixels.height() : pixels.width(),
                            swapped ? pixels.width() : pixels.height());
    }
    ConvertToSrgb(out, colourSpace);  // on a copy of its own: the first row written detaches it
    return out;
}

QImage StretchSource(const SourcePicture& source, int w, int h) {
    QImage canvas =
        sampleUpright(source.pixels, source.storedSize, source.eighths, source.orientation, w, h);
    // Per pixel, so converting the few canvas pixels gives what converting the source would.
    ConvertToSrgb(canvas, source.colourSpace);
    return canvas;
}
