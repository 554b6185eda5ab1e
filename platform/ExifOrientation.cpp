#include "ExifOrientation.h"

#include <cstring>

namespace picture {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

// Reads TIFF's 16- and 32-bit fields in the byte order the block declares.
struct TiffReader {
    const uint8_t* tiff;
    size_t size;
    bool bigEndian;

    bool u16(size_t at, uint16_t& v) const {
        if (at > size || size - at < 2)
            return false;
        v = bigEndian ? static_cast<uint16_t>(tiff[at] << 8 | tiff[at + 1])
                      : static_cast<uint16_t>(tiff[at + 1] << 8 | tiff[at]);
        return true;
    }
    bool u32(size_t at, uint32_t& v) const {
        uint16_t a = 0;
        uint16_t b = 0;
        if (!u16(at, a) || !u16(at + 2, b))
            return false;
        v = bigEndian ? (uint32_t{a} << 16 | b) : (uint32_t{b} << 16 | a);
        return true;
    }
};

}  // namespace

int ExifOrientation(const uint8_t* data, size_t size) {
    static const char kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (data == nullptr || size < sizeof kExif + 8 || std::memcmp(data, kExif, sizeof kExif) != 0)
        return 1;
    // A block that names neither byte order says nothing that can be read.
    const uint8_t* mark = data + sizeof kExif;
    const bool bigEndian = mark[0] == 'M' && mark[1] == 'M';
    if (!bigEndian && !(mark[0] == 'I' && mark[1] == 'I'))
        return 1;
    const TiffReader tiff{data + sizeof kExif, size - sizeof kExif, bigEndian};
    uint16_t magic = 0;
    uint32_t ifd = 0;
    uint16_t entries = 0;
    if (!tiff.u16(2, magic) || magic != 42 || !tiff.u32(4, ifd) || !tiff.u16(ifd, entries))
        return 1;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = size_t{ifd} + 2 + size_t{i} * 12;
        uint16_t tag = 0;
        uint16_t type = 0;
        uint16_t value = 0;
        if (!tiff.u16(entry, tag) || !tiff.u16(entry + 2, type) || !tiff.u16(entry + 8, value))
            return 1;
        if (tag == kOrientationTag)
            return type == kShortType && value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

OrientationAxes AxesOf(int o) {
    OrientationAxes axes;
    axes.swapped = o >= 5 && o <= 8;
    axes.reverseX = o == 2 || o == 3 || o == 7 || o == 8;
    axes.reverseY = o == 3 || o == 4 || o == 6 || o == 7;
    return axes;
}

}  // namespace picture
