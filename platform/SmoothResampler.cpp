#include "SmoothResampler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ExifOrientation.h"
#include "ResampleWeights.h"
#include "RuntimeError.h"

namespace {

constexpr int kChannels = 4;
using Pixel = float __attribute__((vector_size(kChannels * sizeof(float))));

uint8_t toByte(float v) {
    return static_cast<uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

}  // namespace

// One target: its stored rows are filtered across as they come into a ring of the last rows
// the filter down reaches; each target row is made as soon as its last source row is in.
struct SmoothResampler::Target {
    Target(QSize stored, const picture::OrientationAxes& axes, QSize upright)
        : image(upright, QImage::Format_RGB32),
          axes(axes),
          across(stored.width(), axes.swapped ? upright.height() : upright.width()),
          down(stored.height(), axes.swapped ? upright.width() : upright.height()),
          capacity(down.taps()) {
        if (image.isNull())
            tessaro::err::raiseOutOfMemory();
        const size_t line = static_cast<size_t>(across.size()) * kChannels;
        ring.resize(line * static_cast<size_t>(capacity));
        sum.resize(line);
    }

    float* slot(int row) {
        return &ring[static_cast<size_t>(row % capacity) * static_cast<size_t>(across.size()) *
                     kChannels];
    }

    // The four channels of a pixel are one vector: a tap is one multiply and one add.
    void filterAcross(const float* in, float* out) const {
        for (int t = 0; t < across.size(); ++t, out += kChannels) {
            const float* w = across.weights(t);
            const float* p = in + static_cast<ptrdiff_t>(across.first(t)) * kChannels;
            Pixel sum = {0.0f, 0.0f, 0.0f, 0.0f};
            for (int k = 0, n = across.count(t); k < n; ++k, p += kChannels) {
                Pixel px;
                std::memcpy(&px, p, sizeof px);
                sum += Pixel{w[k], w[k], w[k], w[k]} * px;
            }
            std::memcpy(out, &sum, sizeof sum);
        }
    }

    // Target row `t` in stored order, from the filtered rows in the ring.
    void makeRow(int t) {
        const size_t n = sum.size();
        const float* w = down.weights(t);
        const int first = down.first(t);
        float* acc = sum.data();
        const float* r = slot(first);
        for (size_t i = 0; i < n; ++i)
            acc[i] = w[0] * r[i];
        for (int k = 1; k < down.count(t); ++k) {
            r = slot(first + k);
            const float wk = w[k];
            for (size_t i = 0; i < n; ++i)
                acc[i] += wk * r[i];
        }
        store(t, acc);
    }

    // Writes stored target row `t` where it stands in the upright picture.
    void store(int t, const float* acc) {
        const int across_ = across.size();
        const int lines = down.size();
        const int line = axes.reverseY ? lines - 1 - t : t;
        uint8_t* bits = image.bits();
        const qsizetype stride = image.bytesPerLine();
        for (int x = 0; x < across_; ++x, acc += kChannels) {
            const int along = axes.reverseX ? across_ - 1 - x : x;
            uint8_t* px = axes.swapped ? bits + along * stride + line * kChannels
                                       : bits + line * stride + along * kChannels;
            for (int c = 0; c < kChannels; ++c)
                px[c] = toByte(acc[c]);
        }
    }

    QImage image;
    picture::OrientationAxes axes;
    ResampleWeights across;
    ResampleWeights down;
    int capacity;
    std::vector<float> ring;
    std::vector<float> sum;
    int next = 0;  // the next target row in stored order
};

SmoothResampler::SmoothResampler(QSize stored, int orientation, const std::vector<QSize>& sizes)
    : width_(stored.width()) {
    const picture::OrientationAxes axes = picture::AxesOf(orientation);
    targets_.reserve(sizes.size());
    for (const QSize& size : sizes)
        targets_.emplace_back(stored, axes, size);
    row_.resize(static_cast<size_t>(width_) * kChannels);
}

SmoothResampler::~SmoothResampler() = default;

void SmoothResampler::take(int row, const QRgb* pixels) {
    bool converted = false;
    for (Target& target : targets_) {
        // Rows above the next target row's window are read by no row still to come.
        if (target.next >= target.down.size() || row < target.down.first(target.next))
            continue;
        if (!converted) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(pixels);
            for (size_t i = 0; i < row_.size(); ++i)
                row_[i] = bytes[i];
            converted = true;
        }
        target.filterAcross(row_.data(), target.slot(row));
        while (target.next < target.down.size() &&
               target.down.first(target.next) + target.down.count(target.next) - 1 <= row)
            target.makeRow(target.next++);
    }
}

std::vector<QImage> SmoothResampler::release() {
    std::vector<QImage> images;
    for (Target& target : targets_)
        images.push_back(std::move(target.image));
    return images;
}
