#include "WideTransform.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESSARO_WIDE_TRANSFORM 1
#endif

namespace tessaro::jpeg {

void buildWideTransformTables(const float* naturalDivisors, const int32_t* zigZag,
                              WideTransformTables& tables) {
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            tables.divisors[c * 8 + r] = static_cast<double>(naturalDivisors[r * 8 + c]);
        }
    }
    for (auto& pair : tables.gather) {
        for (auto& column : pair) {
            for (uint8_t& b : column) {
                b = 0x80;  // a set top bit gives a zero byte
            }
        }
    }
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const int k = zigZag[r * 8 + c];
            // Output pair k / 16 holds index k at byte 2 * (k % 16); a 256-bit shuffle works
            // within each 16-byte half, and both halves see column c.
            uint8_t* bytes = tables.gather[k / 16][c] + 2 * (k % 16);
            bytes[0] = static_cast<uint8_t>(2 * r);
            bytes[1] = static_cast<uint8_t>(2 * r + 1);
        }
    }
}

#ifdef TESSARO_WIDE_TRANSFORM

namespace {

constexpr double kC4 = 0.707106781186548;
constexpr double kC6 = 0.382683432365091;
constexpr double kC26m = 0.541196100146196;
constexpr double kC26p = 1.30656296487638;

// Eight single lanes as two groups of four double lanes.
struct Doubles {
    __m256d low;
    __m256d high;
};

__attribute__((target("avx2"))) inline Doubles wide(__m256 x) {
    return {_mm256_cvtps_pd(_mm256_castps256_ps128(x)),
            _mm256_cvtps_pd(_mm256_extractf128_ps(x, 1))};
}

__attribute__((target("avx2"))) inline __m256 narrow(__m256d low, __m256d high) {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(low)), _mm256_cvtpd_ps(high),
                                1);
}

// One 8-point pass over eight lanes, step for step as the scalar pass. A single addition or
// subtraction of two singles rounds the same in single precision as in double precision and
// then to single, so only the steps with several operations or a double constant need the
// double lanes.
__attribute__((target("avx2"))) inline void dctPass(__m256* v) {
    const __m256 x0 = v[0], x1 = v[1], x2 = v[2], x3 = v[3];
    const __m256 x4 = v[4], x5 = v[5], x6 = v[6], x7 = v[7];
    __m256 t0 = _mm256_add_ps(x7, x0);
    __m256 t1 = _mm256_sub_ps(x0, x7);
    __m256 t2 = _mm256_add_ps(x6, x1);
    __m256 t3 = _mm256_sub_ps(x1, x6);
    __m256 t4 = _mm256_add_ps(x5, x2);
    __m256 t5 = _mm256_sub_ps(x2, x5);
    __m256 t6 = _mm256_add_ps(x4, x3);
    __m256 t7 = _mm256_sub_ps(x3, x4);
    t7 = _mm256_add_ps(t5, t7);
    const __m256 t8 = _mm256_sub_ps(t0, t6);
    t6 = _mm256_add_ps(t0, t6);
    t0 = _mm256_add_ps(t4, t2);
    const __m256d c4 = _mm256_set1_pd(kC4);
    {
        // t2 = ((t2 - t4) + t8) * C4
        const Doubles a = wide(t2), b = wide(t4), c = wide(t8);
        t2 = narrow(_mm256_mul_pd(_mm256_add_pd(_mm256_sub_pd(a.low, b.low), c.low), c4),
                    _mm256_mul_pd(_mm256_add_pd(_mm256_sub_pd(a.high, b.high), c.high), c4));
    }
    t4 = _mm256_add_ps(t3, t1);
    {
        // t3 = (t5 + t3) * C4
        const Doubles a = wide(t5), b = wide(t3);
        t3 = narrow(_mm256_mul_pd(_mm256_add_pd(a.low, b.low), c4),
                    _mm256_mul_pd(_mm256_add_pd(a.high, b.high), c4));
    }
    {
        // t5 = (t4 - t7) * C6; t7 = t7 * C26m - t5; t4 = t4 * C26p - t5
        const Doubles a = wide(t4), b = wide(t7);
        const __m256d c6 = _mm256_set1_pd(kC6);
        t5 = narrow(_mm256_mul_pd(_mm256_sub_pd(a.low, b.low), c6),
                    _mm256_mul_pd(_mm256_sub_pd(a.high, b.high), c6));
        const Doubles s = wide(t5);
        const __m256d m = _mm256_set1_pd(kC26m);
        const __m256d p = _mm256_set1_pd(kC26p);
        t7 = narrow(_mm256_sub_pd(_mm256_mul_pd(b.low, m), s.low),
                    _mm256_sub_pd(_mm256_mul_pd(b.high, m), s.high));
        t4 = narrow(_mm256_sub_pd(_mm256_mul_pd(a.low, p), s.low),
                    _mm256_sub_pd(_mm256_mul_pd(a.high, p), s.high));
    }
    t5 = _mm256_add_ps(t3, t1);
    t1 = _mm256_sub_ps(t1, t3);
    v[0] = _mm256_add_ps(t6, t0);
    v[4] = _mm256_sub_ps(t6, t0);
    v[1] = _mm256_add_ps(t5, t4);
    v[7] = _mm256_sub_ps(t5, t4);
    v[2] = _mm256_add_ps(t8, t2);
    v[6] = _mm256_sub_ps(t8, t2);
    v[5] = _mm256_add_ps(t7, t1);
    v[3] = _mm256_sub_ps(t1, t7);
}

