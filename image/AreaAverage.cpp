#include <algorithm>
#include <array>
#include <numeric>
#include <type_traits>
#include <vector>

#include "PixelRows.h"
#include "StretchKernels.h"

// Exact area averaging. Along one axis, destination pixel i covers the source interval
// [i * s / n, (i + 1) * s / n). Scaling every coordinate by n / g (g = gcd(s, n)) makes all
// interval ends integers: destination i covers [i * S, (i + 1) * S) and source pixel j covers
// [j * N, (j + 1) * N), with S = s / g and N = n / g. The overlaps are integer weights that
// sum to S for every destination pixel, so a destination pixel's colour is
//   sum over covered source pixels of (weightX * weightY * value) / (Sx * Sy),
// computed exactly in integers and rounded to the nearest integer, halves to the even one.
// The filter is separable: each source row is first reduced horizontally (sums up to
// 255 * Sx), then rows are combined with their vertical weights.
namespace tessaro::stretch {

namespace {

__extension__ typedef unsigned __int128 Wide;

struct AxisWeights {
    int32_t first = 0;  // destination indices first..end-1 are written
    int32_t end = 0;
    std::vector<int32_t> start;     // first covered source index (absolute), per destination
    std::vector<uint32_t> offset;   // into `weights`; one more entry than destinations
    std::vector<uint32_t> weights;  // overlap of each covered source pixel
    uint64_t total = 0;             // S: the sum of one destination's weights

    size_t count() const { return static_cast<size_t>(end - first); }
};

AxisWeights weighAxis(int32_t to, int32_t n, int32_t dstLimit, int32_t from, int32_t s,
                      int32_t srcLimit) {
    const int64_t g = std::gcd(int64_t{s}, int64_t{n});
    const int64_t S = s / g;
    const int64_t N = n / g;
    const auto firstSource = [&](int64_t i) { return from + (i * S) / N; };
    const auto lastSource = [&](int64_t i) { return from + ((i + 1) * S - 1) / N; };

    int64_t lo = std::max<int64_t>(0, -int64_t{to});
    int64_t hi = std::min<int64_t>(n, int64_t{dstLimit} - to);
    while (lo < hi && firstSource(lo) < 0) {
        ++lo;
    }
    while (lo < hi && lastSource(hi - 1) >= srcLimit) {
        --hi;
    }
    AxisWeights axis;
    axis.total = static_cast<uint64_t>(S);
    if (lo >= hi) {
        return axis;
    }
    axis.first = static_cast<int32_t>(lo);
    axis.end = static_cast<int32_t>(hi);
    for (int64_t i = lo; i < hi; ++i) {
        const int64_t a = i * S;
        const int64_t b = a + S;
        axis.start.push_back(static_cast<int32_t>(firstSource(i)));
        axis.offset.push_back(static_cast<uint32_t>(axis.weights.size()));
        for (int64_t j = a / N; j * N < b; ++j) {
            const int64_t overlap = std::min(b, (j + 1) * N) - std::max(a, j * N);
            axis.weights.push_back(static_cast<uint32_t>(overlap));
        }
    }
    axis.offset.push_back(static_cast<uint32_t>(axis.weights.size()));
    return axis;
}

// One source row reduced horizontally: three sums per written destination column.
void reduceRow(const AxisWeights& cols, const uint8_t* bgr, int32_t bgrFirst, uint64_t* out) {
    for (size_t i = 0; i < cols.count(); ++i, out += 3) {
        const uint8_t* p = bgr + 3 * static_cast<size_t>(cols.start[i] - bgrFirst);
        uint64_t b = 0;
        uint64_t g = 0;
        uint64_t r = 0;
        for (uint32_t k = cols.offset[i]; k < cols.offset[i + 1]; ++k, p += 3) {
            const uint64_t w = cols.weights[k];
            b += w * p[0];
            g += w * p[1];
            r += w * p[2];
        }
        out[0] = b;
        out[1] = g;
        out[2] = r;
    }
}

// sum / total rounded to the nearest integer, halves to the even neighbour.
template <typename Acc>
uint8_t roundHalfEven(Acc sum, Acc q, Acc total) {
    // Branch-free: the round-up decision is unpredictable for noisy pictures.
    const Acc twiceRest = 2 * (sum - q * total);
    const Acc up = Acc{twiceRest > total} | (Acc{twiceRest == total} & q & 1);
    return static_cast<uint8_t>(q + up);
}

// Divides by one fixed total. Sums below 2^32 (the usual case) use a multiply by the
// rounded-up reciprocal 2^64 / total, which gives the exact quotient for every 32-bit
// dividend and divisor; larger sums use plain division.
template <typename Acc>
class MeanOf {
  public:
    MeanOf(Acc total, bool sumsFit32) : total_(total) {
        if constexpr (std::is_same_v<Acc, uint64_t>) {
            if (sumsFit32 && total > 1) {
                reciprocal_ = UINT64_MAX / total + 1;
            }
        }
    }

