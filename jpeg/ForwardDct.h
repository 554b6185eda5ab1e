#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "WideTransform.h"
#include "ZigZag.h"

namespace tessaro::jpeg {

// Which instruction set runs the lanes. Both give identical results; the wide one is used
// when the processor has it.
enum class DctPath { Best, Generic, Wide };

// Whether DctPath::Wide can run here.
bool wideDctAvailable();

// The scaled floating-point AAN forward DCT of an 8x8 block (entry row*8+col), in place:
// every column first, then every row. Each step of the 8-point pass is rounded to single
// precision; steps with several operations are evaluated in double precision. The eight
// columns (then rows) run as vector lanes, each lane doing exactly the scalar operations.
void ForwardDct(float* block, DctPath path = DctPath::Best);

// Quantizes a transformed block: zig-zag coefficient ZigZag[i] = divisor * block[i] rounded to
// the nearest integer, halves to even. Raises the overflow error for a value outside 16 bits.
void QuantizeBlock(const float* block, const std::array<float, 64>& divisors, const ZigZagTable& zz,
                   int16_t* out);

// DCT and quantization of blocks with one table, in one go (skips the final transpose).
class BlockTransformer {
  public:
    BlockTransformer(const std::array<float, 64>& divisors, const ZigZagTable& zz);
    // Block row n starts at samples + n * stride; the samples are left as they are.
    void transform(const float* samples, ptrdiff_t stride, int16_t* out,
                   DctPath path = DctPath::Best) const;

  private:
    std::array<int32_t, 64> zigZag_{};  // per entry of the transposed block
    bool standardOrder_ = false;        // zigZag_ is the usual table
    bool wideByDefault_ = false;        // the path DctPath::Best takes, chosen once
    WideTransformTables wide_{};        // the divisors of both paths are here
};

}  // namespace tessaro::jpeg
