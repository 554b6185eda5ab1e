#include "RowSampler.h"

#include <cstdint>

#include "ExifOrientation.h"
#include "RuntimeError.h"

namespace {

// For each of `count` target positions along an upright axis of `length` source pixels: the
// stored position of the source pixel with the nearest centre (counted from the far end when
// the stored axis runs backwards).
std::vector<int> nearestAlong(int count, int64_t length, bool reversed) {
    std::vector<int> table(static_cast<size_t>(count));
    for (int64_t t = 0; t < count; ++t) {
        const int64_t nearest = ((2 * t + 1) * length) / (2 * int64_t{count});
        table[static_cast<size_t>(t)] = static_cast<int>(reversed ? length - 1 - nearest : nearest);
    }
    return table;
}

}  // namespace

RowSampler::RowSampler(QSize stored, int orientation, const std::vector<QSize>& sizes) {
    const picture::OrientationAxes axes = picture::AxesOf(orientation);
    for (const QSize& size : sizes) {
        QImage target(size, QImage::Format_RGB32);
        if (target.isNull())
            tessaro::err::raiseOutOfMemory();
        Plan plan;
        plan.turned = axes.swapped;
        // Along the stored rows runs the target's x, or its y when the picture is turned.
        const int acrossCount = axes.swapped ? size.height() : size.width();
        const int downCount = axes.swapped ? size.width() : size.height();
        plan.across = nearestAlong(acrossCount, stored.width(), axes.reverseX);
        const std::vector<int> down = nearestAlong(downCount, stored.height(), axes.reverseY);
        // The stored rows come top to bottom: visit the target lines in that order.
        for (int k = 0; k < downCount; ++k) {
            const int line = axes.reverseY ? downCount - 1 - k : k;
            plan.lines.push_back(line);
            plan.rowOf.push_back(down[static_cast<size_t>(line)]);
        }
        targets_.push_back(std::move(target));
        plans_.push_back(std::move(plan));
    }
}

bool RowSampler::wants(int row) const {
    for (const Plan& plan : plans_) {
        if (plan.next < plan.lines.size() && plan.rowOf[plan.next] == row)
            return true;
    }
    return false;
}

int RowSampler::nextRow() const {
    int next = -1;
    for (const Plan& plan : plans_) {
        if (plan.next < plan.lines.size() && (next < 0 || plan.rowOf[plan.next] < next))
            next = plan.rowOf[plan.next];
    }
    return next;
}

void RowSampler::take(int row, const QRgb* pixels) {
    for (size_t i = 0; i < plans_.size(); ++i) {
        Plan& plan = plans_[i];
        QImage& target = targets_[i];
        for (; plan.next < plan.lines.size() && plan.rowOf[plan.next] == row; ++plan.next) {
            const int line = plan.lines[plan.next];
            if (!plan.turned) {
                auto* out = reinterpret_cast<QRgb*>(target.scanLine(line));
                for (size_t x = 0; x < plan.across.size(); ++x)
                    out[x] = pixels[plan.across[x]];
                continue;
            }
            // The stored row is target column `line`.
            const int stride = static_cast<int>(target.bytesPerLine() / sizeof(QRgb));
            auto* out = reinterpret_cast<QRgb*>(target.bits()) + line;
            for (size_t y = 0; y < plan.across.size(); ++y, out += stride)
                *out = pixels[plan.across[y]];
        }
    }
}
