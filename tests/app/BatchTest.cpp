#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <thread>

#include "BatchDriver.h"
#include "EventLog.h"
#include "PointStretch.h"
#include "TestPictures.h"

namespace {

class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program.isValid() && inputs.isValid());
        settings.LockHeight = true;
        oldSink = eventlog::SetSink([this](const QString& line) { logged << line; });
    }
    void TearDown() override { eventlog::SetSink(oldSink); }

    QString input(const QString& name, const QImage& image, const char* format) {
        const QString path = inputs.filePath(name);
        EXPECT_TRUE(QByteArray(format) == "GIF" ? saveAsGif(image, path)
                                                : image.save(path, format));
        return path;
    }
    QString corrupt(const QString& name) {
        const QString path = inputs.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM this is not a bitmap at all");
        return path;
    }
    QString output(const QString& name) const {
        return QDir(program.path()).filePath("Elaborate/" + name);
    }
    BatchReport run(int target, const QStringList& files) {
        BatchDriver driver(program.path(), settings, host);
        return driver.Run(static_cast<int16_t>(target), files);
    }

    QTemporaryDir program;
    QTemporaryDir inputs;
    Settings settings;
    BatchHost host;
    QStringList logged;
    eventlog::Sink oldSink;
};

QSize sizeOf(const QString& path) {
    return QImageReader(path).size();
}

}  // namespace

TEST(BatchFilter, LooksAtTheLastFourCharactersOnly) {
    EXPECT_TRUE(BatchDriver::IsAccepted("/x/A.JPG"));
    EXPECT_TRUE(BatchDriver::IsAccepted("/x/b.Gif"));
    EXPECT_TRUE(BatchDriver::IsAccepted("/x/c.bmp"));
    EXPECT_TRUE(BatchDriver::IsAccepted(".bmp"));
    EXPECT_FALSE(BatchDriver::IsAccepted("/x/a.jpeg"));
    EXPECT_FALSE(BatchDriver::IsAccepted("/x/a.png"));
    EXPECT_FALSE(BatchDriver::IsAccepted("/x/bmp"));
    EXPECT_FALSE(BatchDriver::IsAccepted("/x/a.bmp "));
}

TEST_F(Batch, BitmapAndGifComeOutResizedInTheirOwnFormat) {
    const QString bmp = input("one.bmp", quadrantPicture(160, 120), "BMP");
    const QString gif = input("Two.GIF", quadrantPicture(90, 60), "GIF");
    std::vector<std::pair<bool, int>> busy;
    host.setBusy = [&](bool b) { busy.emplace_back(b, 0); };
    QStringList previews;
    QList<QImage> previewPictures;
    host.previewSize = [](int i) { return QSize(30 + i, 20); };
    host.showPreview = [&](int i, const QImage& src) {
        previews << QString("%1:%2x%3").arg(i).arg(src.width()).arg(src.height());
        previewPictures << src;
    };

    const BatchReport r = run(0, {bmp, inputs.filePath("skip.png"), gif});
    EXPECT_FALSE(r.failure.has_value());
    EXPECT_EQ(r.written, 2);
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(r.accepted, (QStringList{bmp, gif}));
    // Each preview is sampled from its own source at the size the target asked for.
    EXPECT_EQ(previews, (QStringList{"0:30x20", "0:30x20"}));
    ASSERT_EQ(previewPictures.size(), 2);
    EXPECT_EQ(previewPictures[0], PointStretch(quadrantPicture(160, 120), 30, 20));
    EXPECT_EQ(previewPictures[1], PointStretch(quadrantPicture(90, 60), 30, 20));
    ASSERT_EQ(busy.size(), 2u);
    EXPECT_TRUE(busy[0].first);
    EXPECT_FALSE(busy[1].first);

    EXPECT_EQ(sizeOf(output("one.bmp")), QSize(320, 240));
    EXPECT_EQ(QImageReader(output("one.bmp")).format(), "bmp");
    EXPECT_EQ(sizeOf(output("Two.GIF")), QSize(320, 240));
    EXPECT_EQ(QImageReader(output("Two.GIF")).format(), "gif");

    // Point sampling keeps the quadrant colours exactly, in the bitmap and in the GIF.
    for (const QString& out : {output("one.bmp"), output("Two.GIF")}) {
        const QImage image(out);
        EXPECT_EQ(image.pixel(10, 10), qRgb(200, 30, 30)) << out.toStdString();
        EXPECT_EQ(image.pixel(310, 230), qRgb(240, 240, 40)) << out.toStdString();
    }
    // The intermediate bitmap holds the last picture processed.
    EXPECT_EQ(sizeOf(QDir(program.path()).filePath("ResizedOne.bmp")), QSize(320, 240));
}

TEST_F(Batch, NamesWithSizeAndProportions) {
    settings.NameWithSize = true;
    settings.KeepProportions = true;
    settings.LockHeight = false;  // width locked
    const QString a = input("mare.2005.bmp", quadrantPicture(300, 200), "BMP");
    const BatchReport r = run(1, {a});
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(sizeOf(output("mare_640x426.2005.bmp")), QSize(640, 427));

    // The same file on another target lands beside the first.
    run(0, {a});
    EXPECT_TRUE(QFileInfo::exists(output("mare_320x213.2005.bmp")));
    EXPECT_TRUE(QFileInfo::exists(output("mare_640x426.2005.bmp")));
}

