#include "ColourConversion.h"

#include "InstructionSet.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESSARO_WIDE_CONVERSION 1
#endif

namespace tessaro::jpeg {

namespace {

template <int kPixelStep>
void convertScalar(const uint8_t* row, int32_t from, int32_t width, const ColourWeights& weights,
                   float* out) {
    for (int32_t x = from; x < width; ++x) {
        const uint8_t* px = row + kPixelStep * x;
        out[x] = convertPixel(weights, px[2], px[1], px[0]);
    }
}

#ifdef TESSARO_WIDE_CONVERSION
// Four pixels at a time: one 16-byte load, a byte shuffle per channel into 32-bit lanes, and
// the weighted sum in four double lanes, in the same order as the scalar code.
template <int kPixelStep>
__attribute__((target("avx2"))) void convertWide(const uint8_t* row, int32_t width,
                                                 const ColourWeights& weights, float* out) {
    constexpr char z = -1;
    const __m128i blue = kPixelStep == 3
                             ? _mm_setr_epi8(0, z, z, z, 3, z, z, z, 6, z, z, z, 9, z, z, z)
                             : _mm_setr_epi8(0, z, z, z, 4, z, z, z, 8, z, z, z, 12, z, z, z);
    const __m128i green = _mm_add_epi32(blue, _mm_set1_epi32(1));
    const __m128i red = _mm_add_epi32(blue, _mm_set1_epi32(2));
    const __m256d wr = _mm256_set1_pd(static_cast<double>(weights.red));
    const __m256d wg = _mm256_set1_pd(static_cast<double>(weights.green));
    const __m256d wb = _mm256_set1_pd(static_cast<double>(weights.blue));
    const __m256d off = _mm256_set1_pd(static_cast<double>(weights.offset));
    // The 16-byte load must stay inside the row's pixels.
    const int32_t lastStart = kPixelStep == 3 ? width - 6 : width - 4;
    int32_t x = 0;
    for (; x <= lastStart; x += 4) {
        const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + kPixelStep * x));
        const __m256d r = _mm256_cvtepi32_pd(_mm_shuffle_epi8(px, red));
        const __m256d g = _mm256_cvtepi32_pd(_mm_shuffle_epi8(px, green));
        const __m256d b = _mm256_cvtepi32_pd(_mm_shuffle_epi8(px, blue));
        const __m256d sum =
            _mm256_add_pd(_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(r, wr), _mm256_mul_pd(g, wg)),
                                        _mm256_mul_pd(b, wb)),
                          off);
        _mm_storeu_ps(out + x, _mm256_cvtpd_ps(sum));
    }
    convertScalar<kPixelStep>(row, x, width, weights, out);
}
#endif

}  // namespace

bool wideConversionAvailable() {
#ifdef TESSARO_WIDE_CONVERSION
    return wideInstructionsAvailable();
#else
    return false;
#endif
}

void convertRow(const uint8_t* row, int32_t pixelStep, int32_t width, const ColourWeights& weights,
                float* out, ConversionPath path) {
#ifdef TESSARO_WIDE_CONVERSION
    const bool wide =
        path == ConversionPath::Wide || (path == ConversionPath::Best && wideConversionAvailable());
    if (wide) {
        if (pixelStep == 4) {
            convertWide<4>(row, width, weights, out);
        } else {
            convertWide<3>(row, width, weights, out);
        }
        return;
    }
#else
    (void)path;
#endif
    if (pixelStep == 4) {
        convertScalar<4>(row, 0, width, weights, out);
    } else {
        convertScalar<3>(row, 0, width, weights, out);
    }
}

}  // namespace tessaro::jpeg
