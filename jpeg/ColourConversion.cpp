#include "ColourConversion.h"

#include <bit>
#include <cmath>

#include "InstructionSet.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESSARO_X86_CONVERSION 1
#endif

namespace tessaro::jpeg {

namespace {

// Significant bits kept in the high part of a weight: 8-bit channel times 12 bits stays
// within single precision's 24.
constexpr int kHighBits = 12;

// The largest power of two that divides x (x finite and nonzero).
double unitOf(double x) {
    int e = 0;
    const double f = std::frexp(std::fabs(x), &e);  // |x| = f * 2^e, f in [0.5, 1)
    const auto m = static_cast<uint64_t>(std::ldexp(f, 53));
    return std::ldexp(1.0, e - 53 + std::countr_zero(m));
}

// Whether every sum of the terms values[i] * n (n an integer with |n| <= multipliers[i]), in
// any order, is exact with `digits` significant bits: all such sums are multiples of the
// smallest unit and stay within 2^digits of it.
bool exactSums(const double* values, const double* multipliers, int count, int digits) {
    double unit = 0;
    double bound = 0;
    for (int i = 0; i < count; ++i) {
        if (values[i] != 0) {
            const double u = unitOf(values[i]);
            unit = unit == 0 ? u : std::min(unit, u);
            bound += std::fabs(values[i]) * multipliers[i];
        }
    }
    return unit == 0 || bound <= std::ldexp(unit, digits);
}

// Mean of four channel values, halves to even: (s + 1 + bit 2 of s) / 4, rounded down.
inline int halvedMean(int sum) {
    return (sum + 1 + ((sum >> 2) & 1)) >> 2;
}

void convertFormula(const uint8_t* row, int32_t pixelStep, int32_t from, int32_t width,
                    const std::vector<ColourWeights>& weights, float* const* out) {
    for (int32_t x = from; x < width; ++x) {
        const uint8_t* px = row + pixelStep * x;
        for (size_t k = 0; k < weights.size(); ++k) {
            out[k][x] = convertPixel(weights[k], px[2], px[1], px[0]);
        }
    }
}

void convertHalvedFormula(const uint8_t* upper, const uint8_t* lower, int32_t pixelStep,
                          int32_t from, int32_t width, const std::vector<ColourWeights>& weights,
                          float* const* out) {
    for (int32_t x = from; x < width; ++x) {
        const uint8_t* a = upper + 2 * pixelStep * x;
        const uint8_t* b = lower + 2 * pixelStep * x;
        int mean[3];
        for (int c = 0; c < 3; ++c) {
            mean[c] = halvedMean(a[c] + a[pixelStep + c] + b[c] + b[pixelStep + c]);
        }
        for (size_t k = 0; k < weights.size(); ++k) {
            out[k][x] = convertPixel(weights[k], mean[2], mean[1], mean[0]);
        }
    }
}

#ifdef TESSARO_X86_CONVERSION
// Channel lanes of four pixels.
struct Lanes4 {
    __m128i red;
    __m128i green;
    __m128i blue;
};

// Four pixels with the baseline instructions: each pixel's bytes are moved into a 32-bit
// lane, then the channels are masked out. Reads 16 bytes.
template <int kPixelStep>
inline Lanes4 load4(const uint8_t* p) {
    const __m128i low8 = _mm_set1_epi32(0xFF);
    __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if constexpr (kPixelStep == 3) {
        const __m128i ab = _mm_unpacklo_epi32(px, _mm_srli_si128(px, 3));
        const __m128i cd = _mm_unpacklo_epi32(_mm_srli_si128(px, 6), _mm_srli_si128(px, 9));
        px = _mm_unpacklo_epi64(ab, cd);
    }
    return {_mm_and_si128(_mm_srli_epi32(px, 16), low8), _mm_and_si128(_mm_srli_epi32(px, 8), low8),
            _mm_and_si128(px, low8)};
}

// Sums of lanes (0, 1), (2, 3) of a and then of b.
inline __m128i pairSums4(__m128i a, __m128i b) {
    const __m128 fa = _mm_castsi128_ps(a);
    const __m128 fb = _mm_castsi128_ps(b);
    return _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(2, 0, 2, 0))),
                         _mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(3, 1, 3, 1))));
}