    uint8_t operator()(Acc sum) const {
        if constexpr (std::is_same_v<Acc, uint64_t>) {
            if (reciprocal_ != 0) {
                const auto q = static_cast<uint64_t>((Wide{reciprocal_} * sum) >> 64);
                return roundHalfEven<Acc>(sum, q, total_);
            }
        }
        return roundHalfEven<Acc>(sum, sum / total_, total_);
    }

  private:
    Acc total_;
    uint64_t reciprocal_ = 0;
};

// Holds the horizontal reductions of the two source rows used last: neighbouring
// destination rows share at most the source row on their boundary when shrinking, and
// reuse the same one or two rows when enlarging.
class ReducedRows {
  public:
    ReducedRows(const AxisWeights& cols, const DibSection& src) : cols_(cols), reader_(src) {
        srcFirst_ = cols.start.front();
        const size_t last = cols.count() - 1;
        srcCount_ = cols.start[last] +
                    static_cast<int32_t>(cols.offset[last + 1] - cols.offset[last]) - srcFirst_;
        for (auto& b : buffers_) {
            b.resize(3 * cols.count());
        }
    }

    const uint64_t* get(int32_t sourceRow) {
        for (size_t k = 0; k < 2; ++k) {
            if (rows_[k] == sourceRow) {
                return buffers_[k].data();
            }
        }
        const size_t k = next_;
        next_ ^= 1;
        reduceRow(cols_, reader_.span(sourceRow, srcFirst_, srcCount_), srcFirst_,
                  buffers_[k].data());
        rows_[k] = sourceRow;
        return buffers_[k].data();
    }

  private:
    const AxisWeights& cols_;
    pixels::RowReader reader_;
    int32_t srcFirst_ = 0;
    int32_t srcCount_ = 0;
    std::array<std::vector<uint64_t>, 2> buffers_;
    std::array<int32_t, 2> rows_{-1, -1};
    size_t next_ = 0;
};

template <typename Acc>
void combineRows(DibSection& dst, int32_t toX, int32_t toY, const AxisWeights& cols,
                 const AxisWeights& rows, const DibSection& src, uint32_t rop) {
    ReducedRows reduced(cols, src);
    pixels::RowWriter writer(dst, rop);
    const size_t values = 3 * cols.count();
    std::vector<Acc> acc(values);
    std::vector<uint8_t> out(values);
    const Acc total = Acc{cols.total} * rows.total;
    const MeanOf<Acc> mean(total, Wide{255} * total <= UINT32_MAX);
    for (size_t r = 0; r < rows.count(); ++r) {
        int32_t sourceRow = rows.start[r];
        for (uint32_t k = rows.offset[r]; k < rows.offset[r + 1]; ++k, ++sourceRow) {
            const Acc w = rows.weights[k];
            const uint64_t* h = reduced.get(sourceRow);
            if (k == rows.offset[r]) {
                for (size_t v = 0; v < values; ++v) {
                    acc[v] = w * h[v];
                }
            } else {
                for (size_t v = 0; v < values; ++v) {
                    acc[v] += w * h[v];
                }
            }
        }
        for (size_t v = 0; v < values; ++v) {
            out[v] = mean(acc[v]);
        }
        writer.write(toY + rows.first + static_cast<int32_t>(r), toX + cols.first,
                     static_cast<int32_t>(cols.count()), out.data());
    }
}

}  // namespace

void areaAverage(DibSection& dst, Rect to, const DibSection& src, Rect from, uint32_t rop) {
    const AxisWeights cols = weighAxis(to.x, to.w, dst.width(), from.x, from.w, src.width());
    const AxisWeights rows = weighAxis(to.y, to.h, dst.height(), from.y, from.h, src.height());
    if (cols.count() == 0 || rows.count() == 0) {
        return;
    }
    // 64-bit sums suffice unless 255 * Sx * Sy does not fit (enormous, co-prime sizes).
    const Wide bound = Wide{255} * cols.total * rows.total;
    if (bound <= UINT64_MAX) {
        combineRows<uint64_t>(dst, to.x, to.y, cols, rows, src, rop);
    } else {
        combineRows<Wide>(dst, to.x, to.y, cols, rows, src, rop);
    }
}

}  // namespace tessaro::stretch
