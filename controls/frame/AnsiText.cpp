#include "AnsiText.h"

#include <QList>
#include <array>

namespace {

// The characters of bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool representable(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return true;
    for (char32_t h : kHigh) {
        if (h != 0 && h == c)
            return true;
    }
    return false;
}

}  // namespace

QString ansiText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4()) {
        if (representable(c)) {
            out.append(QString::fromUcs4(&c, 1));
        } else {
            out.append(QLatin1Char('?'));
        }
    }
    return out;
}
