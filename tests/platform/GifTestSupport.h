#pragma once

#include <gif_lib.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

// What an independent reading of a GIF file gives: the first image as RGB pixels and the size
// of the colour table it was drawn with.
struct DecodedGif {
    QImage picture;
    int tableSize = 0;
    int imageCount = 0;
};

inline DecodedGif decodeGif(const QString& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &error);
    if (gif == nullptr)
        throw std::runtime_error(GifErrorString(error));
    DecodedGif out;
    if (DGifSlurp(gif) == GIF_ERROR || gif->ImageCount < 1) {
        DGifCloseFile(gif, &error);
        throw std::runtime_error("GIF does not decode");
    }
    out.imageCount = gif->ImageCount;
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* table =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    out.tableSize = table ? table->ColorCount : 0;
    const int w = image.ImageDesc.Width;
    const int h = image.ImageDesc.Height;
    out.picture = QImage(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h && table; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.picture.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int index = image.RasterBits[static_cast<size_t>(y) * w + x];
            const GifColorType c = table->Colors[index < table->ColorCount ? index : 0];
            row[x] = qRgb(c.Red, c.Green, c.Blue);
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

inline int distinctColours(const QImage& picture) {
    QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    std::vector<bool> seen(1u << 24, false);
    int count = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const std::uint32_t c = row[x] & 0xFFFFFFu;
            if (!seen[c]) {
                seen[c] = true;
                ++count;
            }
        }
    }
    return count;
}

// Peak signal-to-noise ratio over the three channels, in decibels.
inline double psnr(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const double dr = qRed(p) - qRed(q);
            const double dg = qGreen(p) - qGreen(q);
            const double db = qBlue(p) - qBlue(q);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = sum / (3.0 * a.width() * a.height());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// A picture of `colours` distinct colours, scattered so that neighbours rarely match.
inline QImage scatteredColours(int width, int height, int colours, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<QRgb> palette;
    std::vector<bool> used(1u << 24, false);
    while (static_cast<int>(palette.size()) < colours) {
        const std::uint32_t c = rng() & 0xFFFFFFu;
        if (used[c])
            continue;
        used[c] = true;
        palette.push_back(0xFF000000u | c);
    }
    QImage picture(width, height, QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Every colour at least once, then at random.
            const int pick = n < colours ? n : static_cast<int>(rng() % colours);
            picture.setPixel(x, y, palette[static_cast<size_t>(pick)]);
            ++n;
        }
    }
    return picture;
}

// Something like a photograph: smooth shading in every channel with fine grain on top.
inline QImage photoLike(int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> grain(0.0, 3.0);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            const double v = static_cast<double>(y) / height;
            const double r = 128 + 90 * std::sin(5.0 * u + 2.0 * v) + 30 * std::cos(13.0 * v);
            const double g = 110 + 80 * std::sin(3.0 * v - 4.0 * u + 1.0) + 25 * std::sin(9 * u);
            const double b = 100 + 70 * std::cos(6.0 * u * v + 2.0 * u) + 40 * v;
            const auto channel = [&](double c) {
                return static_cast<int>(std::clamp(std::lround(c + grain(rng)), 0L, 255L));
            };
            row[x] = qRgb(channel(r), channel(g), channel(b));
        }
    }
    return picture;
}