__attribute__((target("avx2"))) inline void transpose(__m256* v) {
    const __m256 a0 = _mm256_unpacklo_ps(v[0], v[1]);
    const __m256 a1 = _mm256_unpackhi_ps(v[0], v[1]);
    const __m256 a2 = _mm256_unpacklo_ps(v[2], v[3]);
    const __m256 a3 = _mm256_unpackhi_ps(v[2], v[3]);
    const __m256 a4 = _mm256_unpacklo_ps(v[4], v[5]);
    const __m256 a5 = _mm256_unpackhi_ps(v[4], v[5]);
    const __m256 a6 = _mm256_unpacklo_ps(v[6], v[7]);
    const __m256 a7 = _mm256_unpackhi_ps(v[6], v[7]);
    const __m256 b0 = _mm256_shuffle_ps(a0, a2, _MM_SHUFFLE(1, 0, 1, 0));
    const __m256 b1 = _mm256_shuffle_ps(a0, a2, _MM_SHUFFLE(3, 2, 3, 2));
    const __m256 b2 = _mm256_shuffle_ps(a1, a3, _MM_SHUFFLE(1, 0, 1, 0));
    const __m256 b3 = _mm256_shuffle_ps(a1, a3, _MM_SHUFFLE(3, 2, 3, 2));
    const __m256 b4 = _mm256_shuffle_ps(a4, a6, _MM_SHUFFLE(1, 0, 1, 0));
    const __m256 b5 = _mm256_shuffle_ps(a4, a6, _MM_SHUFFLE(3, 2, 3, 2));
    const __m256 b6 = _mm256_shuffle_ps(a5, a7, _MM_SHUFFLE(1, 0, 1, 0));
    const __m256 b7 = _mm256_shuffle_ps(a5, a7, _MM_SHUFFLE(3, 2, 3, 2));
    v[0] = _mm256_permute2f128_ps(b0, b4, 0x20);
    v[1] = _mm256_permute2f128_ps(b1, b5, 0x20);
    v[2] = _mm256_permute2f128_ps(b2, b6, 0x20);
    v[3] = _mm256_permute2f128_ps(b3, b7, 0x20);
    v[4] = _mm256_permute2f128_ps(b0, b4, 0x31);
    v[5] = _mm256_permute2f128_ps(b1, b5, 0x31);
    v[6] = _mm256_permute2f128_ps(b2, b6, 0x31);
    v[7] = _mm256_permute2f128_ps(b3, b7, 0x31);
}

}  // namespace

__attribute__((target("avx2"))) bool transformBlockWide(const float* samples, ptrdiff_t stride,
                                                        const WideTransformTables& tables,
                                                        int16_t* out) {
    // Rows as vectors: the lanes are the columns for the column pass.
    __m256 v[8];
    for (int n = 0; n < 8; ++n) {
        v[n] = _mm256_loadu_ps(samples + n * stride);
    }
    dctPass(v);
    transpose(v);
    dctPass(v);  // v[c] now holds column c of the result, rows in the lanes

    // divisor * value is exact in double precision; the conversion rounds halves to even.
    // A value is within 16 bits exactly when value + 32768 has no bit above the sixteenth.
    const __m128i bias = _mm_set1_epi32(32768);
    __m128i spill = _mm_setzero_si128();
    __m256i columns[8];
    for (int c = 0; c < 8; ++c) {
        const Doubles x = wide(v[c]);
        const __m128i low =
            _mm256_cvtpd_epi32(_mm256_mul_pd(x.low, _mm256_load_pd(tables.divisors + 8 * c)));
        const __m128i high =
            _mm256_cvtpd_epi32(_mm256_mul_pd(x.high, _mm256_load_pd(tables.divisors + 8 * c + 4)));
        spill =
            _mm_or_si128(spill, _mm_or_si128(_mm_add_epi32(low, bias), _mm_add_epi32(high, bias)));
        columns[c] = _mm256_broadcastsi128_si256(_mm_packs_epi32(low, high));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_srli_epi32(spill, 16), _mm_setzero_si128())) !=
        0xFFFF) {
        return false;
    }
    for (int p = 0; p < 4; ++p) {
        __m256i gathered = _mm256_setzero_si256();
        for (int c = 0; c < 8; ++c) {
            const __m256i mask =
                _mm256_load_si256(reinterpret_cast<const __m256i*>(tables.gather[p][c]));
            gathered = _mm256_or_si256(gathered, _mm256_shuffle_epi8(columns[c], mask));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16 * p), gathered);
    }
    return true;
}

#else

bool transformBlockWide(const float*, ptrdiff_t, const WideTransformTables&, int16_t*) {
    return false;
}

#endif

}  // namespace tessaro::jpeg
