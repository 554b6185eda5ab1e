#pragma once

#include <bit>
#include <cstdint>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessaro::jpeg {

inline constexpr int kEndOfBlock = 0x00;
inline constexpr int kZeroRun16 = 0xF0;

// Number of significant bits of |v|: 0 for 0, 1 for +-1, 2 for +-2..3, ...
inline int category(int32_t v) {
    return static_cast<int>(std::bit_width(static_cast<uint32_t>(v < 0 ? -v : v)));
}

// The low `cat` bits written after a symbol: v itself, or v - 1 for a negative v (the one's
// complement of |v|).
inline uint32_t valueBits(int32_t v) {
    return static_cast<uint32_t>(v < 0 ? v - 1 : v);
}

// Bit z set when zig-zag coefficient z of the block is nonzero.
inline uint64_t nonzeroMask(const int16_t* block) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    uint64_t mask = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + part * 16));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + part * 16 + 8));
        const __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        const auto bits = static_cast<uint32_t>(_mm_movemask_epi8(zeros)) ^ 0xFFFFu;
        mask |= uint64_t{bits} << (part * 16);
    }
    return mask;
#else
    uint64_t mask = 0;
    for (int z = 0; z < 64; ++z) {
        if (block[z] != 0) {
            mask |= uint64_t{1} << z;
        }
    }
    return mask;
#endif
}

// Visits the AC symbols of a block in coding order: onRun16() for every ZRL, onSymbol(symbol,
// value) for each nonzero coefficient, onEndOfBlock() when the block ends in zeros.
template <typename Run16, typename Symbol, typename End>
inline void forEachAcSymbol(const int16_t* block, Run16&& onRun16, Symbol&& onSymbol,
                            End&& onEndOfBlock) {
    uint64_t mask = nonzeroMask(block) & ~uint64_t{1};
    int last = 0;
    while (mask != 0) {
        const int z = std::countr_zero(mask);
        mask &= mask - 1;
        int run = z - last - 1;
        while (run >= 16) {
            onRun16();
            run -= 16;
        }
        const int32_t v = block[z];
        onSymbol(run * 16 + category(v), v);
        last = z;
    }
    if (last < 63) {
        onEndOfBlock();
    }
}

}  // namespace tessaro::jpeg
