// How close point sampling comes to the ideal picture, with and without reduced-size JPEG
// decoding: for every JPEG file given, the PSNR of the canvas against an area-averaged
// reference made from the full picture, once from the full decode and once from the decode
// at the scale the batch uses. Then, as a check of where the reduced pixels lie: the PSNR of
// the decoded pixels against the average of the full picture over the cell each one stands
// for, with the cells moved a quarter of a source pixel either way; it peaks at no move when
// the reduced picture is centred where the sampling assumes.
//
//   bench_scaled_decode [--size WxH] FILE.jpg...      (default 640x480, proportions free)

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <vector>

#include "PictureLoader.h"
#include "SourcePicture.h"

namespace {

// For each of `count` target cells along an axis of `length` source pixels: the source
// pixels the cell covers and how much of each, so that the weights add up to one.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Span> coverage(int count, int length) {
    std::vector<Span> spans(static_cast<size_t>(count));
    const double step = static_cast<double>(length) / count;
    for (int t = 0; t < count; ++t) {
        const double from = t * step;
        const double to = (t + 1) * step;
        Span& span = spans[static_cast<size_t>(t)];
        span.first = static_cast<int>(std::floor(from));
        for (int s = span.first; s < length && s < to; ++s)
            span.weights.push_back((std::min<double>(s + 1, to) - std::max<double>(s, from)) /
                                   step);
    }
    return spans;
}

// The picture shrunk to w x h by averaging the area each target pixel covers.
std::vector<double> areaAverage(const QImage& picture, int w, int h) {
    const auto columns = coverage(w, picture.width());
    const auto rows = coverage(h, picture.height());
    std::vector<double> wide(static_cast<size_t>(w) * picture.height() * 3);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            double sum[3] = {0, 0, 0};
            const Span& span = columns[static_cast<size_t>(x)];
            for (size_t k = 0; k < span.weights.size(); ++k) {
                const QRgb p = line[span.first + static_cast<int>(k)];
                sum[0] += span.weights[k] * qRed(p);
                sum[1] += span.weights[k] * qGreen(p);
                sum[2] += span.weights[k] * qBlue(p);
            }
            for (int c = 0; c < 3; ++c)
                wide[(static_cast<size_t>(y) * w + x) * 3 + c] = sum[c];
        }
    }
    std::vector<double> out(static_cast<size_t>(w) * h * 3, 0.0);
    for (int y = 0; y < h; ++y) {
        const Span& span = rows[static_cast<size_t>(y)];
        for (size_t k = 0; k < span.weights.size(); ++k) {
            const size_t from = static_cast<size_t>(span.first + static_cast<int>(k)) * w * 3;
            for (size_t i = 0; i < static_cast<size_t>(w) * 3; ++i)
                out[static_cast<size_t>(y) * w * 3 + i] += span.weights[k] * wide[from + i];
        }
    }
    return out;
}

// Decoded pixel i at m eighths stands for source pixels [8i/m, 8(i+1)/m); compares each one
// with the full picture's average over that cell moved by `shift` source pixels both ways.
double cellFit(const QImage& full, const QImage& decoded, int eighths, double shift) {
    const double cell = 8.0 / eighths;
    double squared = 0;
    long count = 0;
    for (int j = 1; j + 1 < decoded.height(); ++j) {
        for (int i = 1; i + 1 < decoded.width(); ++i) {
            const double x0 = i * cell + shift;
            const double y0 = j * cell + shift;
            if (x0 + cell >= full.width() || y0 + cell >= full.height())
                continue;
            double sum[3] = {0, 0, 0};
            for (int y = static_cast<int>(y0); y < y0 + cell; ++y) {
                const double wy = std::min<double>(y + 1, y0 + cell) - std::max<double>(y, y0);
                for (int x = static_cast<int>(x0); x < x0 + cell; ++x) {
                    const double w =
                        wy * (std::min<double>(x + 1, x0 + cell) - std::max<double>(x, x0));
                    const QRgb p = full.pixel(x, y);
                    sum[0] += w * qRed(p);
                    sum[1] += w * qGreen(p);
                    sum[2] += w * qBlue(p);
                }
            }
            const QRgb q = decoded.pixel(i, j);
            const int value[3] = {qRed(q), qGreen(q), qBlue(q)};
            for (int c = 0; c < 3; ++c) {
                const double d = value[c] - sum[c] / (cell * cell);
                squared += d * d;
            }
            count += 3;
        }
    }
    return 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(count) / squared);
}

double psnr(const QImage& canvas, const std::vector<double>& reference) {
    double squared = 0;
    size_t i = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            for (int value : {qRed(line[x]), qGreen(line[x]), qBlue(line[x])}) {
                const double d = value - reference[i++];
                squared += d * d;
            }
        }
    }
    const double mse = squared / static_cast<double>(reference.size());
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList files = app.arguments().mid(1);
    int w = 640;
    int h = 480;
    if (files.size() >= 2 && files[0] == "--size") {
        const QStringList sides = files[1].split('x');
        if (sides.size() == 2) {
            w = sides[0].toInt();
            h = sides[1].toInt();
        }
        files = files.mid(2);
    }
    if (files.isEmpty() || w <= 0 || h <= 0) {
        std::fprintf(stderr, "usage: bench_scaled_decode [--size WxH] FILE.jpg...\n");
        return 2;
    }

    std::printf("%-40s %11s %6s %8s %8s %7s   %s\n", "file", "full size", "scale", "full dB",
                "reduced", "gain", "cell fit dB at -1/4, 0, +1/4");
    int notWorse = 0;
    double gains = 0;
    for (const QString& path : files) {
        const SourcePicture full = picture::LoadSource(path, {});
        const SourcePicture reduced =
            picture::LoadSource(path, [w, h](QSize) { return QSize(w, h); });
        const std::vector<double> reference = areaAverage(full.upright(), w, h);
        const double fromFull = psnr(StretchSource(full, w, h), reference);
        const double fromReduced = psnr(StretchSource(reduced, w, h), reference);
        notWorse += fromReduced >= fromFull ? 1 : 0;
        gains += fromReduced - fromFull;
        std::printf("%-40s %5dx%-5d %4d/8 %8.2f %8.2f %+7.2f",
                    qPrintable(QFileInfo(path).fileName()), full.size().width(),
                    full.size().height(), reduced.eighths, fromFull, fromReduced,
                    fromReduced - fromFull);
        if (reduced.eighths < 8) {
            for (double shift : {-0.25, 0.0, 0.25})
                std::printf("   %6.2f",
                            cellFit(full.pixels, reduced.pixels, reduced.eighths, shift));
        }
        std::printf("\n");
    }
    std::printf("reduced decode at least as close on %d of %lld photos; mean gain %+.2f dB\n",
                notWorse, static_cast<long long>(files.size()), gains / files.size());
    return notWorse == files.size() ? 0 : 1;
}
