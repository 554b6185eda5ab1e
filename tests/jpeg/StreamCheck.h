#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "JpegEncoder.h"
#include "TestPictures.h"

namespace tessaro::jpegtest {

// A marker segment of a stream: marker code, offset of its FF byte, and its contents after
// the length field (empty for SOI/EOI).
struct Segment {
    int marker = 0;
    size_t offset = 0;
    std::vector<uint8_t> bytes;  // marker, length and contents as stored
};

// The segments in order; entropy-coded data after SOS is skipped.
std::vector<Segment> segmentsOf(const std::vector<uint8_t>& stream);
std::vector<Segment> segmentsWith(const std::vector<Segment>& all, int marker);

// Samples the picture, encodes it, and checks that libjpeg-turbo decodes the stream without
// warnings to the picture's size and the encoder's component layout.
std::vector<uint8_t> encodeAndCheck(JpegEncoder& encoder, const Picture& picture,
                                    Decoded* decoded = nullptr);

}  // namespace tessaro::jpegtest
