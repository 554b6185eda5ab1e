#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

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

}  // namespace

// The batch samples JPEG rows while they decode and skips the rows it does not read where the
// decoder allows it; every chroma layout our own encoder can write (the files users feed back)
// must still give exactly the full picture point-sampled, shrunk, enlarged or both.
TEST(JpegSampling, EveryLayoutOurEncoderWritesGivesTheFullPicturePointSampled) {
    QTemporaryDir dir;
    const QImage picture = photoLike(203, 157);
    const QSize canvases[] = {{64, 48}, {37, 23}, {203, 300}, {20, 157}, {1, 1}};
    for (int h = 1; h <= 4; ++h) {
        for (int v = 1; v <= 4; ++v) {
            Settings s;
            s.Quality = 90;
            s.SampleH = h;
            s.SampleV = v;
            const QString path = dir.filePath(QString("s%1x%2.jpg").arg(h).arg(v));
            const std::vector<uint8_t> bytes =
                EncodeJpegOutput(picture, picture.width(), picture.height(), path, s);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qint64>(bytes.size()));
            file.close();

            const SourcePicture full = picture::LoadSource(path);
            for (const QSize& canvas : canvases) {
                const SampledPicture sampled = picture::LoadSampled(
                    path, [&](QSize) { return canvas; }, QSize(9, 7));
                EXPECT_TRUE(sampled.canvas == StretchSource(full, canvas.width(), canvas.height()))
                    << h << ":" << v << " onto " << canvas.width() << "x" << canvas.height();
                EXPECT_TRUE(sampled.preview == StretchSource(full, 9, 7)) << h << ":" << v;
            }
        }
    }
}

// Narrow and short pictures meet the decoder's upsampling at its edges: a chroma component one
// or two pixels wide is doubled without context rows, which skipping rows gets wrong.
TEST(JpegSampling, EveryLayoutAtEveryNarrowWidthGivesTheFullPicturePointSampled) {
    QTemporaryDir dir;
    const QString path = dir.filePath("narrow.jpg");
    for (const int height : {1, 17, 100, 333}) {
        for (int width = 1; width <= 40; ++width) {
            const QImage picture = photoLike(width, height);
            for (int h = 1; h <= 4; ++h) {
                for (int v = 1; v <= 4; ++v) {
                    Settings s;
                    s.Quality = 90;
                    s.SampleH = h;
                    s.SampleV = v;
                    const std::vector<uint8_t> bytes =
                        EncodeJpegOutput(picture, width, height, path, s);
                    QFile file(path);
                    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                    file.write(reinterpret_cast<const char*>(bytes.data()),
                               static_cast<qint64>(bytes.size()));
                    file.close();
                    const SourcePicture full = picture::LoadSource(path);
                    for (const QSize canvas :
                         {QSize(37, 23), QSize(320, 240), QSize(width, height / 3 + 1)}) {
                        const SampledPicture sampled = picture::LoadSampled(
                            path, [&](QSize) { return canvas; }, QSize());
                        ASSERT_TRUE(sampled.canvas ==
                                    StretchSource(full, canvas.width(), canvas.height()))
                            << width << "x" << height << " " << h << ":" << v << " onto "
                            << canvas.width() << "x" << canvas.height();
                    }
                }
            }
        }
    }
}
