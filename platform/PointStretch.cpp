#include "PointStretch.h"

#include <cstdint>
#include <vector>

#include "CheckedConversion.h"
#include "RuntimeError.h"

QImage PointStretch(const QImage& source, int w, int h) {
    QImage canvas(w, h, QImage::Format_RGB32);
    if (canvas.isNull())
        tessaro::err::raiseOutOfMemory();
    const QImage src = ConvertChecked(source, QImage::Format_RGB32, QString());
    const int64_t sw = src.width();
    const int64_t sh = src.height();

    // Source column of each target column: floor((x + 0.5) * sw / w), exact in integers.
    std::vector<int> column(static_cast<size_t>(w));
    for (int64_t x = 0; x < w; ++x)
        column[x] = static_cast<int>(((2 * x + 1) * sw) / (2 * w));

    for (int64_t y = 0; y < h; ++y) {
        const auto sy = static_cast<int>(((2 * y + 1) * sh) / (2 * int64_t{h}));
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(static_cast<int>(y)));
        if (sw == w) {
            std::copy(in, in + w, out);
            continue;
        }
        for (int x = 0; x < w; ++x)
            out[x] = in[column[x]];
    }
    return canvas;
}
