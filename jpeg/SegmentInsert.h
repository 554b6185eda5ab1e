#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaro::jpeg {

// The most bytes a marker segment can carry: its 16-bit length counts itself too.
inline constexpr size_t kMaxSegmentBody = 0xFFFF - 2;

// Places a marker segment `marker` (0xE1 for APP1, say) holding `body` into the JPEG stream
// `file`: right after its JFIF APP0 segment, or right after the start-of-image marker when
// the stream opens without one. Every other byte stays exactly where it was relative to its
// neighbours. Raises RuntimeError 5 when `file` does not start with a start-of-image marker,
// its APP0 segment runs past the end, or `body` is longer than kMaxSegmentBody.
void InsertSegment(std::vector<uint8_t>& file, uint8_t marker, const uint8_t* body, size_t size);

}  // namespace tessaro::jpeg
