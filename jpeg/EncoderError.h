#pragma once

#include <string>

#include "RuntimeError.h"

// The encoder's own failures all carry error number 1 with a fixed text; run-time failures
// (overflow, subscript) use the numbers of tessaro::err.
namespace tessaro::jpeg {

inline constexpr int kEncoderErrorNumber = 1;

inline constexpr const char* kIllegalCommentLength = "Illegal Comment Length";
inline constexpr const char* kInvalidSamplingValue = "Invalid Sampling Value";
inline constexpr const char* kBadQuantizationTable = "Bad Quantization Table";
inline constexpr const char* kIllegalQuantPrecision = "Illegal precission in Quantization Table";
inline constexpr const char* kBadHuffmanTable = "Bad Huffman Table";

[[noreturn]] inline void raiseEncoderError(const char* text) {
    throw RuntimeError(kEncoderErrorNumber, text);
}

}  // namespace tessaro::jpeg
