#pragma once

#include <array>
#include <cstdint>

#include "Component.h"

namespace tessaro::jpeg {

// MCU grid of an interleaved scan.
struct McuLayout {
    int32_t columns = 0;
    int32_t rows = 0;
};

inline McuLayout mcuLayout(int32_t width, int32_t height, int32_t hmax, int32_t vmax) {
    return {(width + 8 * hmax - 1) / (8 * hmax), (height + 8 * vmax - 1) / (8 * vmax)};
}

// Walks one component's blocks in the order an interleaved scan codes them: per MCU, V block
// rows of H blocks. Blocks past the component's right or bottom edge are filler blocks
// (position -1).
class McuCursor {
  public:
    explicit McuCursor(const Component& c)
        : h_(c.H),
          v_(c.V),
          size_(static_cast<int64_t>(c.Coefficients.size())),
          rowSkip_(int64_t{c.V - 1} * c.blocksPerRow() * 64) {
        const int32_t b = c.blocksPerRow();
        lastColumnBlocks_ = b % c.H == 0 ? c.H : b % c.H;
        for (int32_t k = 0; k < c.V; ++k) {
            p_[k] = int64_t{k} * b * 64;
        }
    }

    // Calls fn(position) for the blocks of one MCU; filler blocks give -1.
    template <typename Fn>
    void visitMcu(bool lastColumn, Fn&& fn) {
        for (int32_t k = 0; k < v_; ++k) {
            for (int32_t l = 1; l <= h_; ++l) {
                if ((lastColumn && l > lastColumnBlocks_) || p_[k] >= size_) {
                    fn(int64_t{-1});
                } else {
                    fn(p_[k]);
                    p_[k] += 64;
                }
            }
        }
    }

    void endMcuRow() {
        for (int32_t k = 0; k < v_; ++k) {
            p_[k] += rowSkip_;
        }
    }

    // Whether the interleaved scan holds any filler block of this component.
    static bool hasFillerBlocks(const Component& c, const McuLayout& layout) {
        return int64_t{c.blocksPerRow()} * c.blockRows() <
               int64_t{layout.columns} * c.H * layout.rows * c.V;
    }

  private:
    int32_t h_;
    int32_t v_;
    int64_t size_;
    int64_t rowSkip_;
    int32_t lastColumnBlocks_ = 0;
    std::array<int64_t, 4> p_{};
};

}  // namespace tessaro::jpeg
