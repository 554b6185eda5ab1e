#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <thread>

#include "FileName.h"
#include "HeadlessRun.h"
#include "QualityChoices.h"
#include "Settings.h"
#include "SettingsFile.h"
#include "TestPictures.h"

TEST(Headless, RunsOneBatchAndReportsIt) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.bmp");
    ASSERT_TRUE(quadrantPicture(100, 50).save(a, "BMP"));
    const QString folder = dir.filePath("prog");

    const HeadlessRun r = headless({"--drop", "4", "--folder", folder, "--width", "50", "--height",
                                    "999", "--keep-proportions", "--lock-width", "--name-with-size",
                                    a, dir.filePath("notes.txt")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1 written")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("1 skipped"));
    EXPECT_TRUE(r.out.contains(QDir(folder).filePath("Elaborate")));
    EXPECT_EQ(QImageReader(QDir(folder).filePath("Elaborate/a_50x25.bmp")).size(), QSize(50, 25));
    // Flags are never saved.
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("resizer.cfg")));
}

TEST(Headless, SavedSettingsApplyUnlessOverridden) {
    QTemporaryDir dir;
    Settings s;
    s.NameWithSize = true;
    s.KeepProportions = true;
    s.LockHeight = true;
    ASSERT_TRUE(settingsfile::SaveSettings(dir.path(), s));
    const QString a = dir.filePath("in.bmp");
    ASSERT_TRUE(quadrantPicture(200, 100).save(a, "BMP"));

    EXPECT_EQ(headless({"--drop", "0", "--folder", dir.path(), a}).status, 0);
    EXPECT_EQ(QImageReader(dir.filePath("Elaborate/in_480x240.bmp")).size(), QSize(480, 240));
    EXPECT_EQ(headless({"--drop", "0", "--folder", dir.path(), "--lock-width", a}).status, 0);
    EXPECT_EQ(QImageReader(dir.filePath("Elaborate/in_320x160.bmp")).size(), QSize(320, 160));
}

TEST(Headless, StoppedBatchAndBadArgumentsHaveTheirOwnStatus) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("gone.gif");
    const HeadlessRun stopped = headless({"--drop", "1", "--folder", dir.path(), missing});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains("gone.gif"));
    EXPECT_TRUE(stopped.err.contains("error 481"));

    for (const QStringList& bad :
         {QStringList{"a.bmp"}, QStringList{"--drop", "5", "a.bmp"}, QStringList{"--drop", "1"},
          QStringList{"--drop", "1", "--quality", "0", "a.bmp"},
          QStringList{"--drop", "1", "--subsampling", "5:1", "a.bmp"},
          QStringList{"--drop", "1", "--lock-width", "--lock-height", "a.bmp"},
          QStringList{"--drop", "1", "--width", "12a", "a.bmp"},
          QStringList{"--drop", "1", "--frobnicate", "a.bmp"}}) {
        const HeadlessRun r = headless(bad);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage:"));
    }
    const HeadlessRun help = headless({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--drop INDEX"));
}

TEST(Headless, NoFlagsSwitchSavedChoicesOffForOneRun) {
    QTemporaryDir dir;
    Settings s;
    s.NameWithSize = true;
    s.KeepProportions = true;
    s.LockHeight = true;
    s.Comment = "salvato";
    ASSERT_TRUE(settingsfile::SaveSettings(dir.path(), s));
    const QString a = dir.filePath("in.bmp");
    ASSERT_TRUE(quadrantPicture(200, 100).save(a, "BMP"));

    // Free proportions and no size in the name: the plain name at the target's exact size.
    const HeadlessRun r = headless({"--drop", "0", "--folder", dir.path(), "--no-keep-proportions",
                                    "--no-name-with-size", "--no-comment", a});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImageReader(dir.filePath("Elaborate/in.bmp")).size(), QSize(320, 240));
    Settings after;
    settingsfile::LoadSettings(dir.path(), after);
    EXPECT_EQ(after, s);  // the saved choices are untouched

    const HeadlessRun both = headless({"--drop", "0", "--greyscale", "--no-greyscale", a});
    EXPECT_EQ(both.status, 2);
    EXPECT_TRUE(both.err.contains("--no-greyscale"));
}

