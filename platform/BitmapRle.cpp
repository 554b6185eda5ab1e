#include "BitmapRle.h"

#include <cstdint>

QString BitmapRleFault(const QByteArray& data, qsizetype start, qint64 width, qint64 height,
                       int bits) {
    qsizetype at = start;
    const auto next = [&](int& byte) {
        if (at < 0 || at >= data.size())
            return false;
        byte = static_cast<uint8_t>(data[at++]);
        return true;
    };
    qint64 x = 0;
    qint64 y = 0;
    while (y < height) {
        if (y == height - 1 && x >= width)
            break;  // the last row is whole, whatever follows it
        int count = 0;
        int code = 0;
        if (!next(count) || !next(code))
            return QString("pixel data cut short at row %1 of %2").arg(y).arg(height);
        if (count > 0) {  // a run of `count` pixels of one value (or two, alternating)
            x += count;
            continue;
        }
        if (code == 0 || code == 1) {  // end of the line, or of the picture
            if (x < width)
                return QString("row %1 of %2 ends after %3 of its %4 pixels")
                    .arg(y)
                    .arg(height)
                    .arg(x)
                    .arg(width);
            x = 0;
            ++y;
            if (code == 1 && y < height)
                return QString("pixel data ends at row %1 of %2").arg(y).arg(height);
            continue;
        }
        if (code == 2)  // a jump over pixels it leaves unset
            return QString("pixel data skips pixels at row %1").arg(y);
        // `code` pixels as they are, padded to a whole 16-bit word.
        const qint64 bytes = bits == 4 ? (code + 1) / 2 : code;
        at += static_cast<qsizetype>((bytes + 1) / 2 * 2);
        if (at > data.size())
            return QString("pixel data cut short at row %1 of %2").arg(y).arg(height);
        x += code;
    }
    return QString();
}
