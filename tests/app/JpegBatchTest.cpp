#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include "BatchDriver.h"
#include "EventLog.h"
#include "TestPictures.h"

namespace {

// Reads the frame header of a baseline JPEG file: component count and the luminance factors.
struct Frame {
    int components = 0;
    int h = 0;
    int v = 0;
    QByteArray comment;
};

Frame readFrame(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    Frame frame;
    for (qsizetype i = 2; i + 4 < b.size();) {
        if (static_cast<unsigned char>(b[i]) != 0xFF)
            break;
        const auto marker = static_cast<unsigned char>(b[i + 1]);
        const int length =
            (static_cast<unsigned char>(b[i + 2]) << 8) | static_cast<unsigned char>(b[i + 3]);
        if (marker == 0xC0) {
            frame.components = static_cast<unsigned char>(b[i + 9]);
            frame.h = static_cast<unsigned char>(b[i + 11]) >> 4;
            frame.v = static_cast<unsigned char>(b[i + 11]) & 15;
        } else if (marker == 0xFE) {
            frame.comment = b.mid(i + 4, length - 2);
        } else if (marker == 0xDA) {
            break;
        }
        i += 2 + length;
    }
    return frame;
}

class JpegBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.Quality = 90;
        settings.SampleH = 2;
        settings.SampleV = 1;
        settings.LockHeight = true;
        source = inputs.filePath("Foto.JPG");
        ASSERT_TRUE(quadrantPicture(200, 150).save(source, "JPG", 95));
        oldSink = eventlog::SetSink([](const QString&) {});
    }
    void TearDown() override { eventlog::SetSink(oldSink); }

    BatchReport run() { return BatchDriver(program.path(), settings).Run(1, {source}); }
    QString output() const { return QDir(program.path()).filePath("Elaborate/Foto.JPG"); }

    QTemporaryDir program;
    QTemporaryDir inputs;
    Settings settings;
    QString source;
    eventlog::Sink oldSink;
};

}  // namespace

TEST_F(JpegBatch, WritesAColourJpegWithTheChosenFactorsAndComment) {
    settings.Comment = QString::fromUtf8("Estate è");
    const BatchReport r = run();
    ASSERT_FALSE(r.failure.has_value()) << r.failure->text.toStdString();
    EXPECT_EQ(r.written, 1);
    const Frame frame = readFrame(output());
    EXPECT_EQ(frame.components, 3);
    EXPECT_EQ(frame.h, 2);
    EXPECT_EQ(frame.v, 1);
    EXPECT_EQ(frame.comment, QByteArray("Estate \xe8"));

    QImageReader reader(output());
    const QImage decoded = reader.read();
    ASSERT_FALSE(decoded.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(decoded.size(), QSize(640, 480));
    const QColor tl = decoded.pixelColor(80, 60);  // inside the red quadrant
    EXPECT_NEAR(tl.red(), 200, 12);
    EXPECT_NEAR(tl.green(), 30, 12);
}

TEST_F(JpegBatch, GreyscaleGivesOneComponentAndExistingOutputsStay) {
    settings.GreyscaleOn = true;
    ASSERT_EQ(run().written, 1);
    EXPECT_EQ(readFrame(output()).components, 1);

    QFile f(output());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    settings.GreyscaleOn = false;
    const BatchReport again = run();
    EXPECT_FALSE(again.failure.has_value());
    EXPECT_EQ(again.unchanged, 1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(JpegBatch, AnInvalidSamplingFactorEndsTheBatch) {
    settings.SampleH = 5;
    const BatchReport r = run();
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->number, 1);
    EXPECT_EQ(r.failure->text, "Invalid Sampling Value");
    EXPECT_FALSE(QFileInfo::exists(output()));
    // The intermediate bitmap was written before the encoder refused.
    EXPECT_TRUE(QFileInfo::exists(QDir(program.path()).filePath("ResizedOne.bmp")));
}
