#pragma once

#include <array>
#include <cstdint>

#include "ZigZag.h"

namespace tessaro::jpeg {

// One quantization table slot: quantizer values and the matching DCT divisors, both indexed
// by zig-zag index.
struct QuantTable {
    std::array<int16_t, 64> Values{};
    std::array<float, 64> Divisors{};
};

// The luminance and chrominance base tables, in zig-zag order.
const std::array<int16_t, 64>& baseLuminanceTable();
const std::array<int16_t, 64>& baseChrominanceTable();

// The AAN output scale of each DCT row/column, folded into the divisors.
const std::array<double, 8>& dctScaleFactors();

// Percentage by which the base tables are scaled for a quality of 1..100.
int32_t qualityScale(int32_t quality);

// base * scale / 100 rounded as the encoder always has, clamped to 1..255.
std::array<int16_t, 64> scaleTable(const std::array<int16_t, 64>& base, int32_t scale);

// Checks the quantizer values against the sample precision and fills the divisors; raises
// "Bad Quantization Table" at the first value out of range.
void buildDivisors(QuantTable& table, int32_t precision, const ZigZagTable& zz);

}  // namespace tessaro::jpeg
