#include "Cp1252.h"

#include <QList>
#include <array>

namespace cp1252 {

namespace {

// 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encodeChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    // The five undefined bytes stand for themselves, so decoding and encoding round-trip.
    if (c < 0xA0 && kHigh[c - 0x80] == 0)
        return static_cast<char>(c);
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] != 0 && kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

QByteArray fromUnicode(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4())
        out.append(encodeChar(c));
    return out;
}

QString toUnicode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0) {
            // Undefined bytes keep their value, as the system's own conversion does.
            const char16_t mapped = kHigh[u - 0x80];
            out.append(QChar(mapped != 0 ? mapped : u));
        } else {
            out.append(QChar(u));
        }
    }
    return out;
}

}  // namespace cp1252