TEST(Headless, VersionHelpAndUsageErrorsNameTheirArgument) {
    const HeadlessRun version = headless({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("tessaro 2.")) << version.out.toStdString();
    EXPECT_TRUE(version.err.isEmpty());

    const HeadlessRun unknown = headless({"--drop", "1", "--frobnicate", "a.bmp"});
    EXPECT_TRUE(unknown.err.contains("frobnicate")) << unknown.err.toStdString();
    const HeadlessRun quality = headless({"--drop", "1", "--quality", "101", "a.bmp"});
    EXPECT_TRUE(quality.err.contains("'101'"));

    // Files without a valid drop never open the window; Qt's own window options still do.
    EXPECT_TRUE(WantsHeadless({"photo.jpg"}));
    EXPECT_TRUE(WantsHeadless({"--drop=1", "photo.jpg"}));
    EXPECT_FALSE(WantsHeadless({"-platform", "offscreen", "-reverse"}));
    EXPECT_FALSE(WantsHeadless({}));
}

TEST(Headless, ACommentLosesOnlyItsOuterSpaces) {
    EXPECT_EQ(qualitychoices::TrimComment("  Più luce \t "), QString::fromUtf8("Più luce \t"));
    EXPECT_EQ(qualitychoices::TrimComment("   "), "");
    EXPECT_EQ(qualitychoices::TrimComment("\nx\n"), "\nx\n");
}

// Names are bytes: every byte string comes back whole, and a name that is not UTF-8 is read,
// written under the same bytes and named in messages.
TEST(Headless, NamesThatAreNotUtf8KeepTheirBytes) {
    for (const QByteArray& bytes :
         {QByteArray("caf\xc3\xa9"), QByteArray("caf\xe9"), QByteArray("\xc0\xaf\xed\xa0\x80"),
          QByteArray("\xe2\x82"), QByteArray("\xf0\x90\x82\x80\xff"), QByteArray("a\x80\xbf")}) {
        EXPECT_EQ(filename::ToBytes(filename::FromBytes(bytes)), bytes) << bytes.toHex().data();
    }
    EXPECT_EQ(filename::FromBytes("caf\xc3\xa9"), QString::fromUtf8("café"));

    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_TRUE(quadrantPicture(64, 48).save(dir.filePath("plain.bmp"), "BMP"));
    ASSERT_EQ(::rename((folder + "/plain.bmp").constData(), (folder + "/caf\xe9.bmp").constData()),
              0);
    const QString input = filename::FromBytes(folder + "/caf\xe9.bmp");
    const QString program = filename::FromBytes(folder + "/prog\xe9");
    HeadlessRun r = headless({"--drop", "0", "--folder", program, input});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    struct stat info {};
    EXPECT_EQ(::stat((folder + "/prog\xe9/Elaborate/caf\xe9.bmp").constData(), &info), 0);

    ASSERT_EQ(::unlink((folder + "/caf\xe9.bmp").constData()), 0);
    r = headless({"--drop", "0", "--folder", program, input});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(
        r.err.contains(filename::FromBytes("Invalid picture: caf\xe9.bmp (file not found)")))
        << r.err.toStdString();
}

// Only regular files are read: a FIFO (which would wait for a writer for ever) or a folder
// under a picture's name stops the batch at once, saying what it is.
TEST(Headless, APictureNameOnAnythingButAFileIsRefusedAtOnce) {
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("x.jpg")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("y.gif"));
    const struct {
        const char* name;
        const char* why;
    } cases[] = {{"x.jpg", "a FIFO, not a regular file"},
                 {"y.gif", "a folder, not a regular file"}};
    for (const auto& c : cases) {
        // Should the open wait after all, a writer lets it go on and the test fails.
        std::atomic<bool> finished{false};
        std::atomic<bool> released{false};
        std::thread watchdog([&] {
            for (int i = 0; i < 500 && !finished; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!finished) {
                released = true;
                ::close(::open(QFile::encodeName(dir.filePath("x.jpg")).constData(), O_WRONLY));
            }
        });
        const HeadlessRun r =
            headless({"--drop", "0", "--folder", dir.filePath("prog"), dir.filePath(c.name)});
        finished = true;
        watchdog.join();
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_TRUE(
            r.err.contains(QString("error 481: Invalid picture: %1 (%2)").arg(c.name, c.why)))
            << r.err.toStdString();
        EXPECT_FALSE(released);
    }
}
