#pragma once

// Picture files with the byte-level oddities and damage real files have, made from our own
// pictures: JPEG files by Qt's writer or by cjpeg (arithmetic coding, progressive scans,
// restart markers), GIF files by giflib, bitmaps by hand.

#include <gif_lib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace damaged {

// Smooth shading with fine texture: every block codes differently.
inline QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int t = static_cast<int>(30 * std::sin(x * 0.7) * std::cos(y * 0.5));
            image.setPixel(
                x, y,
                qRgb(std::clamp(x * 255 / w + t, 0, 255), std::clamp(y * 255 / h - t, 0, 255),
                     std::clamp((x + y) * 100 / (w + h) + 80 + t, 0, 255)));
        }
    }
    return image;
}

inline QByteArray qtJpeg(const QImage& image, int quality = 90) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", quality))
        throw std::runtime_error("no JPEG writer");
    return bytes;
}

// The picture through cjpeg with `options` (-arithmetic, -progressive, -restart 1, ...).
inline QByteArray cjpeg(const QImage& image, const QStringList& options) {
    QTemporaryDir dir;
    const QString ppm = dir.filePath("in.ppm");
    if (!image.save(ppm, "PPM"))
        throw std::runtime_error("cannot write PPM");
    QProcess process;
    process.start("cjpeg", options + QStringList{ppm});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        throw std::runtime_error("cjpeg failed");
    return process.readAllStandardOutput();
}

// Where the `nth` marker `code` (0xFF, code) starts; -1 when there is none. Safe inside scan
// data too, where 0xFF is followed by 0 or a restart marker.
inline qsizetype markerAt(const QByteArray& bytes, int code, int nth = 0, qsizetype from = 0) {
    for (qsizetype i = from; i + 1 < bytes.size(); ++i) {
        if (static_cast<uint8_t>(bytes[i]) == 0xFF && static_cast<uint8_t>(bytes[i + 1]) == code &&
            nth-- == 0)
            return i;
    }
    return -1;
}

inline QByteArray inserted(QByteArray bytes, qsizetype at, const QByteArray& extra) {
    return bytes.insert(at, extra);
}

// A marker segment with `payload`, right after the start marker.
inline QByteArray withSegment(const QByteArray& jpeg, int code, const QByteArray& payload) {
    const qsizetype n = payload.size() + 2;
    return inserted(jpeg, 2,
                    QByteArray(1, char(0xFF)) + char(code) + char(n >> 8) + char(n) + payload);
}

// An Exif block giving orientation 6 in little-endian order, under the byte-order mark `mark`.
inline QByteArray exifBlock(const char* mark) {
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray(mark, 2);
    exif += QByteArray("\x2a\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 24);
    return exif;
}

struct Case {
    const char* name;
    QByteArray bytes;
};

// Files whose picture is complete and exact: each must give the picture of `clean`.
inline std::vector<Case> harmlessJpegs(const QByteArray& clean) {
    const qsizetype dqt = markerAt(clean, 0xDB);
    const QByteArray adobe("Adobe\0\x64\0\0\0\0\x07", 12);  // an unknown transform code
    return {
        {"stray bytes before DQT", inserted(clean, dqt, QByteArray("\x12\x34\x56\x78\x9a", 5))},
        {"fill bytes before DQT", inserted(clean, dqt, QByteArray(3, char(0xFF)))},
        {"no end marker", clean.left(clean.size() - 2)},
        {"unknown APP9", withSegment(clean, 0xE9, QByteArray("\xde\xad\xbe\xef", 4))},
        {"Exif without byte order", withSegment(clean, 0xE1, exifBlock("XX"))},
        {"Exif cut short", withSegment(clean, 0xE1, exifBlock("II").left(16))},
        {"unknown Adobe transform", withSegment(clean, 0xEE, adobe)},
        {"truncated APP14", withSegment(clean, 0xEE, QByteArray("Adobe", 5))},
    };
}

// Files with pixels missing or made up, each built from the encoding it needs.
inline std::vector<Case> damagedJpegs() {
    const QImage image = picture(96, 64);
    const QByteArray baseline = qtJpeg(image);
    const qsizetype scan = markerAt(baseline, 0xDA);
    QByteArray huffman = baseline;
    huffman.replace(scan + 200, 8, QByteArray("\xFF\x00\xFF\x00\xFF\x00\xFF\x00", 8));
    const QByteArray restarts = cjpeg(image, {"-restart", "1"});
    const auto restart = [&restarts](int code) {
        return markerAt(restarts, code, 0, markerAt(restarts, 0xDA));
    };
    const QByteArray arithmetic = cjpeg(image, {"-arithmetic"});
    const QByteArray progressive = cjpeg(image, {"-progressive"});
    const QByteArray both = cjpeg(image, {"-progressive", "-arithmetic"});
    return {
        {"cut inside the scan", baseline.left(scan + (baseline.size() - scan) / 2)},
        {"bad Huffman code", huffman},
        {"stray bytes before RST", inserted(restarts, restart(0xD1), "abcdefghijkl")},
        {"cut in the last restart interval", restarts.left(restart(0xD2) + 40)},
        {"arithmetic cut", arithmetic.left(arithmetic.size() * 2 / 3)},
        {"progressive cut between scans", progressive.left(markerAt(progressive, 0xDA, 2))},
        {"progressive arithmetic cut between scans", both.left(markerAt(both, 0xDA, 3))},
    };
}

inline GifPixelType gifIndex(const QImage& image, int x, int y) {
    return static_cast<GifPixelType>(qGray(image.pixel(x, y)) / 16);
}

// A GIF file of `image` with a 16-colour palette, as giflib writes it.
inline QByteArray gif(const QImage& image) {
    QByteArray out;
    int error = 0;
    GifFileType* file = EGifOpen(
        &out,
        [](GifFileType* g, const GifByteType* b, int n) {
            static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(b), n);
            return n;
        },
        &error);
    GifColorType colours[16];
    for (int i = 0; i < 16; ++i)
        colours[i] = {GifByteType(i * 16), GifByteType(255 - i * 16), GifByteType(i * 5)};
    ColorMapObject* map = GifMakeMapObject(16, colours);
    EGifPutScreenDesc(file, image.width(), image.height(), 4, 0, map);
    EGifPutImageDesc(file, 0, 0, image.width(), image.height(), false, nullptr);
    std::vector<GifPixelType> line(static_cast<size_t>(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            line[static_cast<size_t>(x)] = gifIndex(image, x, y);
        EGifPutLine(file, line.data(), image.width());
    }
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return out;
}

// Where a giflib-written single-image GIF file's image data starts (its first sub-block) and
// where its block terminator lies.
struct GifData {
    qsizetype start = 0;
    qsizetype terminator = 0;
};
inline GifData gifData(const QByteArray& bytes) {
    const int table = 3 << ((static_cast<uint8_t>(bytes[10]) & 7) + 1);
    GifData data;
    data.start = 13 + table + 10 + 1;  // descriptor, then the LZW code size
    qsizetype at = data.start;
    while (static_cast<uint8_t>(bytes[at]) != 0)
        at += 1 + static_cast<uint8_t>(bytes[at]);
    data.terminator = at;
    return data;
}

// The same picture as gif(image), its LZW data of minimum code size `codeSize` (9 to 11, which
// some encoders write): literal codes only, with a clear code before the codes would widen.
inline QByteArray gifWideCodes(const QImage& image, int codeSize) {
    const QByteArray clean = gif(image);
    QByteArray out = clean.left(gifData(clean).start - 1);
    out += char(codeSize);
    QByteArray data;
    uint32_t bits = 0;
    int held = 0;
    const int clear = 1 << codeSize;
    const auto put = [&](int code) {
        bits |= static_cast<uint32_t>(code) << held;
        held += codeSize + 1;
        for (; held >= 8; held -= 8, bits >>= 8)
            data += char(bits & 0xFF);
    };
    int sinceClear = clear;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x, ++sinceClear) {
            if (sinceClear >= clear - 2) {
                put(clear);
                sinceClear = 0;
            }
            put(gifIndex(image, x, y));
        }
    }
    put(clear + 1);
    if (held > 0)
        data += char(bits & 0xFF);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out += char(block.size());
        out += block;
    }
    return out + QByteArray(1, '\0') + ";";
}

