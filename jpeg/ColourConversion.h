#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ColourWeights.h"

namespace tessaro::jpeg {

// Which instruction set converts pixels. Every path gives identical values; the wide one is
// used when the processor has it.
enum class ConversionPath { Best, Generic, Wide };

bool wideConversionAvailable();

// The weights cut into a high part of few significant bits and the rest, so that with 8-bit
// channels every product and every partial sum below is exact in single precision:
//   high = ((R * high.red + G * high.green) + B * high.blue) + offset
//   low  = (R * low.red + G * low.green) + B * low.blue
// Then the single rounding of high + low gives exactly the channel value of the double
// formula (whose steps are exact too). `exact` is false for weights where that cannot be
// shown; those are converted with the double formula.
struct SplitWeights {
    ColourWeights high{};
    ColourWeights low{};  // offset unused
    bool exact = false;
};

SplitWeights splitWeights(const ColourWeights& weights);

// Converts rows of pixels (blue, green, red, and an unused byte when pixelStep is 4) to one
// or more channels at once; out[k] receives channel k of `width` pixels.
class RowConverter {
  public:
    explicit RowConverter(const ColourWeights& weights, ConversionPath path = ConversionPath::Best);
    RowConverter(const std::vector<ColourWeights>& channels,
                 ConversionPath path = ConversionPath::Best);

    size_t channels() const { return weights_.size(); }

    void convert(const uint8_t* row, int32_t pixelStep, int32_t width, float* const* out) const;
    void convert(const uint8_t* row, int32_t pixelStep, int32_t width, float* out) const {
        convert(row, pixelStep, width, &out);
    }

    // Pixels that are each the mean of 2 x 2 pixels of rows `upper` and `lower` (2 * width
    // pixels each), rounded to the nearest integer with halves to even.
    void convertHalved(const uint8_t* upper, const uint8_t* lower, int32_t pixelStep, int32_t width,
                       float* const* out) const;

  private:
    std::vector<ColourWeights> weights_;
    std::vector<SplitWeights> split_;
    bool exact_ = true;
    bool wide_ = false;
};

// One row with a converter made for it.
void convertRow(const uint8_t* row, int32_t pixelStep, int32_t width, const ColourWeights& weights,
                float* out, ConversionPath path = ConversionPath::Best);

}  // namespace tessaro::jpeg
