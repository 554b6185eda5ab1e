#include "QuantTables.h"

#include <cmath>

#include "CheckedMath.h"
#include "EncoderError.h"

namespace tessaro::jpeg {

const std::array<int16_t, 64>& baseLuminanceTable() {
    // Written in natural (row by row) order and stored in zig-zag order.
    static const std::array<int16_t, 64> table = [] {
        const int16_t natural[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                     58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                     22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                     77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                     103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};
        std::array<int16_t, 64> t{};
        for (int n = 0; n < 64; ++n) {
            t[zigZag()[n]] = natural[n];
        }
        return t;
    }();
    return table;
}

const std::array<int16_t, 64>& baseChrominanceTable() {
    static const std::array<int16_t, 64> table = [] {
        std::array<int16_t, 64> t{};
        const int16_t head[14] = {17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66};
        for (int k = 0; k < 64; ++k) {
            t[k] = k < 14 ? head[k] : int16_t{99};
        }
        return t;
    }();
    return table;
}

const std::array<double, 8>& dctScaleFactors() {
    static const std::array<double, 8> factors = {
        0.353553390593273, 0.25489778955208,  0.270598050073098, 0.300672443467523,
        0.353553390593273, 0.449988111568207, 0.653281482438186, 1.28145772387074};
    return factors;
}

int32_t qualityScale(int32_t quality) {
    if (quality < 50) {
        return checked::round32(5000.0 / static_cast<double>(quality));
    }
    return 200 - 2 * quality;
}

std::array<int16_t, 64> scaleTable(const std::array<int16_t, 64>& base, int32_t scale) {
    std::array<int16_t, 64> out{};
    for (int k = 0; k < 64; ++k) {
        const int32_t p = checked::add32(checked::mul32(base[k], scale), 50);
        int32_t v = checked::round32(static_cast<double>(p) / 100.0);
        if (v < 1) {
            v = 1;
        }
        if (v > 255) {
            v = 255;
        }
        out[k] = static_cast<int16_t>(v);
    }
    return out;
}

void buildDivisors(QuantTable& table, int32_t precision, const ZigZagTable& zz) {
    const int32_t largest = precision == 12 ? 65535 : 255;
    const auto& f = dctScaleFactors();
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const int k = zz[j * 8 + i];
            const int32_t q = table.Values[k];
            if (q < 1 || q > largest) {
                raiseEncoderError(kBadQuantizationTable);
            }
            table.Divisors[k] = static_cast<float>((f[i] * f[j]) / static_cast<double>(q));
        }
    }
}

}  // namespace tessaro::jpeg
