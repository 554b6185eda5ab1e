#include "BitmapLength.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include <limits>
#include "BitmapRle.h"

namespace {

constexpr int kFileHeader = 14;
constexpr int kCoreHeader = 12;  // the oldest information header: 16-bit sizes, no compression
constexpr uint32_t kPlainRows = 0;
constexpr uint32_t kBitFields = 3;  // plain rows with colour masks
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
// The information headers Qt reads whole: the oldest, the common one, the two that add colour
// masks to it, and the two with colour spaces.
constexpr uint32_t kKnownHeaders[] = {kCoreHeader, 40, 52, 56, 108, 124};

uint32_t le(const QByteArray& b, int at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return v;
}

}  // namespace

qint64 BitmapLengthNeeded(const QByteArray& head) {
    if (head.size() < kFileHeader + kCoreHeader || !head.startsWith("BM"))
        return 0;
    const uint32_t offset = le(head, 10, 4);
    const uint32_t infoSize = le(head, kFileHeader, 4);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bits = 0;
    if (infoSize == kCoreHeader) {
        width = le(head, 18, 2);
        height = le(head, 20, 2);
        bits = le(head, 24, 2);
    } else {
        if (infoSize < 40 || head.size() < kFileHeader + 40)
            return 0;
        width = static_cast<int32_t>(le(head, 18, 4));
        height = static_cast<int32_t>(le(head, 22, 4));
        bits = le(head, 28, 2);
        const uint32_t compression = le(head, 30, 4);
        if (compression != kPlainRows && compression != kBitFields)
            return 0;
    }
    if (width <= 0 || height == 0 || bits == 0 || bits > 32)
        return 0;
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    const int64_t rows = height < 0 ? -height : height;
    const int64_t start = offset != 0 ? offset : int64_t{kFileHeader} + infoSize;
    if (rows > (std::numeric_limits<int64_t>::max() - start) / rowBytes)
        return std::numeric_limits<qint64>::max();
    return start + rows * rowBytes;
}

QString BitmapFault(const QByteArray& bytes, qint64 rleStart, bool ranShort) {
    if (bytes.size() < kFileHeader + 4 || !bytes.startsWith("BM"))
        return QString("headers cut short");
    const uint32_t infoSize = le(bytes, kFileHeader, 4);
    if (std::find(std::begin(kKnownHeaders), std::end(kKnownHeaders), infoSize) ==
        std::end(kKnownHeaders))
        return QString("unknown header size %1").arg(infoSize);
    if (bytes.size() < kFileHeader + qsizetype{infoSize})
        return QString("headers cut short");
    const qint64 needed = BitmapLengthNeeded(bytes.left(kFileHeader + 40));
    if (needed > bytes.size())
        return QString("pixel data cut short: %1 of %2 bytes").arg(bytes.size()).arg(needed);
    const QString readShort = ranShort ? QString("pixel data cut short") : QString();
    if (infoSize == kCoreHeader)
        return readShort;
    const int bits = static_cast<int>(le(bytes, 28, 2));
    const uint32_t compression = le(bytes, 30, 4);
    if ((compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4)) {
        const int64_t height = static_cast<int32_t>(le(bytes, 22, 4));
        return BitmapRleFault(bytes, static_cast<qsizetype>(rleStart),
                              static_cast<int32_t>(le(bytes, 18, 4)), height < 0 ? -height : height,
                              bits);
    }
    return readShort;
}
