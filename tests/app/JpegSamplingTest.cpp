#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "FileBytes.h"
#include "JpegOutput.h"
#include "PictureLoader.h"
#include "SampledPicture.h"
#include "Settings.h"
#include "SourcePicture.h"

namespace {

// Smooth shading with fine texture, so that every upsampled chroma row differs from its
// neighbours and a row read out of step would show.
QImage photoLike(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int texture = static_cast<int>(20 * std::sin(x * 0.7) * std::cos(y * 0.9));
            image.setPixel(x, y,
                           qRgb(std::clamp(x * 255 / w + texture, 0, 255),
                                std::clamp(y * 255 / h - texture, 0, 255),
                                std::clamp((x + y) * 128 / (w + h) + 60 + texture, 0, 255)));
        }
    }
    return image;
}

// Writes `picture` to `path` with our encoder in every chroma layout and checks that each of
// `canvases` (and `preview`, unless empty) sampled while decoding is the full picture
// point-sampled.
void checkEveryLayout(const QImage& picture, const QString& path,
                      std::initializer_list<QSize> canvases, QSize preview) {
    for (int h = 1; h <= 4; ++h) {
        for (int v = 1; v <= 4; ++v) {
            Settings s;
            s.Quality = 90;
            s.SampleH = h;
            s.SampleV = v;
            const std::vector<uint8_t> bytes =
                EncodeJpegOutput(picture, picture.width(), picture.height(), path, s);
            ASSERT_TRUE(writeBytes(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()))));
            const SourcePicture full = picture::LoadSource(path);
            for (const QSize& canvas : canvases) {
                const SampledPicture sampled = picture::LoadSampled(
                    path, [&](QSize) { return canvas; }, preview);
                ASSERT_TRUE(sampled.canvas == StretchSource(full, canvas.width(), canvas.height()))
                    << picture.width() << "x" << picture.height() << " " << h << ":" << v
                    << " onto " << canvas.width() << "x" << canvas.height();
                ASSERT_TRUE(preview.isEmpty() ||
                            sampled.preview ==
                                StretchSource(full, preview.width(), preview.height()))
                    << h << ":" << v;
            }
        }
    }
}

}  // namespace

// The batch samples JPEG rows while they decode and skips the rows it does not read where the
// decoder allows it; every chroma layout our own encoder can write (the files users feed back)
// must still give exactly the full picture point-sampled, shrunk, enlarged or both.
TEST(JpegSampling, EveryLayoutOurEncoderWritesGivesTheFullPicturePointSampled) {
    QTemporaryDir dir;
    checkEveryLayout(photoLike(203, 157), dir.filePath("layout.jpg"),
                     {{64, 48}, {37, 23}, {203, 300}, {20, 157}, {1, 1}}, QSize(9, 7));
}

// Narrow and short pictures meet the decoder's upsampling at its edges: a chroma component one
// or two pixels wide is doubled without context rows, which skipping rows gets wrong.
TEST(JpegSampling, EveryLayoutAtEveryNarrowWidthGivesTheFullPicturePointSampled) {
    QTemporaryDir dir;
    for (const int height : {1, 17, 100, 333}) {
        for (int width = 1; width <= 40; ++width) {
            ASSERT_NO_FATAL_FAILURE(
                checkEveryLayout(photoLike(width, height), dir.filePath("narrow.jpg"),
                                 {{37, 23}, {320, 240}, {width, height / 3 + 1}}, QSize()));
        }
    }
}
