#include "ResampleWeights.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double sinc(double x) {
    if (x == 0.0)
        return 1.0;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}

// Two lobes rather than three: on photographs shrunk and then saved as JPEG it comes closer
// to both a windowed-sinc and an area-averaged reference, rings less at hard edges, and
// reads a third fewer source pixels.
constexpr double kLobes = 2.0;

double lanczos(double x) {
    return std::abs(x) < kLobes ? sinc(x) * sinc(x / kLobes) : 0.0;
}

// The cubic with a = -0.5, which passes through the samples and keeps straight ramps straight.
double catmullRom(double x) {
    constexpr double a = -0.5;
    x = std::abs(x);
    if (x < 1.0)
        return ((a + 2.0) * x - (a + 3.0)) * x * x + 1.0;
    if (x < 2.0)
        return ((a * x - 5.0 * a) * x + 8.0 * a) * x - 4.0 * a;
    return 0.0;
}

}  // namespace

ResampleWeights::ResampleWeights(int in, int out) {
    const auto n = static_cast<size_t>(out);
    first_.resize(n);
    count_.resize(n);
    if (in == out) {
        for (int t = 0; t < out; ++t) {
            first_[static_cast<size_t>(t)] = t;
            count_[static_cast<size_t>(t)] = 1;
        }
        weights_.assign(n, 1.0f);
        return;
    }
    const double scale = static_cast<double>(in) / out;
    const bool shrinking = scale > 1.0;
    // Shrinking widens the kernel to the target pixel's footprint in source pixels.
    const double stretch = shrinking ? scale : 1.0;
    const double support = (shrinking ? kLobes : 2.0) * stretch;
    stride_ = static_cast<size_t>(std::ceil(2.0 * support)) + 2;
    weights_.assign(n * stride_, 0.0f);
    std::vector<double> w(stride_);
    for (int t = 0; t < out; ++t) {
        const double centre = (t + 0.5) * scale;
        const int lo = std::max(static_cast<int>(std::floor(centre - support + 0.5)), 0);
        const int hi = std::min(static_cast<int>(std::floor(centre + support + 0.5)), in);
        double sum = 0.0;
        int count = 0;
        for (int s = lo; s < hi; ++s, ++count) {
            const double x = (s + 0.5 - centre) / stretch;
            w[static_cast<size_t>(count)] = shrinking ? lanczos(x) : catmullRom(x);
            sum += w[static_cast<size_t>(count)];
        }
        first_[static_cast<size_t>(t)] = lo;
        count_[static_cast<size_t>(t)] = count;
        float* into = &weights_[static_cast<size_t>(t) * stride_];
        for (int k = 0; k < count; ++k)
            into[k] = static_cast<float>(w[static_cast<size_t>(k)] / sum);
    }
}
