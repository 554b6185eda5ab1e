#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>

#include "HeadlessCommand.h"
#include "OwnChoices.h"
#include "TestPictures.h"
#include "ToggleLook.h"
#include "WindowTestSupport.h"

using namespace windowtest;

namespace {

// Alternate black and white columns one pixel wide.
QImage columns(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

// The distinct colours of a picture file.
QSet<QRgb> coloursOf(const QString& path) {
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(image.isNull()) << path.toStdString();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

int headless(const QStringList& args, QString* err = nullptr) {
    QString out;
    QString errors;
    QTextStream o(&out);
    QTextStream e(&errors);
    const int status = RunHeadless(args, o, e);
    e.flush();
    if (err != nullptr)
        *err = errors;
    return status;
}

}  // namespace

TEST(SmoothChoice, TheFlagsChooseSmoothingForEveryFormatAndPointSamplingStaysTheDefault) {
    QTemporaryDir dir;
    const QString bmp = dir.filePath("righe.bmp");
    ASSERT_TRUE(columns(700, 70).save(bmp, "BMP"));
    const QString gif = dir.filePath("righe.gif");
    ASSERT_TRUE(saveAsGif(columns(700, 70), gif));
    const QString jpg = dir.filePath("righe.jpg");
    ASSERT_TRUE(columns(700, 70).save(jpg, "JPEG", 100));
    const auto run = [&](const QString& folder, const QStringList& flags) {
        QString err;
        EXPECT_EQ(headless(QStringList{"--drop", "4", "--width", "100", "--height", "10",
                                       "--folder", dir.filePath(folder), bmp, gif, jpg} +
                               flags,
                           &err),
                  0)
            << err.toStdString();
        return QDir(dir.filePath(folder + "/Elaborate"));
    };
    // Point sampling picks every seventh column: black and white stripes, no grey.
    const QSet<QRgb> blackAndWhite = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (const auto& [folder, flags] :
         {std::pair{"plain", QStringList{}}, std::pair{"off", QStringList{"--no-smooth"}}}) {
        const QDir out = run(folder, flags);
        EXPECT_EQ(coloursOf(out.filePath("righe.bmp")), blackAndWhite) << folder;
        EXPECT_EQ(coloursOf(out.filePath("righe.gif")), blackAndWhite) << folder;
    }
    // Smoothing averages them to grey, in all three formats (the JPEG file's reduced decode
    // keeps a little of the pattern inside each block).
    const QDir out = run("smooth", {"--smooth"});
    for (const auto& [name, tolerance] :
         {std::pair{"righe.bmp", 8}, std::pair{"righe.gif", 8}, std::pair{"righe.jpg", 40}}) {
        const QImage picture = QImage(out.filePath(name)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(picture.size(), QSize(100, 10)) << name;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                ASSERT_NEAR(qGreen(picture.pixel(x, y)), 128, tolerance) << name << x << "," << y;
    }
    QString err;
    EXPECT_EQ(headless({"--drop", "1", "--smooth", "--no-smooth", bmp}, &err), 2);
    EXPECT_TRUE(err.contains("--smooth and --no-smooth exclude each other"));
}

TEST(SmoothChoice, WithoutAFlagTheSavedChoiceHolds) {
    QTemporaryDir dir;
    const QString bmp = dir.filePath("righe.bmp");
    ASSERT_TRUE(columns(700, 70).save(bmp, "BMP"));
    OwnChoices saved;
    saved.Smooth = true;
    ASSERT_TRUE(ownchoices::Save(dir.path(), saved));
    const QString output = dir.filePath("Elaborate/righe.bmp");
    const QStringList args = {"--drop", "4",        "--width",  "100", "--height",
                              "10",     "--folder", dir.path(), bmp};
    ASSERT_EQ(headless(args), 0);
    EXPECT_NEAR(qGreen(QImage(output).pixel(50, 5)), 128, 8);
    ASSERT_EQ(headless(args + QStringList{"--no-smooth"}), 0);
    EXPECT_EQ(coloursOf(output).size(), 2);
    // The flag is for one run: the saved choice is unchanged.
    OwnChoices after;
    ASSERT_TRUE(ownchoices::Load(dir.path(), after));
    EXPECT_TRUE(after.Smooth);
}

TEST(SmoothChoice, ASmoothedGifOfManyColoursIsReducedToAPalette) {
    QTemporaryDir dir;
    // Four flat quadrants: their smoothed borders bring many colours in between.
    const QString gif = dir.filePath("quadranti.gif");
    ASSERT_TRUE(saveAsGif(quadrantPicture(640, 480), gif));
    ASSERT_EQ(headless({"--drop", "4", "--width", "333", "--height", "250", "--folder", dir.path(),
                        "--smooth", gif}),
              0);
    const QString out = dir.filePath("Elaborate/quadranti.gif");
    const QSet<QRgb> colours = coloursOf(out);
    EXPECT_GT(colours.size(), 4);
    EXPECT_LE(colours.size(), 256);
    // Inside the quadrants the colours are kept exactly.
    const QImage picture = QImage(out).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(picture.pixel(20, 20), qRgb(200, 30, 30));
    EXPECT_EQ(picture.pixel(300, 230), qRgb(240, 240, 40));
}

TEST(SmoothChoice, TheWindowToggleSmoothsTheNextBatch) {
    QTemporaryDir dir;
    MainWindow w(dir.path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ThemedButton* toggle = button(w, "btnSmooth");
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->Caption(), QString::fromUtf8("Alta qualità"));
    EXPECT_EQ(toggle->ToolTipTitle(), "Funzione:");
    EXPECT_EQ(toggle->ToolTipIcon(), 1);
    EXPECT_FALSE(HasToggleLookOn(toggle));
    // Below the proportion group, above the quality button, inside the options frame.
    EXPECT_GT(toggle->y(), button(w, "ThemedButton2_1")->geometry().bottom());
    EXPECT_LT(toggle->geometry().bottom(), button(w, "btnQualita")->y());
    EXPECT_LE(button(w, "btnQualita")->geometry().bottom(), control(w, "PanelFrame2")->height());
    EXPECT_GT(control(w, "PanelFrame1")->y(), control(w, "PanelFrame2")->geometry().bottom());
    EXPECT_LE(control(w, "PanelFrame1")->geometry().bottom(), w.height());

    const QString picture = dir.filePath("righe.bmp");
    ASSERT_TRUE(columns(2240, 70).save(picture, "BMP"));  // 7:1 onto 320 x 240
    const QString output = dir.filePath("Elaborate/righe.bmp");
    w.Resizer_OLEDragDrop(0, {picture});
    EXPECT_EQ(coloursOf(output).size(), 2);
    click(toggle);
    EXPECT_TRUE(HasToggleLookOn(toggle));
    w.Resizer_OLEDragDrop(0, {picture});
    EXPECT_NEAR(qGreen(QImage(output).pixel(160, 120)), 128, 8);
    click(toggle);
    EXPECT_FALSE(HasToggleLookOn(toggle));
}

TEST(SmoothChoice, TheToggleIsRememberedAndTheSettingsRecordKeepsItsBytes) {
    QTemporaryDir dir;
    const auto record = [&] {
        QFile f(dir.filePath("resizer.cfg"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    };
    {
        MainWindow w(dir.path());
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.close();
    }
    const QByteArray before = record();
    for (const bool on : {true, false}) {
        MainWindow w(dir.path());
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_EQ(HasToggleLookOn(button(w, "btnSmooth")), !on);
        click(button(w, "btnSmooth"));
        w.close();
        EXPECT_EQ(record(), before);
        OwnChoices saved;
        ASSERT_TRUE(ownchoices::Load(dir.path(), saved));
        EXPECT_EQ(saved.Smooth, on);
    }
}
