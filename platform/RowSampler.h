#pragma once

#include <QImage>
#include <QSize>
#include <vector>

// Point-samples a picture whose stored rows arrive one after another, top to bottom, onto
// upright pictures of given sizes, so that the whole picture never has to be held. Each
// target pixel takes the source pixel whose centre is nearest its own in the upright picture,
// floor((t + 0.5) * length / count) along each axis; the Exif orientation says how the
// stored rows stand in it.
class RowSampler {
  public:
    // Targets of `sizes` (upright, each at least 1 x 1) sampled from a picture stored as
    // `stored` rows and turned upright by Exif `orientation`. Raises RuntimeError 7 when a
    // target cannot be allocated.
    RowSampler(QSize stored, int orientation, const std::vector<QSize>& sizes);

    // Whether any target reads stored row `row` (the rows must come in order, each once).
    bool wants(int row) const;
    // The next stored row a target reads; -1 when every target is complete.
    int nextRow() const;
    // Stored row `row`, as 32-bit pixels of the full stored width.
    void take(int row, const QRgb* pixels);

    // The targets, in the order of their sizes; complete once every stored row was taken.
    const std::vector<QImage>& targets() const { return targets_; }
    std::vector<QImage> release() { return std::move(targets_); }

  private:
    struct Plan {
        std::vector<int> across;  // per target pixel along the stored rows: the stored column
        std::vector<int> lines;   // target lines (or columns, when turned) by stored row
        std::vector<int> rowOf;   // the stored row each entry of `lines` reads
        size_t next = 0;          // the first entry of `lines` not yet filled
        bool turned = false;      // stored rows run along the target's columns
    };

    std::vector<QImage> targets_;
    std::vector<Plan> plans_;
};