inline __m128i halvedMean4(__m128i sum) {
    const __m128i bit = _mm_and_si128(_mm_srli_epi32(sum, 2), _mm_set1_epi32(1));
    return _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1)), bit), 2);
}

inline void store4(const Lanes4& lanes, const std::vector<SplitWeights>& split, float* const* out,
                   int32_t x) {
    const __m128 r = _mm_cvtepi32_ps(lanes.red);
    const __m128 g = _mm_cvtepi32_ps(lanes.green);
    const __m128 b = _mm_cvtepi32_ps(lanes.blue);
    for (size_t k = 0; k < split.size(); ++k) {
        const SplitWeights& s = split[k];
        const __m128 high =
            _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(r, _mm_set1_ps(s.high.red)),
                                             _mm_mul_ps(g, _mm_set1_ps(s.high.green))),
                                  _mm_mul_ps(b, _mm_set1_ps(s.high.blue))),
                       _mm_set1_ps(s.high.offset));
        const __m128 low = _mm_add_ps(_mm_add_ps(_mm_mul_ps(r, _mm_set1_ps(s.low.red)),
                                                 _mm_mul_ps(g, _mm_set1_ps(s.low.green))),
                                      _mm_mul_ps(b, _mm_set1_ps(s.low.blue)));
        _mm_storeu_ps(out[k] + x, _mm_add_ps(high, low));
    }
}

// Returns where the loop stopped; the 16-byte loads stay inside the row's pixels.
template <int kPixelStep>
int32_t convertBaseline(const uint8_t* row, int32_t width, const std::vector<SplitWeights>& split,
                        float* const* out) {
    const int32_t lastStart = kPixelStep == 3 ? width - 6 : width - 4;
    int32_t x = 0;
    for (; x <= lastStart; x += 4) {
        store4(load4<kPixelStep>(row + kPixelStep * x), split, out, x);
    }
    return x;
}

template <int kPixelStep>
int32_t convertHalvedBaseline(const uint8_t* upper, const uint8_t* lower, int32_t width,
                              const std::vector<SplitWeights>& split, float* const* out) {
    // Eight source pixels per row, the second four read 4 pixels further on.
    const int32_t lastStart = kPixelStep == 3 ? width - 5 : width - 4;
    int32_t x = 0;
    for (; x <= lastStart; x += 4) {
        const uint8_t* a = upper + 2 * kPixelStep * x;
        const uint8_t* b = lower + 2 * kPixelStep * x;
        const Lanes4 a0 = load4<kPixelStep>(a);
        const Lanes4 a1 = load4<kPixelStep>(a + 4 * kPixelStep);
        const Lanes4 b0 = load4<kPixelStep>(b);
        const Lanes4 b1 = load4<kPixelStep>(b + 4 * kPixelStep);
        const auto mean = [](__m128i p0, __m128i p1, __m128i q0, __m128i q1) {
            return halvedMean4(pairSums4(_mm_add_epi32(p0, q0), _mm_add_epi32(p1, q1)));
        };
        store4({mean(a0.red, a1.red, b0.red, b1.red), mean(a0.green, a1.green, b0.green, b1.green),
                mean(a0.blue, a1.blue, b0.blue, b1.blue)},
               split, out, x);
    }
    return x;
}

// Channel lanes of eight pixels.
struct Lanes8 {
    __m256i red;
    __m256i green;
    __m256i blue;
};

