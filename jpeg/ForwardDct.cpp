#include "ForwardDct.h"

#include <cstring>

#include "CheckedMath.h"

namespace tessaro::jpeg {

namespace {

// Eight lanes of single and double precision. The lanes are independent: each does exactly
// what the scalar pass does for one column (or row).
typedef float F8 __attribute__((vector_size(32)));
typedef double D8 __attribute__((vector_size(64)));

constexpr double kC4 = 0.707106781186548;
constexpr double kC6 = 0.382683432365091;
constexpr double kC26m = 0.541196100146196;
constexpr double kC26p = 1.30656296487638;

// A single addition or subtraction of two singles rounds to the same single whether it is
// done in single precision or in double precision and then rounded, so only the steps with
// several operations or a double constant need the double lanes.
#define TESSARO_D(x) __builtin_convertvector((x), D8)
#define TESSARO_F(x) __builtin_convertvector((x), F8)

// One 8-point pass over eight lanes; v[n] holds input n of every lane and receives output n.
inline __attribute__((always_inline)) void dctPass(F8* v) {
    const F8 x0 = v[0], x1 = v[1], x2 = v[2], x3 = v[3];
    const F8 x4 = v[4], x5 = v[5], x6 = v[6], x7 = v[7];
    F8 t0 = x7 + x0;
    F8 t1 = x0 - x7;
    F8 t2 = x6 + x1;
    F8 t3 = x1 - x6;
    F8 t4 = x5 + x2;
    F8 t5 = x2 - x5;
    F8 t6 = x4 + x3;
    F8 t7 = x3 - x4;
    t7 = t5 + t7;
    const F8 t8 = t0 - t6;
    t6 = t0 + t6;
    t0 = t4 + t2;
    t2 = TESSARO_F(((TESSARO_D(t2) - TESSARO_D(t4)) + TESSARO_D(t8)) * kC4);
    t4 = t3 + t1;
    t3 = TESSARO_F((TESSARO_D(t5) + TESSARO_D(t3)) * kC4);
    t5 = TESSARO_F((TESSARO_D(t4) - TESSARO_D(t7)) * kC6);
    t7 = TESSARO_F(TESSARO_D(t7) * kC26m - TESSARO_D(t5));
    t4 = TESSARO_F(TESSARO_D(t4) * kC26p - TESSARO_D(t5));
    t5 = t3 + t1;
    t1 = t1 - t3;
    v[0] = t6 + t0;
    v[4] = t6 - t0;
    v[1] = t5 + t4;
    v[7] = t5 - t4;
    v[2] = t8 + t2;
    v[6] = t8 - t2;
    v[5] = t7 + t1;
    v[3] = t1 - t7;
}

#undef TESSARO_D
#undef TESSARO_F

inline void transpose(const float* in, float* out) {
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            out[c * 8 + r] = in[r * 8 + c];
        }
    }
}

// Columns as lanes, then rows as lanes; leaves the result transposed (entry col*8+row).
inline void dctTransposed(float* block, F8* rows) {
    F8 v[8];
    std::memcpy(v, block, sizeof v);
    dctPass(v);
    transpose(reinterpret_cast<const float*>(v), reinterpret_cast<float*>(rows));
    dctPass(rows);
}

// Rounds halves to even for |x| < 2^51: adding 1.5 * 2^52 leaves no fraction bits.
constexpr double kRoundingBias = 6755399441055744.0;

inline void quantizeTransposed(const float* block, const float* divisors, const int32_t* zz,
                               int16_t* out) {
    double rounded[64];
    bool inRange = true;
    for (int i = 0; i < 64; ++i) {
        const double x = static_cast<double>(divisors[i]) * static_cast<double>(block[i]);
        const double r = (x + kRoundingBias) - kRoundingBias;
        rounded[i] = r;
        inRange = inRange & (r >= -32768.0) & (r <= 32767.0);
    }
    if (!inRange) {
        for (int i = 0; i < 64; ++i) {
            checked::round16(static_cast<double>(divisors[i]) * static_cast<double>(block[i]));
        }
    }
    for (int i = 0; i < 64; ++i) {
        out[zz[i]] = static_cast<int16_t>(rounded[i]);
    }
}

}  // namespace

void ForwardDct(float* block) {
    F8 rows[8];
    dctTransposed(block, rows);
    transpose(reinterpret_cast<const float*>(rows), block);
}

void QuantizeBlock(const float* block, const std::array<float, 64>& divisors, const ZigZagTable& zz,
                   int16_t* out) {
    std::array<float, 64> naturalDivisors{};
    for (int i = 0; i < 64; ++i) {
        naturalDivisors[i] = divisors[zz[i]];
    }
    quantizeTransposed(block, naturalDivisors.data(), zz.data(), out);
}

BlockTransformer::BlockTransformer(const std::array<float, 64>& divisors, const ZigZagTable& zz) {
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            divisors_[c * 8 + r] = divisors[zz[r * 8 + c]];
            zigZag_[c * 8 + r] = zz[r * 8 + c];
        }
    }
}

void BlockTransformer::transform(float* samples, int16_t* out) const {
    F8 rows[8];
    dctTransposed(samples, rows);
    quantizeTransposed(reinterpret_cast<const float*>(rows), divisors_.data(), zigZag_.data(), out);
}

}  // namespace tessaro::jpeg
