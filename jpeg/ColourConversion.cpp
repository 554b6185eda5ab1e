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

template <int kPixelStep>
void convertFormula(const uint8_t* row, int32_t from, int32_t width, const ColourWeights& weights,
                    float* out) {
    for (int32_t x = from; x < width; ++x) {
        const uint8_t* px = row + kPixelStep * x;
        out[x] = convertPixel(weights, px[2], px[1], px[0]);
    }
}

#ifdef TESSARO_X86_CONVERSION
// high + low for four pixels whose channels are in 32-bit lanes.
inline __m128 splitSum(__m128i red, __m128i green, __m128i blue, const SplitWeights& s) {
    const __m128 r = _mm_cvtepi32_ps(red);
    const __m128 g = _mm_cvtepi32_ps(green);
    const __m128 b = _mm_cvtepi32_ps(blue);
    const __m128 high = _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(r, _mm_set1_ps(s.high.red)),
                                                         _mm_mul_ps(g, _mm_set1_ps(s.high.green))),
                                              _mm_mul_ps(b, _mm_set1_ps(s.high.blue))),
                                   _mm_set1_ps(s.high.offset));
    const __m128 low = _mm_add_ps(
        _mm_add_ps(_mm_mul_ps(r, _mm_set1_ps(s.low.red)), _mm_mul_ps(g, _mm_set1_ps(s.low.green))),
        _mm_mul_ps(b, _mm_set1_ps(s.low.blue)));
    return _mm_add_ps(high, low);
}

// Four pixels at a time with the baseline instructions: each pixel's bytes are moved into a
// 32-bit lane, then the channels are masked out. Returns where the loop stopped.
template <int kPixelStep>
int32_t convertBaseline(const uint8_t* row, int32_t width, const SplitWeights& s, float* out) {
    const __m128i low8 = _mm_set1_epi32(0xFF);
    // The 16-byte load must stay inside the row's pixels.
    const int32_t lastStart = kPixelStep == 3 ? width - 6 : width - 4;
    int32_t x = 0;
    for (; x <= lastStart; x += 4) {
        __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + kPixelStep * x));
        if constexpr (kPixelStep == 3) {
            const __m128i ab = _mm_unpacklo_epi32(px, _mm_srli_si128(px, 3));
            const __m128i cd = _mm_unpacklo_epi32(_mm_srli_si128(px, 6), _mm_srli_si128(px, 9));
            px = _mm_unpacklo_epi64(ab, cd);
        }
        const __m128i blue = _mm_and_si128(px, low8);
        const __m128i green = _mm_and_si128(_mm_srli_epi32(px, 8), low8);
        const __m128i red = _mm_and_si128(_mm_srli_epi32(px, 16), low8);
        _mm_storeu_ps(out + x, splitSum(red, green, blue, s));
    }
    return x;
}

// Eight pixels at a time: a byte shuffle per channel puts each channel in 32-bit lanes.
template <int kPixelStep>
__attribute__((target("avx2"))) int32_t convertWide(const uint8_t* row, int32_t width,
                                                    const SplitWeights& s, float* out) {
    constexpr char z = -1;
    const __m256i blue = kPixelStep == 3
                             ? _mm256_setr_epi8(0, z, z, z, 3, z, z, z, 6, z, z, z, 9, z, z, z, 0,
                                                z, z, z, 3, z, z, z, 6, z, z, z, 9, z, z, z)
                             : _mm256_setr_epi8(0, z, z, z, 4, z, z, z, 8, z, z, z, 12, z, z, z, 0,
                                                z, z, z, 4, z, z, z, 8, z, z, z, 12, z, z, z);
    const __m256i green = _mm256_add_epi32(blue, _mm256_set1_epi32(1));
    const __m256i red = _mm256_add_epi32(blue, _mm256_set1_epi32(2));
    const __m256 hr = _mm256_set1_ps(s.high.red);
    const __m256 hg = _mm256_set1_ps(s.high.green);
    const __m256 hb = _mm256_set1_ps(s.high.blue);
    const __m256 off = _mm256_set1_ps(s.high.offset);
    const __m256 lr = _mm256_set1_ps(s.low.red);
    const __m256 lg = _mm256_set1_ps(s.low.green);
    const __m256 lb = _mm256_set1_ps(s.low.blue);
    // The loads must stay inside the row's pixels (24-bit: two 16-byte loads, 12 bytes apart).
    const int32_t lastStart = kPixelStep == 3 ? width - 10 : width - 8;
    int32_t x = 0;
    for (; x <= lastStart; x += 8) {
        __m256i px;
        if constexpr (kPixelStep == 3) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 3 * x));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 3 * x + 12));
            px = _mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1);
        } else {
            px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 4 * x));
        }
        const __m256 r = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(px, red));
        const __m256 g = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(px, green));
        const __m256 b = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(px, blue));
        const __m256 high =
            _mm256_add_ps(_mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(r, hr), _mm256_mul_ps(g, hg)),
                                        _mm256_mul_ps(b, hb)),
                          off);
        const __m256 low = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(r, lr), _mm256_mul_ps(g, lg)),
                                         _mm256_mul_ps(b, lb));
        _mm256_storeu_ps(out + x, _mm256_add_ps(high, low));
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
    : weights_(weights), split_(splitWeights(weights)) {
    wide_ =
        path == ConversionPath::Wide || (path == ConversionPath::Best && wideConversionAvailable());
}

void RowConverter::convert(const uint8_t* row, int32_t pixelStep, int32_t width, float* out) const {
    int32_t x = 0;
#ifdef TESSARO_X86_CONVERSION
    if (split_.exact) {
        if (wide_) {
            x = pixelStep == 4 ? convertWide<4>(row, width, split_, out)
                               : convertWide<3>(row, width, split_, out);
        } else {
            x = pixelStep == 4 ? convertBaseline<4>(row, width, split_, out)
                               : convertBaseline<3>(row, width, split_, out);
        }
    }
#endif
    if (pixelStep == 4) {
        convertFormula<4>(row, x, width, weights_, out);
    } else {
        convertFormula<3>(row, x, width, weights_, out);
    }
}

void convertRow(const uint8_t* row, int32_t pixelStep, int32_t width, const ColourWeights& weights,
                float* out, ConversionPath path) {
    RowConverter(weights, path).convert(row, pixelStep, width, out);
}

}  // namespace tessaro::jpeg
