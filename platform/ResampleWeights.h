#pragma once

#include <cstddef>
#include <vector>

// The weights of a resampling filter along one axis, from `in` source pixels to `out` target
// pixels with the pixel centres of both lined up over the same length. Shrinking uses a
// Lanczos window widened to the target pixel's footprint, so that every source pixel counts and
// fine detail averages out instead of aliasing; enlarging uses Catmull-Rom interpolation; the
// same length copies. Near the ends the window is cut at the picture's edge and the weights
// that remain are scaled to sum to one, so a flat area stays flat up to the border.
class ResampleWeights {
  public:
    ResampleWeights(int in, int out);

    int size() const { return static_cast<int>(first_.size()); }
    // The first source pixel target pixel `t` reads, and how many it reads.
    int first(int t) const { return first_[static_cast<size_t>(t)]; }
    int count(int t) const { return count_[static_cast<size_t>(t)]; }
    // Its `count(t)` weights, in source order.
    const float* weights(int t) const { return &weights_[static_cast<size_t>(t) * stride_]; }
    // The most source pixels any target pixel reads.
    int taps() const { return static_cast<int>(stride_); }

  private:
    std::vector<int> first_;
    std::vector<int> count_;
    std::vector<float> weights_;
    size_t stride_ = 1;
};
