#include "ForwardDct.h"

#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "CheckedMath.h"
#include "InstructionSet.h"

namespace tessaro::jpeg {

namespace {

// Four lanes of single precision and the same four lanes in double precision. The lanes are
// independent: each does exactly what the scalar pass does for one column (or row); a block
// is two groups of four lanes.
typedef float F4 __attribute__((vector_size(16)));
typedef double D4 __attribute__((vector_size(32)));
typedef int32_t I4 __attribute__((vector_size(16)));

constexpr double kC4 = 0.707106781186548;
constexpr double kC6 = 0.382683432365091;
constexpr double kC26m = 0.541196100146196;
constexpr double kC26p = 1.30656296487638;

#define TESSARO_D(x) __builtin_convertvector((x), D4)
#define TESSARO_F(x) __builtin_convertvector((x), F4)

// One 8-point pass over four lanes; v[n] holds input n of every lane and receives output n.
// A single addition or subtraction of two singles rounds to the same single whether it is
// done in single precision or in double precision and then rounded (double has more than
// twice the digits), so only the steps with several operations or a double constant need
// the double lanes.
inline __attribute__((always_inline)) void dctPass(F4* v) {
    const F4 x0 = v[0], x1 = v[1], x2 = v[2], x3 = v[3];
    const F4 x4 = v[4], x5 = v[5], x6 = v[6], x7 = v[7];
    F4 t0 = x7 + x0;
    F4 t1 = x0 - x7;
    F4 t2 = x6 + x1;
    F4 t3 = x1 - x6;
    F4 t4 = x5 + x2;
    F4 t5 = x2 - x5;
    F4 t6 = x4 + x3;
    F4 t7 = x3 - x4;
    t7 = t5 + t7;
    const F4 t8 = t0 - t6;
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

// An 8x8 block as 16 vectors: half[g][n] holds entries n*8 + 4g .. n*8 + 4g + 3.
struct Halves {
    F4 half[2][8];
};

// Lanes picked from two vectors (0..3 the first, 4..7 the second), in each compiler's words.
#if defined(__clang__)
#define TESSARO_SHUFFLE(a, b, i0, i1, i2, i3) __builtin_shufflevector(a, b, i0, i1, i2, i3)
#else
#define TESSARO_SHUFFLE(a, b, i0, i1, i2, i3) __builtin_shuffle(a, b, I4{i0, i1, i2, i3})
#endif

inline __attribute__((always_inline)) void transpose4(F4& a, F4& b, F4& c, F4& d) {
    const F4 t0 = TESSARO_SHUFFLE(a, b, 0, 4, 1, 5);
    const F4 t1 = TESSARO_SHUFFLE(a, b, 2, 6, 3, 7);
    const F4 t2 = TESSARO_SHUFFLE(c, d, 0, 4, 1, 5);
    const F4 t3 = TESSARO_SHUFFLE(c, d, 2, 6, 3, 7);
    a = TESSARO_SHUFFLE(t0, t2, 0, 1, 4, 5);
    b = TESSARO_SHUFFLE(t0, t2, 2, 3, 6, 7);
    c = TESSARO_SHUFFLE(t1, t3, 0, 1, 4, 5);
    d = TESSARO_SHUFFLE(t1, t3, 2, 3, 6, 7);
}

#undef TESSARO_SHUFFLE

// Out entry c*8 + r = in entry r*8 + c.
inline __attribute__((always_inline)) void transpose(const Halves& in, Halves& out) {
    for (int g = 0; g < 2; ++g) {      // column group of `in`
        for (int h = 0; h < 2; ++h) {  // row group of `in`
            F4 a = in.half[g][4 * h];
            F4 b = in.half[g][4 * h + 1];
            F4 c = in.half[g][4 * h + 2];
            F4 d = in.half[g][4 * h + 3];
            transpose4(a, b, c, d);
            out.half[h][4 * g] = a;
            out.half[h][4 * g + 1] = b;
            out.half[h][4 * g + 2] = c;
            out.half[h][4 * g + 3] = d;
        }
    }
}

// Row n of the block starts at block + n * stride.
inline __attribute__((always_inline)) void load(const float* block, ptrdiff_t stride, Halves& v) {
    for (int n = 0; n < 8; ++n) {
        std::memcpy(&v.half[0][n], block + n * stride, sizeof(F4));
        std::memcpy(&v.half[1][n], block + n * stride + 4, sizeof(F4));
    }
}

inline __attribute__((always_inline)) void store(const Halves& v, float* block) {
    for (int n = 0; n < 8; ++n) {
        std::memcpy(block + n * 8, &v.half[0][n], sizeof(F4));
        std::memcpy(block + n * 8 + 4, &v.half[1][n], sizeof(F4));
    }
}

// Columns as lanes, then rows as lanes; leaves the result transposed (entry col*8 + row).
inline __attribute__((always_inline)) void dctTransposed(const float* block, ptrdiff_t stride,
                                                         Halves& out) {
    Halves v;
    load(block, stride, v);
    dctPass(v.half[0]);
    dctPass(v.half[1]);
    transpose(v, out);
    dctPass(out.half[0]);
    dctPass(out.half[1]);
}

typedef uint32_t U4 __attribute__((vector_size(16)));

// The zig-zag index of each entry of a transposed block (entry c*8 + r is natural row r,
// column c), for the table every encoder uses.
constexpr std::array<int32_t, 64> transposedZigZag() {
    const ZigZagTable zz = buildZigZag();
    std::array<int32_t, 64> t{};
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            t[c * 8 + r] = zz[r * 8 + c];
        }
    }
    return t;
}

constexpr std::array<int32_t, 64> kTransposedZigZag = transposedZigZag();

// x rounded to the nearest integer, halves to even (the default rounding mode); values that
// do not fit become INT32_MIN on x86.
inline __attribute__((always_inline)) I4 roundToInt(const D4& x) {
#if defined(__SSE2__)
    __m128d low;
    __m128d high;
    std::memcpy(&low, &x, sizeof low);
    std::memcpy(&high, reinterpret_cast<const char*>(&x) + sizeof low, sizeof high);
    const __m128i q = _mm_unpacklo_epi64(_mm_cvtpd_epi32(low), _mm_cvtpd_epi32(high));
    I4 r;
    std::memcpy(&r, &q, sizeof r);
    return r;
#else
    // Adding 1.5 * 2^52 leaves no fraction bits for |x| < 2^51.
    constexpr double kRoundingBias = 6755399441055744.0;
    return __builtin_convertvector((x + kRoundingBias) - kRoundingBias, I4);
#endif
}

// divisor * value (exact in double precision) rounded half to even, four lanes at a time,
// stored at out[zz[i]] for entry i of `v`. Values outside 16 bits are caught for the whole
// block before anything is stored: v + 32768 then has a bit above the sixteenth. `divisors`
// follow the layout of `v`; with kTransposed the layout is the transposed block and zz the
// usual zig-zag table, so the stores need no table.
template <bool kTransposed>
inline __attribute__((always_inline)) void quantize(const Halves& v, const double* divisors,
                                                    const int32_t* zz, int16_t* out) {
    int32_t values[64];
    U4 spill = {0, 0, 0, 0};
    for (int g = 0; g < 2; ++g) {
        for (int n = 0; n < 8; ++n) {
            D4 d;
            std::memcpy(&d, divisors + n * 8 + 4 * g, sizeof d);
            const I4 q = roundToInt(d * __builtin_convertvector(v.half[g][n], D4));
            spill |= reinterpret_cast<const U4&>(q) + 32768u;
            std::memcpy(values + n * 8 + 4 * g, &q, sizeof q);
        }
    }
    spill >>= 16;
    if ((spill[0] | spill[1] | spill[2] | spill[3]) != 0) {
        float block[64];
        store(v, block);
        for (int i = 0; i < 64; ++i) {
            checked::round16(divisors[i] * static_cast<double>(block[i]));
        }
    }
    if constexpr (kTransposed) {
        [&]<size_t... I>(std::index_sequence<I...>) {
            ((out[kTransposedZigZag[I]] = static_cast<int16_t>(values[I])), ...);
        }
        (std::make_index_sequence<64>{});
    } else {
        for (int i = 0; i < 64; ++i) {
            out[zz[i]] = static_cast<int16_t>(values[i]);
        }
    }
}

inline __attribute__((always_inline)) void forwardDctNatural(float* block) {
    Halves transposed;
    dctTransposed(block, 8, transposed);
    Halves natural;
    transpose(transposed, natural);
    store(natural, block);
}

template <bool kStandardOrder>
inline __attribute__((always_inline)) void transformBlock(const float* samples, ptrdiff_t stride,
                                                          const double* divisors, const int32_t* zz,
                                                          int16_t* out) {
    Halves transposed;
    dctTransposed(samples, stride, transposed);
    quantize<kStandardOrder>(transposed, divisors, zz, out);
}

void forwardDctGeneric(float* block) {
    forwardDctNatural(block);
}

void transformGeneric(const float* samples, ptrdiff_t stride, const double* divisors,
                      const int32_t* zz, bool standardOrder, int16_t* out) {
    if (standardOrder) {
        transformBlock<true>(samples, stride, divisors, zz, out);
    } else {
        transformBlock<false>(samples, stride, divisors, zz, out);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
#define TESSARO_WIDE_DCT 1
// The same code with 256-bit registers: four double lanes in one register.
__attribute__((target("avx2"))) void forwardDctWide(float* block) {
    forwardDctNatural(block);
}

#endif

bool useWide(DctPath path) {
    switch (path) {
        case DctPath::Generic:
            return false;
        case DctPath::Wide:
            return true;
        case DctPath::Best:
        default:
            return wideDctAvailable();
    }
}

}  // namespace

bool wideDctAvailable() {
#ifdef TESSARO_WIDE_DCT
    return wideInstructionsAvailable();
#else
    return false;
#endif
}

void ForwardDct(float* block, DctPath path) {
#ifdef TESSARO_WIDE_DCT
    if (useWide(path)) {
        forwardDctWide(block);
        return;
    }
#else
    (void)path;
#endif
    forwardDctGeneric(block);
}

void QuantizeBlock(const float* block, const std::array<float, 64>& divisors, const ZigZagTable& zz,
                   int16_t* out) {
    std::array<double, 64> naturalDivisors{};
    for (int i = 0; i < 64; ++i) {
        naturalDivisors[i] = static_cast<double>(divisors[zz[i]]);
    }
    Halves v;
    load(block, 8, v);
    quantize<false>(v, naturalDivisors.data(), zz.data(), out);
}

BlockTransformer::BlockTransformer(const std::array<float, 64>& divisors, const ZigZagTable& zz) {
    std::array<float, 64> natural{};
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            natural[r * 8 + c] = divisors[zz[r * 8 + c]];
            zigZag_[c * 8 + r] = zz[r * 8 + c];
        }
    }
    standardOrder_ = zigZag_ == kTransposedZigZag;
    wideByDefault_ = wideDctAvailable();
    buildWideTransformTables(natural.data(), zz.data(), wide_);
}

void BlockTransformer::transform(const float* samples, ptrdiff_t stride, int16_t* out,
                                 DctPath path) const {
#ifdef TESSARO_WIDE_DCT
    // A coefficient outside 16 bits is raised by the generic path.
    const bool wide = path == DctPath::Best ? wideByDefault_ : useWide(path);
    if (wide && transformBlockWide(samples, stride, wide_, out)) {
        return;
    }
#else
    (void)path;
#endif
    transformGeneric(samples, stride, wide_.divisors, zigZag_.data(), standardOrder_, out);
}

}  // namespace tessaro::jpeg
