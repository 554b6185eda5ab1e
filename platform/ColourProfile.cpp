#include "ColourProfile.h"

#include <QColorTransform>

bool NeedsSrgbConversion(const QColorSpace& space) {
    return space.isValid() && space != QColorSpace(QColorSpace::SRgb);
}

void ConvertToSrgb(QImage& picture, const QColorSpace& space) {
    if (!NeedsSrgbConversion(space) || picture.isNull())
        return;
    const QColorTransform toSrgb = space.transformationToColorSpace(QColorSpace::SRgb);
    for (int y = 0; y < picture.height(); ++y) {
        // A one-row picture over the row's own memory: converted in place, on this thread.
        QImage row(picture.scanLine(y), picture.width(), 1, picture.bytesPerLine(),
                   picture.format());
        row.applyColorTransform(toSrgb);
    }
}
