#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaro::jpeg {

// Tables of one quantization table for the block transforms.
struct WideTransformTables {
    // Divisor of transposed entry c*8 + r (natural row r, column c), in double precision.
    alignas(32) double divisors[64];
    // Byte shuffles that gather the zig-zag order: for output pair p (zig-zag indices 16p ..
    // 16p+15) and natural column c, the bytes of column c's eight 16-bit values that land there.
    alignas(32) uint8_t gather[4][8][32];
};

// Fills the tables from natural-order divisors (entry r*8 + c) and the zig-zag table.
void buildWideTransformTables(const float* naturalDivisors, const int32_t* zigZag,
                              WideTransformTables& tables);

// DCT, quantization and zig-zag ordering of one block (row n at samples + n * stride) with
// AVX2, identical to the scalar steps. Returns false, leaving `out` unspecified, when a
// coefficient falls outside 16 bits.
bool transformBlockWide(const float* samples, ptrdiff_t stride, const WideTransformTables& tables,
                        int16_t* out);

}  // namespace tessaro::jpeg
