#pragma once

#include <array>
#include <cstdint>

namespace tessaro::jpeg {

// A Huffman table as written to the file (Bits, HuffVal) and as used for coding: per symbol
// the top bit of its code (2^(length-1), 0 without a code) and the code value (-1 without).
struct HuffmanTable {
    std::array<uint8_t, 16> Bits{};
    std::array<uint8_t, 256> HuffVal{};
    std::array<int32_t, 256> CodeTop{};
    std::array<int32_t, 256> Code{};
    std::array<uint8_t, 256> Length{};  // code length per symbol, 0 without a code

    // Number of HuffVal entries in use: the sum of Bits.
    int32_t symbolCount() const {
        int32_t n = 0;
        for (uint8_t b : Bits) {
            n += b;
        }
        return n;
    }
};

// Symbol frequencies 0..256; 256 is the reserved symbol that keeps codes from being all ones.
using SymbolCounts = std::array<int32_t, 257>;

// Fills Bits and HuffVal with an optimal code of at most 16 bits for the counts, and clears
// the counts.
void OptimalTable(HuffmanTable& table, SymbolCounts& counts);

// Assigns the canonical codes; raises "Bad Huffman Table" for an inconsistent table or a
// symbol above largestSymbol.
void BuildCodes(HuffmanTable& table, int32_t largestSymbol);

}  // namespace tessaro::jpeg