// `v` as `n` little-endian bytes (zeros past the eighth).
inline QByteArray le(qint64 v, int n) {
    QByteArray out(n, '\0');
    for (int i = 0; i < n && i < 8; ++i)
        out[i] = char(v >> (8 * i));
    return out;
}

// A bitmap file: 14-byte file header, `info` information header, `palette`, then `pixels`,
// with the pixel offset `offset` (-1: right after the palette).
inline QByteArray bitmap(const QByteArray& info, const QByteArray& palette,
                         const QByteArray& pixels, qint64 offset = -1) {
    const qint64 start = offset >= 0 ? offset : 14 + info.size() + palette.size();
    return "BM" + le(14 + info.size() + palette.size() + pixels.size(), 4) + le(0, 4) +
           le(start, 4) + info + palette + pixels;
}

// A 40-byte (or `size`-byte: cut or zero-padded) information header.
inline QByteArray infoHeader(int w, int h, int bits, int compression, int colours, int size = 40) {
    const QByteArray info = le(size, 4) + le(w, 4) + le(h, 4) + le(1, 2) + le(bits, 2) +
                            le(compression, 4) + le(0, 12) + le(colours, 4);
    return (info + QByteArray(std::max(0, size - 36), '\0')).left(size);
}

inline QByteArray greyPalette(int colours) {
    QByteArray palette;
    for (int i = 0; i < colours; ++i)
        palette += QByteArray(3, char(i * 255 / (colours - 1))) + '\0';
    return palette;
}

// The rows bottom-up, uncompressed (bits 4 or 8) or run-length coded, one run per index change,
// each row ended by an end-of-line code and the whole by an end-of-picture code. The indexes
// come in runs of varying length.
inline QByteArray bitmapRows(int w, int h, int bits, bool rle) {
    const auto index = [colours = 1 << bits](int x, int y) { return (x / 3 + y) % colours; };
    QByteArray out;
    for (int y = h - 1; y >= 0; --y) {
        if (!rle) {
            QByteArray row((w * bits + 31) / 32 * 4, '\0');
            for (int x = 0; x < w; ++x) {
                const int v = index(x, y);
                if (bits == 8)
                    row[x] = char(v);
                else
                    row[x / 2] = char(row[x / 2] | (x % 2 ? v : v << 4));
            }
            out += row;
            continue;
        }
        for (int x = 0; x < w;) {
            int run = 1;
            const int v = index(x, y);
            while (x + run < w && run < 255 && index(x + run, y) == v)
                ++run;
            out += char(run);
            out += char(bits == 8 ? v : (v << 4 | v));
            x += run;
        }
        out += QByteArray("\0\0", 2);
    }
    if (rle)
        out += QByteArray("\0\1", 2);
    return out;
}

}  // namespace damaged
