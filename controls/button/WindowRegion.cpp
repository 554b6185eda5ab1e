#include "WindowRegion.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace tessaro::button {

namespace {

constexpr int kCornerRadius = 9;  // ellipses of 18 by 18

QRegion polygonRegion(std::initializer_list<QPoint> points) {
    return QRegion(QPolygon(QList<QPoint>(points)), Qt::OddEvenFill);
}

}  // namespace

QRegion rectangleRegion(int W, int H) {
    return QRegion(0, 0, W, H);
}

QRegion octagonRegionA(int W, int H) {
    return polygonRegion(
        {{0, 1}, {1, 0}, {W - 1, 0}, {W, 1}, {W, H - 2}, {W - 2, H}, {2, H}, {0, H - 2}});
}

QRegion octagonRegionB(int W, int H) {
    return polygonRegion(
        {{0, 2}, {2, 0}, {W - 3, 0}, {W, 3}, {W, H - 3}, {W - 3, H}, {4, H}, {0, H - 4}});
}

int roundedRowInset(int y, int H) {
    // Rows are sampled through their centres; the nearer edge decides.
    const int fromEdge = std::min(y, H - 1 - y);
    const double r = kCornerRadius;
    if (fromEdge >= kCornerRadius || fromEdge < 0)
        return 0;
    const double dy = (r - (fromEdge + 0.5)) / r;
    const double halfWidth = r * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    return static_cast<int>(std::nearbyint(r - halfWidth));
}

QRegion roundedRegion(int W, int H) {
    QRegion region;
    for (int y = 0; y < H; ++y) {
        const int inset = roundedRowInset(y, H);
        if (W - 2 * inset > 0)
            region += QRect(inset, y, W - 2 * inset, 1);
    }
    return region;
}

}  // namespace tessaro::button
