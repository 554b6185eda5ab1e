#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

#include "DrawingContext.h"

namespace tessaro {

namespace {

bool indexed(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8;
}

// The table an indexed bitmap carries: the caller's entries (at most 2^bitCount of them),
// or the grey ramp when the caller gives none.
std::vector<RgbQuad> tableFor(int bitCount, const std::vector<RgbQuad>& given) {
    if (!indexed(bitCount)) {
        return {};
    }
    if (given.empty()) {
        return DibSection::greyRamp(bitCount);
    }
    const size_t limit = size_t{1} << bitCount;
    return std::vector<RgbQuad>(
        given.begin(), given.begin() + static_cast<std::ptrdiff_t>(std::min(limit, given.size())));
}

}  // namespace

int64_t DibSection::minimumStride(int64_t width, int bitCount) {
    if (width < 0) {
        return -1;
    }
    const int64_t bytes = (width * bitCount + 31) / 32 * 4;
    return bytes > std::numeric_limits<int32_t>::max() ? -1 : bytes;
}

std::vector<RgbQuad> DibSection::greyRamp(int bitCount) {
    if (!indexed(bitCount)) {
        return {};
    }
    const int last = (1 << bitCount) - 1;
    std::vector<RgbQuad> ramp(static_cast<size_t>(last) + 1);
    for (int i = 0; i <= last; ++i) {
        const auto v = static_cast<uint8_t>(std::nearbyint(i * 255.0 / last));
        ramp[static_cast<size_t>(i)] = RgbQuad{v, v, v, 0};
    }
    return ramp;
}

DibSection::DibSection(uint8_t* bits, int32_t width, int32_t height, int16_t bitCount,
                       int32_t stride, bool topDown, std::vector<RgbQuad> colourTable)
    : bits_(bits),
      width_(width),
      height_(height),
      bitCount_(bitCount),
      stride_(stride),
      topDown_(topDown),
      colourTable_(std::move(colourTable)) {}

std::unique_ptr<DibSection> DibSection::create(int32_t width, int32_t height, int16_t bitCount,
                                               const std::vector<RgbQuad>& colourTable) {
    if (width <= 0 || height <= 0 || !(indexed(bitCount) || bitCount == 24)) {
        return nullptr;
    }
    const int64_t stride = minimumStride(width, bitCount);
    if (stride < 0 || stride * height > std::numeric_limits<int32_t>::max()) {
        return nullptr;
    }
    // Zero-filled, like fresh section memory from the system.
    std::unique_ptr<uint8_t[]> memory(new (std::nothrow)
                                          uint8_t[static_cast<size_t>(stride * height)]());
    if (!memory) {
        return nullptr;
    }
    std::unique_ptr<DibSection> dib(new DibSection(memory.get(), width, height, bitCount,
                                                   static_cast<int32_t>(stride), false,
                                                   tableFor(bitCount, colourTable)));
    dib->owned_ = std::move(memory);
    return dib;
}

std::unique_ptr<DibSection> DibSection::view(uint8_t* bits, int32_t width, int32_t height,
                                             int16_t bitCount, int32_t stride, bool topDown,
                                             const std::vector<RgbQuad>& colourTable) {
    if (bits == nullptr || width <= 0 || height <= 0 ||
        !(indexed(bitCount) || bitCount == 24 || bitCount == 32)) {
        return nullptr;
    }
    const int64_t needed = minimumStride(width, bitCount);
    // Rows may be longer than needed (toolkit alignment) but never shorter.
    if (needed < 0 || stride < (bitCount * int64_t{width} + 7) / 8) {
        return nullptr;
    }
    return std::unique_ptr<DibSection>(new DibSection(bits, width, height, bitCount, stride,
                                                      topDown, tableFor(bitCount, colourTable)));
}

int32_t DibSection::width() const {
    return width_;
}
int32_t DibSection::height() const {
    return height_;
}
int16_t DibSection::bitCount() const {
    return bitCount_;
}
int32_t DibSection::stride() const {
    return stride_;
}
bool DibSection::topDown() const {
    return topDown_;
}
uint8_t* DibSection::bits() {
    return bits_;
}
const uint8_t* DibSection::bits() const {
    return bits_;
}

uint8_t* DibSection::row(int32_t y) {
    const int64_t memoryRow = topDown_ ? y : int64_t{height_} - 1 - y;
    return bits_ + memoryRow * stride_;
}

const uint8_t* DibSection::row(int32_t y) const {
    const int64_t memoryRow = topDown_ ? y : int64_t{height_} - 1 - y;
    return bits_ + memoryRow * stride_;
}

std::vector<RgbQuad>& DibSection::colourTable() {
    return colourTable_;
}
const std::vector<RgbQuad>& DibSection::colourTable() const {
    return colourTable_;
}

}  // namespace tessaro