TEST_F(Batch, ACorruptFileStopsTheBatchAndKeepsEarlierOutputs) {
    const QString first = input("first.bmp", quadrantPicture(20, 20), "BMP");
    const QString bad = corrupt("bad.bmp");
    const QString last = input("last.bmp", quadrantPicture(20, 20), "BMP");
    bool busyAtEnd = true;
    host.setBusy = [&](bool b) { busyAtEnd = b; };

    const BatchReport r = run(0, {first, bad, last});
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->file, bad);
    EXPECT_EQ(r.failure->number, 481);
    EXPECT_EQ(r.written, 1);
    EXPECT_FALSE(busyAtEnd);
    EXPECT_TRUE(QFileInfo::exists(output("first.bmp")));
    EXPECT_FALSE(QFileInfo::exists(output("bad.bmp")));
    EXPECT_FALSE(QFileInfo::exists(output("last.bmp")));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains("bad.bmp"));
    EXPECT_TRUE(logged[0].contains("481"));
}

TEST_F(Batch, OrderIsTheDropOrderAndBitmapsAreReplaced) {
    const QString b = input("b.bmp", quadrantPicture(40, 40), "BMP");
    const QString a = input("a.bmp", quadrantPicture(10, 30).mirrored(true, false), "BMP");
    QList<QRgb> seen;  // the top left corner tells the two apart
    host.previewSize = [](int) { return QSize(4, 4); };
    host.showPreview = [&](int, const QImage& src) { seen << src.pixel(0, 0); };
    run(3, {b, a});
    EXPECT_EQ(seen, (QList<QRgb>{qRgb(200, 30, 30), qRgb(30, 200, 30)}));
    // ResizedOne.bmp is the last one: the target size, whatever the source.
    EXPECT_EQ(sizeOf(QDir(program.path()).filePath("ResizedOne.bmp")), QSize(1024, 768));

    settings.KeepProportions = true;  // height locked: 10x30 -> 256x768
    run(3, {a});
    EXPECT_EQ(sizeOf(output("a.bmp")), QSize(256, 768));
}

TEST_F(Batch, EmptyDropStillMakesTheFolderAndWritesNothing) {
    int busyCalls = 0;
    host.setBusy = [&](bool) { ++busyCalls; };
    const BatchReport r = run(2, {"/x/a.png", "/x/b.jpeg"});
    EXPECT_EQ(r.skipped, 2);
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(busyCalls, 2);
    EXPECT_TRUE(QFileInfo(QDir(program.path()).filePath("Elaborate")).isDir());
    EXPECT_TRUE(QDir(program.path()).entryList({"*.bmp"}, QDir::Files).isEmpty());
}

TEST_F(Batch, AnAbsurdCustomSizeStopsCleanly) {
    const QString a = input("a.bmp", quadrantPicture(10, 10), "BMP");
    BatchDriver driver(program.path(), settings, host);
    driver.setCustomSize("0", "960");
    const BatchReport r = driver.Run(4, {a});
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->number, 5);
    EXPECT_FALSE(QFileInfo::exists(output("a.bmp")));
}

TEST_F(Batch, TransparentGifAreasBecomeWhite) {
    const QString gif = inputs.filePath("clear.gif");
    ASSERT_TRUE(saveTransparentGif(gif));
    settings.KeepProportions = false;
    run(0, {gif});
    const QImage out(output("clear.gif"));
    EXPECT_EQ(out.pixel(300, 200), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(5, 5), qRgb(0, 0, 255));
}

// Two runs on one program folder share "ResizedOne.bmp"; each GIF must still hold its own
// run's picture at its own size.
TEST_F(Batch, TwoRunsSharingTheFolderKeepTheirOwnGifPictures) {
    eventlog::SetSink([](const QString&) {});
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(40, 30, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QStringList redFiles;
    QStringList blueFiles;
    for (int i = 0; i < 25; ++i) {
        redFiles << input(QString("r%1.gif").arg(i), red, "GIF");
        blueFiles << input(QString("b%1.gif").arg(i), blue, "GIF");
    }
    Settings free;
    BatchReport small;
    BatchReport large;
    std::thread first([&] {
        BatchDriver driver(program.path(), free);
        small = driver.Run(0, redFiles);
    });
    std::thread second([&] {
        BatchDriver driver(program.path(), free);
        large = driver.Run(1, blueFiles);
    });
    first.join();
    second.join();
    ASSERT_FALSE(small.failure);
    ASSERT_FALSE(large.failure);
    for (int i = 0; i < 25; ++i) {
        const QImage r(output(QString("r%1.gif").arg(i)));
        const QImage b(output(QString("b%1.gif").arg(i)));
        ASSERT_EQ(r.size(), QSize(320, 240)) << i;
        ASSERT_EQ(b.size(), QSize(640, 480)) << i;
        EXPECT_EQ(r.pixel(319, 239), QColor(Qt::red).rgb()) << i;
        EXPECT_EQ(b.pixel(639, 479), QColor(Qt::blue).rgb()) << i;
    }
}
