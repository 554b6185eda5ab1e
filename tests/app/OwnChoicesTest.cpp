#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FileBytes.h"
#include "MainWindow.h"
#include "OwnChoices.h"
#include "SettingsFile.h"

namespace {

OwnChoices everyChoiceChanged() {
    OwnChoices c;
    c.Smooth = c.KeepMetadata = c.KeepGps = c.KeepDate = c.NeverEnlarge = c.KeepGoing = true;
    c.CustomWidth = "333";
    c.CustomHeight = "77";
    return c;
}

}  // namespace

TEST(OwnChoices, EveryChoiceRoundTripsBesideTheSettingsRecord) {
    QTemporaryDir dir;
    const OwnChoices saved = everyChoiceChanged();
    ASSERT_TRUE(ownchoices::Save(dir.path(), saved));
    EXPECT_EQ(ownchoices::PathIn(dir.path()), dir.filePath("tessaro.ini"));
    OwnChoices back;
    ASSERT_TRUE(ownchoices::Load(dir.path(), back));
    EXPECT_EQ(back, saved);
    EXPECT_FALSE(QFile::exists(dir.filePath("resizer.cfg")));  // the record is not touched
}

// Whatever the file holds, a key that is missing or not valid keeps its default and the rest
// are read; a file that is not INI at all is ignored whole.
TEST(OwnChoices, MissingDamagedOrForeignFilesGiveTheDefaults) {
    const OwnChoices defaults;
    OwnChoices smoothOnly;
    smoothOnly.Smooth = true;
    const struct {
        const char* what;
        QByteArray bytes;
        OwnChoices expected;
    } cases[] = {
        {"empty", "", defaults},
        {"binary garbage", QByteArray("\x00\xff\xfe[\x01=\n\x80", 8), defaults},
        {"values out of range",
         "[Resize]\nSmooth=banana\nCustomWidth=-5\nCustomHeight=1234567890\n"
         "[Batch]\nKeepGoing=2\n",
         defaults},
        {"one good key among bad ones", "[Resize]\nSmooth=true\nCustomWidth=12a\n", smoothOnly},
        {"a line that is not INI voids the file", "[Resize]\nSmooth=true\n[Output\n", defaults},
        {"cut inside a line", "[Resize]\nSmooth=true\nNeverEnl", smoothOnly},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(writeBytes(dir.filePath("tessaro.ini"), c.bytes));
        OwnChoices loaded;
        ownchoices::Load(dir.path(), loaded);
        EXPECT_EQ(loaded, c.expected) << c.what;
    }
    QTemporaryDir none;
    OwnChoices loaded;
    EXPECT_FALSE(ownchoices::Load(none.path(), loaded));
    EXPECT_EQ(loaded, defaults);
}

TEST(OwnChoices, AFifoIsNeverReadAndAFolderInTheWayFailsTheSaveCleanly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tessaro.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    OwnChoices loaded;
    EXPECT_FALSE(ownchoices::Load(dir.path(), loaded));  // returns at once, nothing blocks
    EXPECT_EQ(loaded, OwnChoices());
    ASSERT_TRUE(QFile::remove(path));

    ASSERT_TRUE(QDir(dir.path()).mkdir("tessaro.ini"));
    EXPECT_FALSE(ownchoices::Save(dir.path(), everyChoiceChanged()));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

// The record keeps its bytes whatever our own choices do, and the custom size comes back.
TEST(OwnChoices, TheWindowKeepsTheRecordAndRemembersTheCustomSize) {
    QTemporaryDir dir;
    Settings s;
    s.Quality = 75;
    s.SampleH = s.SampleV = 2;
    s.SubSampleIndex = 3;
    s.LockHeight = true;
    s.Comment = "ok";
    ASSERT_TRUE(settingsfile::SaveSettings(dir.path(), s));
    {
        MainWindow w(dir.path());
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.choices().Smooth = true;
        w.customWidth()->setText("1920");
        w.customHeight()->setText("1080");
        w.close();
    }
    const QByteArray record = readBytes(dir.filePath("resizer.cfg"));
    EXPECT_EQ(record.size(), 52);
    MainWindow again(dir.path());
    EXPECT_EQ(again.customWidth()->text(), "1920");
    EXPECT_EQ(again.customHeight()->text(), "1080");
    EXPECT_TRUE(again.choices().Smooth);
    again.close();
    EXPECT_EQ(readBytes(dir.filePath("resizer.cfg")), record);
}
