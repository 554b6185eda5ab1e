#include "CanvasSize.h"

#include <cmath>

#include "RuntimeError.h"

namespace canvassize {

double NumericValue(const QString& text) {
    double value = 0;
    for (QChar c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 1e15)
            return 1e15;  // far beyond any side we accept
    }
    return value;
}

void TargetSize(int targetIndex, const QString& text1, const QString& text2, double& tw,
                double& th) {
    switch (targetIndex) {
        case 0:
            tw = 320;
            th = 240;
            return;
        case 1:
            tw = 640;
            th = 480;
            return;
        case 2:
            tw = 800;
            th = 600;
            return;
        case 3:
            tw = 1024;
            th = 768;
            return;
        case 4:
            tw = NumericValue(text1);
            th = NumericValue(text2);
            return;
        default:
            tessaro::err::raiseSubscript();
    }
}

CanvasSize Compute(int targetIndex, const QString& text1, const QString& text2,
                   bool keepProportions, bool lockHeight, int32_t sourceWidth,
                   int32_t sourceHeight) {
    double tw = 0;
    double th = 0;
    TargetSize(targetIndex, text1, text2, tw, th);

    CanvasSize size;
    if (!keepProportions) {
        size.W = static_cast<float>(tw);
        size.H = static_cast<float>(th);
    } else if (lockHeight) {
        size.H = static_cast<float>(th);
        size.W = static_cast<float>((static_cast<double>(sourceWidth) / sourceHeight) * th);
    } else {
        size.W = static_cast<float>(tw);
        size.H = static_cast<float>((static_cast<double>(sourceHeight) / sourceWidth) * tw);
    }

    const double w = std::nearbyint(static_cast<double>(size.W));
    const double h = std::nearbyint(static_cast<double>(size.H));
    if (!(w >= 1 && h >= 1) || w > kMaxSide || h > kMaxSide || w * h > kMaxPixels) {
        throw tessaro::RuntimeError(
            tessaro::err::kInvalidCall,
            QString("Invalid size %1x%2: each side must be 1 to %3 pixels, at most %4 "
                    "megapixels in all")
                .arg(w, 0, 'f', 0)
                .arg(h, 0, 'f', 0)
                .arg(kMaxSide)
                .arg(kMaxPixels / 1000000)
                .toStdString());
    }
    size.width = static_cast<int32_t>(w);
    size.height = static_cast<int32_t>(h);
    return size;
}

CanvasSize NoLargerThanSource(const CanvasSize& size, int32_t sourceWidth, int32_t sourceHeight) {
    if (size.width <= sourceWidth || size.height <= sourceHeight)
        return size;
    CanvasSize own;
    own.W = static_cast<float>(sourceWidth);
    own.H = static_cast<float>(sourceHeight);
    own.width = sourceWidth;
    own.height = sourceHeight;
    return own;
}

QString SizeSuffix(const CanvasSize& size) {
    const auto a = static_cast<int64_t>(std::trunc(size.W));
    const auto b = static_cast<int64_t>(std::trunc(size.H));
    return QString("_%1x%2").arg(a).arg(b);
}

}  // namespace canvassize
