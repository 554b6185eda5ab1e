// How close the batch's canvas comes to the ideal picture: for every JPEG file given, the
// PSNR against an area-averaged reference made from the full picture, of the canvas the batch
// samples while decoding and of the full decode point-sampled afterwards, and the time each
// way takes. The two canvases should be the same pixels; the exit status is 1 when one of the
// batch's canvases is further from the reference.
//
//   bench_sampling_quality [--size WxH] FILE.jpg...      (default 640x480, proportions free)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <vector>

#include "PictureLoader.h"
#include "SampledPicture.h"
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
        std::fprintf(stderr, "usage: bench_sampling_quality [--size WxH] FILE.jpg...\n");
        return 2;
    }

    std::printf("%-40s %11s %9s %9s %6s %9s %9s\n", "file", "full size", "batch dB", "full dB",
                "same", "batch ms", "full ms");
    int notWorse = 0;
    double batchTime = 0;
    double fullTime = 0;
    for (const QString& path : files) {
        QElapsedTimer clock;
        clock.start();
        const SampledPicture sampled = picture::LoadSampled(
            path, [w, h](QSize) { return QSize(w, h); }, QSize());
        const double batchMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        const SourcePicture full = picture::LoadSource(path);
        const QImage pointFull = StretchSource(full, w, h);
        const double fullMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

        const std::vector<double> reference = areaAverage(full.upright(), w, h);
        const double fromBatch = psnr(sampled.canvas, reference);
        const double fromFull = psnr(pointFull, reference);
        notWorse += fromBatch >= fromFull ? 1 : 0;
        batchTime += batchMs;
        fullTime += fullMs;
        std::printf("%-40s %5dx%-5d %9.2f %9.2f %6s %9.1f %9.1f\n",
                    qPrintable(QFileInfo(path).fileName()), sampled.size.width(),
                    sampled.size.height(), fromBatch, fromFull,
                    sampled.canvas == pointFull ? "yes" : "NO", batchMs, fullMs);
    }
    std::printf("batch canvas at least as close on %d of %lld photos; %.0f ms against %.0f ms\n",
                notWorse, static_cast<long long>(files.size()), batchTime, fullTime);
    return notWorse == files.size() ? 0 : 1;
}