// Eight pixels: a byte shuffle per channel puts each channel in 32-bit lanes. Reads 28 bytes
// (24-bit pixels: two 16-byte loads, 12 bytes apart) or 32 bytes.
template <int kPixelStep>
__attribute__((target("avx2"))) inline Lanes8 load8(const uint8_t* p) {
    constexpr char z = -1;
    const __m256i blue = kPixelStep == 3
                             ? _mm256_setr_epi8(0, z, z, z, 3, z, z, z, 6, z, z, z, 9, z, z, z, 0,
                                                z, z, z, 3, z, z, z, 6, z, z, z, 9, z, z, z)
                             : _mm256_setr_epi8(0, z, z, z, 4, z, z, z, 8, z, z, z, 12, z, z, z, 0,
                                                z, z, z, 4, z, z, z, 8, z, z, z, 12, z, z, z);
    __m256i px;
    if constexpr (kPixelStep == 3) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12));
        px = _mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1);
    } else {
        px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    }
    return {_mm256_shuffle_epi8(px, _mm256_add_epi32(blue, _mm256_set1_epi32(2))),
            _mm256_shuffle_epi8(px, _mm256_add_epi32(blue, _mm256_set1_epi32(1))),
            _mm256_shuffle_epi8(px, blue)};
}

__attribute__((target("avx2"))) inline void store8(const Lanes8& lanes,
                                                   const std::vector<SplitWeights>& split,
                                                   float* const* out, int32_t x) {
    const __m256 r = _mm256_cvtepi32_ps(lanes.red);
    const __m256 g = _mm256_cvtepi32_ps(lanes.green);
    const __m256 b = _mm256_cvtepi32_ps(lanes.blue);
    for (size_t k = 0; k < split.size(); ++k) {
        const SplitWeights& s = split[k];
        const __m256 high = _mm256_add_ps(
            _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(r, _mm256_set1_ps(s.high.red)),
                                        _mm256_mul_ps(g, _mm256_set1_ps(s.high.green))),
                          _mm256_mul_ps(b, _mm256_set1_ps(s.high.blue))),
            _mm256_set1_ps(s.high.offset));
        const __m256 low =
            _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(r, _mm256_set1_ps(s.low.red)),
                                        _mm256_mul_ps(g, _mm256_set1_ps(s.low.green))),
                          _mm256_mul_ps(b, _mm256_set1_ps(s.low.blue)));
        _mm256_storeu_ps(out[k] + x, _mm256_add_ps(high, low));
    }
}

template <int kPixelStep>
__attribute__((target("avx2"))) int32_t convertWide(const uint8_t* row, int32_t width,
                                                    const std::vector<SplitWeights>& split,
                                                    float* const* out) {
    const int32_t lastStart = kPixelStep == 3 ? width - 10 : width - 8;
    int32_t x = 0;
    for (; x <= lastStart; x += 8) {
        store8(load8<kPixelStep>(row + kPixelStep * x), split, out, x);
    }
    return x;
}

// Rounded means of 2 x 2 pixels from the lanes of 16 pixels of two rows.
__attribute__((target("avx2"))) inline __m256i halvedMean8(__m256i p0, __m256i p1, __m256i q0,
                                                           __m256i q1) {
    // Pair sums come out as pixels 0 1 4 5 | 2 3 6 7; the permutation restores the order.
    const __m256i sum = _mm256_permute4x64_epi64(
        _mm256_hadd_epi32(_mm256_add_epi32(p0, q0), _mm256_add_epi32(p1, q1)), 0xD8);
    const __m256i bit = _mm256_and_si256(_mm256_srli_epi32(sum, 2), _mm256_set1_epi32(1));
    return _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(1)), bit), 2);
}

template <int kPixelStep>
__attribute__((target("avx2"))) int32_t convertHalvedWide(const uint8_t* upper,
                                                          const uint8_t* lower, int32_t width,
                                                          const std::vector<SplitWeights>& split,
                                                          float* const* out) {
    // Sixteen source pixels per row, the second eight read 8 pixels further on.
    const int32_t lastStart = kPixelStep == 3 ? width - 9 : width - 8;
    int32_t x = 0;
    for (; x <= lastStart; x += 8) {
        const uint8_t* a = upper + 2 * kPixelStep * x;
        const uint8_t* b = lower + 2 * kPixelStep * x;
        const Lanes8 a0 = load8<kPixelStep>(a);
        const Lanes8 a1 = load8<kPixelStep>(a + 8 * kPixelStep);
        const Lanes8 b0 = load8<kPixelStep>(b);
        const Lanes8 b1 = load8<kPixelStep>(b + 8 * kPixelStep);
        store8({halvedMean8(a0.red, a1.red, b0.red, b1.red),
                halvedMean8(a0.green, a1.green, b0.green, b1.green),
                halvedMean8(a0.blue, a1.blue, b0.blue, b1.blue)},
               split, out, x);
    }
    return x;
}
#endif

}  // namespace

