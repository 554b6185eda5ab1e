#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "BitWriter.h"
#include "Component.h"
#include "HuffmanTable.h"
#include "McuLayout.h"
#include "ScanGrouping.h"

namespace tessaro::jpeg {

// Codes the block at `position` of `coefficients`: DC difference from the predictor, AC runs,
// ZRL and EOB. Updates the predictor.
void EncodeBlock(BitWriter& bits, const int16_t* block, int32_t& predictor, const HuffmanTable& dc,
                 const HuffmanTable& ac);

// A filler block: DC equal to the predictor, all AC zero.
void EncodeFillerBlock(BitWriter& bits, const HuffmanTable& dc, const HuffmanTable& ac);

// Entropy-coded data of one scan (its SOS segment is written by the caller).
void WriteSingleScan(OutputBuffer& out, const Component& c, const HuffmanTable& dc,
                     const HuffmanTable& ac);
void WriteInterleavedScan(OutputBuffer& out, const std::vector<Component>& components,
                          const ScanGroup& group, const McuLayout& layout,
                          const std::array<HuffmanTable, 4>& dcTables,
                          const std::array<HuffmanTable, 4>& acTables);

}  // namespace tessaro::jpeg
