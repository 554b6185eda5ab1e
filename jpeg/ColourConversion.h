#pragma once

#include <cstdint>

#include "ColourWeights.h"

namespace tessaro::jpeg {

// Which instruction set converts pixels. Both give identical values; the wide one is used when
// the processor has it.
enum class ConversionPath { Best, Generic, Wide };

bool wideConversionAvailable();

// Channel values of `width` pixels (blue, green, red, and an unused byte when pixelStep is 4).
void convertRow(const uint8_t* row, int32_t pixelStep, int32_t width, const ColourWeights& weights,
                float* out, ConversionPath path = ConversionPath::Best);

}  // namespace tessaro::jpeg
