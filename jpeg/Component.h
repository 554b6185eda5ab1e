#pragma once

#include <cstdint>
#include <vector>

#include "Coefficients.h"
#include "HuffmanTable.h"

namespace tessaro::jpeg {

// Counts the sampler takes while each block is fresh, so that the Huffman statistics need
// not read the coefficients again: the AC symbols of all stored blocks, and the DC value of
// each block in stored order.
struct SampledStatistics {
    bool valid = false;  // set by the sampler for the coefficients it wrote
    SymbolCounts acCounts{};
    std::vector<int16_t> dc;
};

// One colour component of the image: its sampling factors, table selectors and the quantized
// coefficients of its blocks (64 per block in zig-zag order, blocks in the component's own
// raster order).
struct Component {
    int32_t Id = 0;
    int32_t H = 1;
    int32_t V = 1;
    int32_t Tq = 0;
    int32_t Td = 0;            // DC Huffman table, chosen when saving
    int32_t Ta = 0;            // AC Huffman table, chosen when saving
    int32_t PaddedWidth = 0;   // sampled width rounded up to whole blocks
    int32_t PaddedHeight = 0;  // sampled height rounded up to whole blocks
    CoefficientArray Coefficients;
    SampledStatistics Statistics;

    int32_t blocksPerRow() const { return PaddedWidth / 8; }
    int32_t blockRows() const { return PaddedHeight / 8; }
};

}  // namespace tessaro::jpeg
