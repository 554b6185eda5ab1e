#include "WindowPosition.h"

#include <algorithm>
#include <cmath>

#include "CheckedMath.h"

namespace windowposition {

int32_t ToTwips(int pixels) {
    return tessaro::checked::mul32(pixels, kTwipsPerPixel);
}

int ToPixels(int32_t twips) {
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel));
}

QPoint OnScreen(QPoint framePosition, QSize frameSize, const QList<QRect>& screens,
                const QRect& primary) {
    const QRect titleBar(framePosition, QSize(frameSize.width(), kTitleBar));
    const int grip = std::min(kGrip, frameSize.width());
    for (const QRect& screen : screens) {
        const QRect shown = titleBar.intersected(screen);
        if (shown.height() == titleBar.height() && shown.width() >= grip)
            return framePosition;
    }
    if (primary.isEmpty())
        return framePosition;
    // Inside the area where the frame fits; a frame larger than the area keeps its title bar
    // at the area's top-left corner.
    const int x = std::max(primary.left(),
                           std::min(framePosition.x(), primary.right() + 1 - frameSize.width()));
    const int y = std::max(primary.top(),
                           std::min(framePosition.y(), primary.bottom() + 1 - frameSize.height()));
    return {x, y};
}

QPoint Centred(QSize frameSize, const QRect& area) {
    return {area.x() + (area.width() - frameSize.width()) / 2,
            area.y() + (area.height() - frameSize.height()) / 2};
}

}  // namespace windowposition
