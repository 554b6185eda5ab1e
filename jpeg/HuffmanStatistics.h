#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Component.h"
#include "HuffmanTable.h"
#include "McuLayout.h"

namespace tessaro::jpeg {

// Everything the statistics need to know about the frame.
struct FrameGeometry {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Hmax = 1;
    int32_t Vmax = 1;
    int32_t Precision = 8;
};

// DC categories of a component coded alone: blocks in stored order.
void CountDcSingle(const Component& c, SymbolCounts& counts);
// DC categories in interleaved order; filler blocks count category 0.
void CountDcInterleaved(const Component& c, const McuLayout& layout, SymbolCounts& counts);
// AC symbols (runs, ZRL, EOB) of the stored blocks.
void CountAcSymbols(const Component& c, SymbolCounts& counts);
// AC symbols of one block.
void CountAcSymbols(const int16_t* block, SymbolCounts& counts);

// Builds every DC and AC table that a component selects (Td, Ta) from this image's
// coefficients and returns the estimated size of the entropy-coded data in bytes.
int64_t OptimizeTables(const std::vector<Component>& components, const FrameGeometry& frame,
                       std::array<HuffmanTable, 4>& dcTables,
                       std::array<HuffmanTable, 4>& acTables);

}  // namespace tessaro::jpeg
