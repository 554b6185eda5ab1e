#pragma once

#include <QImage>
#include <QSize>
#include <vector>

// Resizes a picture whose stored rows arrive one after another, top to bottom, onto upright
// pictures of given sizes with a separable filter, holding only the rows the filter reaches.
// Along an axis that shrinks, each target pixel is a Lanczos-windowed average over the source
// pixels its footprint covers (antialiasing); along an axis that grows, Catmull-Rom interpolation;
// an axis that keeps its length is copied. The Exif orientation says how the stored rows stand
// in the upright picture. Every channel of the 32-bit pixels is filtered alike.
class SmoothResampler {
  public:
    // Targets of `sizes` (upright, each at least 1 x 1) resized from a picture stored as
    // `stored` rows and turned upright by Exif `orientation`. Raises RuntimeError 7 when a
    // target cannot be allocated.
    SmoothResampler(QSize stored, int orientation, const std::vector<QSize>& sizes);
    ~SmoothResampler();
    SmoothResampler(const SmoothResampler&) = delete;
    SmoothResampler& operator=(const SmoothResampler&) = delete;

    // Stored row `row` (rows come in order, each once), as 32-bit pixels of the stored width.
    void take(int row, const QRgb* pixels);

    // The targets, in the order of their sizes; complete once every stored row was taken.
    std::vector<QImage> release();

  private:
    struct Target;
    std::vector<Target> targets_;
    std::vector<float> row_;  // the stored row being taken, as floats
    int width_ = 0;
};