bool wideConversionAvailable() {
#ifdef TESSARO_X86_CONVERSION
    return wideInstructionsAvailable();
#else
    return false;
#endif
}

SplitWeights splitWeights(const ColourWeights& weights) {
    SplitWeights s;
    const float in[3] = {weights.red, weights.green, weights.blue};
    double high[3] = {};
    double low[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(in[i])) {
            return s;
        }
        int e = 0;
        const double f = std::frexp(static_cast<double>(in[i]), &e);
        high[i] = std::ldexp(std::nearbyint(std::ldexp(f, kHighBits)), e - kHighBits);
        low[i] = static_cast<double>(in[i]) - high[i];
        if (static_cast<double>(static_cast<float>(low[i])) != low[i]) {
            return s;
        }
    }
    const double offset = weights.offset;
    if (!std::isfinite(offset)) {
        return s;
    }
    const double highTerms[4] = {high[0], high[1], high[2], offset};
    const double lowTerms[3] = {low[0], low[1], low[2]};
    const double allTerms[7] = {high[0], high[1], high[2], offset, low[0], low[1], low[2]};
    const double channel[7] = {255, 255, 255, 1, 255, 255, 255};
    s.exact = exactSums(highTerms, channel, 4, 24) && exactSums(lowTerms, channel, 3, 24) &&
              exactSums(allTerms, channel, 7, 53);
    s.high = {static_cast<float>(high[0]), static_cast<float>(high[1]), static_cast<float>(high[2]),
              weights.offset};
    s.low = {static_cast<float>(low[0]), static_cast<float>(low[1]), static_cast<float>(low[2]),
             0.0f};
    return s;
}

RowConverter::RowConverter(const ColourWeights& weights, ConversionPath path)
    : RowConverter(std::vector<ColourWeights>{weights}, path) {}

RowConverter::RowConverter(const std::vector<ColourWeights>& channels, ConversionPath path)
    : weights_(channels) {
    for (const ColourWeights& w : weights_) {
        split_.push_back(splitWeights(w));
        exact_ = exact_ && split_.back().exact;
    }
    wide_ =
        path == ConversionPath::Wide || (path == ConversionPath::Best && wideConversionAvailable());
}

void RowConverter::convert(const uint8_t* row, int32_t pixelStep, int32_t width,
                           float* const* out) const {
    int32_t x = 0;
#ifdef TESSARO_X86_CONVERSION
    if (exact_) {
        if (wide_) {
            x = pixelStep == 4 ? convertWide<4>(row, width, split_, out)
                               : convertWide<3>(row, width, split_, out);
        } else {
            x = pixelStep == 4 ? convertBaseline<4>(row, width, split_, out)
                               : convertBaseline<3>(row, width, split_, out);
        }
    }
#endif
    convertFormula(row, pixelStep, x, width, weights_, out);
}

void RowConverter::convertHalved(const uint8_t* upper, const uint8_t* lower, int32_t pixelStep,
                                 int32_t width, float* const* out) const {
    int32_t x = 0;
#ifdef TESSARO_X86_CONVERSION
    if (exact_) {
        if (wide_) {
            x = pixelStep == 4 ? convertHalvedWide<4>(upper, lower, width, split_, out)
                               : convertHalvedWide<3>(upper, lower, width, split_, out);
        } else {
            x = pixelStep == 4 ? convertHalvedBaseline<4>(upper, lower, width, split_, out)
                               : convertHalvedBaseline<3>(upper, lower, width, split_, out);
        }
    }
#endif
    convertHalvedFormula(upper, lower, pixelStep, x, width, weights_, out);
}

void convertRow(const uint8_t* row, int32_t pixelStep, int32_t width, const ColourWeights& weights,
                float* out, ConversionPath path) {
    RowConverter(weights, path).convert(row, pixelStep, width, &out);
}

}  // namespace tessaro::jpeg
