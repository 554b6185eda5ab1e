#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "EventLog.h"
#include "QualityChoices.h"
#include "Settings.h"
#include "SettingsFile.h"

namespace {

Settings sample() {
    Settings s;
    s.FormLeft = 1500;
    s.FormTop = -30;
    s.Quality = 75;
    s.SampleH = 2;
    s.SampleV = 2;
    s.SubSampleIndex = 3;
    s.KeepProportions = true;
    s.LockHeight = true;
    return s;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(SettingsRecord, LayoutIsFiftyBytesPlusTheComment) {
    Settings s = sample();
    const QByteArray empty = settingsrecord::encode(s);
    ASSERT_EQ(empty.size(), 50);
    EXPECT_EQ(empty.mid(0, 4), QByteArray::fromHex("dc050000"));  // 1500
    EXPECT_EQ(empty.mid(4, 4), QByteArray::fromHex("e2ffffff"));  // -30
    EXPECT_EQ(empty.mid(16, 4), QByteArray::fromHex("4b000000"));
    EXPECT_EQ(empty.mid(36, 14), QByteArray::fromHex("00000000ffffffff000000000000"));

    s.Comment = "Buone ferie";
    s.Comment += QString::fromUtf8("è");  // 12 characters, one byte each in the code page
    const QByteArray with = settingsrecord::encode(s);
    ASSERT_EQ(with.size(), 62);
    EXPECT_EQ(with.mid(48, 2), QByteArray::fromHex("0c00"));
    EXPECT_EQ(static_cast<unsigned char>(with.at(61)), 0xE8);

    Settings back;
    settingsrecord::decode(with, back);
    EXPECT_EQ(back, s);
}

TEST(SettingsRecord, ReservedFieldsSurviveARoundTrip) {
    QByteArray bytes = settingsrecord::encode(sample());
    bytes.replace(8, 4, QByteArray::fromHex("01020304"));
    bytes.replace(12, 4, QByteArray::fromHex("a0b0c0d0"));
    bytes.replace(20, 4, QByteArray::fromHex("ffeeddcc"));
    Settings s;
    settingsrecord::decode(bytes, s);
    EXPECT_EQ(settingsrecord::encode(s), bytes);
}

TEST(SettingsRecord, ShortOrInconsistentInputKeepsWhatItCannotRead) {
    const QByteArray full = settingsrecord::encode(sample());
    Settings defaults;
    defaults.Quality = 42;
    defaults.StayOnTop = true;
    defaults.Comment = "keep";

    Settings s = defaults;
    settingsrecord::decode(full.left(18), s);  // cut inside Quality
    EXPECT_EQ(s.FormLeft, 1500);
    EXPECT_EQ(s.FormTop, -30);
    EXPECT_EQ(s.Quality, 42);
    EXPECT_TRUE(s.StayOnTop);
    EXPECT_EQ(s.Comment, "keep");

    QByteArray longer = full;
    longer.replace(48, 2, QByteArray::fromHex("6400"));  // claims 100 characters
    longer.append("abc");
    s = defaults;
    settingsrecord::decode(longer, s);
    EXPECT_EQ(s.Comment, "abc");

    longer.replace(48, 2, QByteArray::fromHex("ffff"));  // negative length
    settingsrecord::decode(longer, s);
    EXPECT_EQ(s.Comment, "");

    s = defaults;
    settingsrecord::decode(QByteArray(), s);
    EXPECT_EQ(s, defaults);
}

// Every cut of the record keeps the whole fields before the cut and leaves every field from
// the cut on as it was: no field may take the leftover bytes of another.
TEST(SettingsRecord, EveryCutLengthKeepsTheDefaultsOfTheFieldsItCuts) {
    Settings full;
    full.FormLeft = 0x01020304;
    full.FormTop = 0x05060708;
    full.Reserved1 = 0x11121314;
    full.Reserved2 = 0x15161718;
    full.Quality = 0x21222324;
    full.Reserved3 = 0x25262728;
    full.SampleH = 0x31323334;
    full.SampleV = 0x35363738;
    full.SubSampleIndex = 0x41424344;
    full.GreyscaleOn = full.NameWithSize = full.KeepProportions = true;
    full.LockHeight = full.LockWidth = full.StayOnTop = true;
    full.Comment = "x";
    const QByteArray bytes = settingsrecord::encode(full);
    const Settings defaults = sample();

    for (int cut = 0; cut <= 50; ++cut) {
        SCOPED_TRACE(cut);
        Settings s = defaults;
        settingsrecord::decode(bytes.left(cut), s);
        auto expect32 = [&](int offset, int32_t got, int32_t whole, int32_t def) {
            EXPECT_EQ(got, cut >= offset + 4 ? whole : def) << "field at " << offset;
        };
        auto expectBool = [&](int offset, bool got, bool whole, bool def) {
            EXPECT_EQ(got, cut >= offset + 2 ? whole : def) << "field at " << offset;
        };
        expect32(0, s.FormLeft, full.FormLeft, defaults.FormLeft);
        expect32(4, s.FormTop, full.FormTop, defaults.FormTop);
        expect32(8, s.Reserved1, full.Reserved1, defaults.Reserved1);
        expect32(12, s.Reserved2, full.Reserved2, defaults.Reserved2);
        expect32(16, s.Quality, full.Quality, defaults.Quality);
        expect32(20, s.Reserved3, full.Reserved3, defaults.Reserved3);
        expect32(24, s.SampleH, full.SampleH, defaults.SampleH);
        expect32(28, s.SampleV, full.SampleV, defaults.SampleV);
        expect32(32, s.SubSampleIndex, full.SubSampleIndex, defaults.SubSampleIndex);
        expectBool(36, s.GreyscaleOn, true, defaults.GreyscaleOn);
        expectBool(38, s.NameWithSize, true, defaults.NameWithSize);
        expectBool(40, s.KeepProportions, true, defaults.KeepProportions);
        expectBool(42, s.LockHeight, true, defaults.LockHeight);
        expectBool(44, s.LockWidth, true, defaults.LockWidth);
        expectBool(46, s.StayOnTop, true, defaults.StayOnTop);
        EXPECT_EQ(s.Comment, defaults.Comment);
    }
}

TEST(SettingsRecord, CommentTooLongForTheLengthFieldIsCut) {
    Settings s;
    s.Comment = QString(40000, 'a');
    const QByteArray bytes = settingsrecord::encode(s);
    EXPECT_EQ(bytes.size(), 50 + 32767);
    Settings back;
    settingsrecord::decode(bytes, back);
    EXPECT_EQ(back.Comment.size(), 32767);
}

TEST(SettingsFile, SavesAndLoadsThroughTheFolder) {
    QTemporaryDir dir;
    Settings s = sample();
    s.Comment = QString::fromUtf8("Più luce");
    ASSERT_TRUE(settingsfile::SaveSettings(dir.path(), s));
    EXPECT_EQ(readAll(dir.filePath("resizer.cfg")).size(), 50 + 8);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"resizer.cfg"});

    Settings back;
    ASSERT_TRUE(settingsfile::LoadSettings(dir.path(), back));
    EXPECT_EQ(back, s);
}

TEST(SettingsFile, MissingGarbageAndUnwritableNeverStopTheProgram) {
    QTemporaryDir dir;
    Settings s;
    EXPECT_FALSE(settingsfile::LoadSettings(dir.path(), s));
    EXPECT_EQ(s, Settings());

    writeAll(dir.filePath("resizer.cfg"), QByteArray(7, '\xff'));
    Settings garbage = sample();
    settingsfile::LoadSettings(dir.path(), garbage);
    EXPECT_EQ(garbage.FormLeft, -1);  // the four bytes present
    EXPECT_EQ(garbage.Quality, 75);   // the rest as it was

    // A folder that does not exist: saving fails and reports it.
    EXPECT_FALSE(settingsfile::SaveSettings(dir.filePath("missing/folder"), sample()));

    // A directory in the file's place cannot be replaced; nothing is lost or half-written.
    QTemporaryDir other;
    QDir(other.path()).mkdir("resizer.cfg");
    EXPECT_FALSE(settingsfile::SaveSettings(other.path(), sample()));
    EXPECT_TRUE(QFileInfo(other.filePath("resizer.cfg")).isDir());
}

TEST(SettingsFile, AFifoIsRefusedAndAFailedSaveIsReported) {
    QStringList logged;
    const auto oldSink = eventlog::SetSink([&](const QString& line) { logged << line; });
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("resizer.cfg"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    Settings s = sample();
    EXPECT_FALSE(settingsfile::LoadSettings(dir.path(), s));  // returns at once, never waits
    EXPECT_EQ(s, sample());
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains("not a regular file"));

    // Nor is it replaced by a plain file when the settings are saved.
    logged.clear();
    EXPECT_FALSE(settingsfile::SaveSettings(dir.path(), sample()));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains("a FIFO, not a regular file")) << logged[0].toStdString();
    struct stat info {};
    ASSERT_EQ(lstat(fifo.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    logged.clear();
    EXPECT_FALSE(settingsfile::SaveSettings(dir.filePath("missing"), sample()));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains("the settings were not saved"));
    eventlog::SetSink(oldSink);
}

TEST(QualityChoices, StartupFillsTheDefaultsOfAFreshRecord) {
    Settings s;
    qualitychoices::ApplyStartupDefaults(s);
    EXPECT_EQ(s.Quality, 75);
    EXPECT_EQ(s.SampleH, 2);
    EXPECT_EQ(s.SampleV, 2);
    EXPECT_EQ(s.SubSampleIndex, 3);
    EXPECT_TRUE(s.LockHeight);
    EXPECT_FALSE(s.LockWidth);
    EXPECT_FALSE(s.GreyscaleOn);

    Settings grey;
    grey.GreyscaleOn = true;
    grey.LockWidth = true;
    qualitychoices::ApplyStartupDefaults(grey);
    EXPECT_EQ(grey.SampleH, 1);
    EXPECT_TRUE(grey.GreyscaleOn);
    EXPECT_TRUE(grey.LockWidth);
    EXPECT_FALSE(grey.LockHeight);
}

TEST(QualityChoices, StartupReplacesSamplingFactorsNoEncoderTakesAndSaysSo) {
    QStringList logged;
    const auto oldSink = eventlog::SetSink([&](const QString& line) { logged << line; });
    Settings cut = sample();
    cut.SampleV = 0;  // what a record cut inside SampleV used to leave
    cut.Quality = 60;
    qualitychoices::ApplyStartupDefaults(cut);
    EXPECT_EQ(cut.SampleH, 2);
    EXPECT_EQ(cut.SampleV, 2);
    EXPECT_EQ(cut.SubSampleIndex, 3);
    EXPECT_EQ(cut.Quality, 60);
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains("resizer.cfg"));

    Settings grey = sample();
    grey.SampleH = 9;
    grey.GreyscaleOn = true;
    qualitychoices::ApplyStartupDefaults(grey);
    EXPECT_EQ(grey.SampleH, 1);
    EXPECT_EQ(grey.SampleV, 1);
    EXPECT_TRUE(grey.GreyscaleOn);

    Settings good = sample();
    good.SampleH = 4;
    good.SampleV = 1;
    logged.clear();
    qualitychoices::ApplyStartupDefaults(good);
    EXPECT_EQ(good.SampleH, 4);
    EXPECT_EQ(good.SampleV, 1);
    EXPECT_TRUE(logged.isEmpty());
    eventlog::SetSink(oldSink);
}

TEST(QualityChoices, EntriesGiveTheirFactorsAndLabelsFlagExtremes) {
    Settings s;
    qualitychoices::ApplySubSample(s, 12, false);  // "4:2"
    EXPECT_EQ(s.SampleH, 4);
    EXPECT_EQ(s.SampleV, 2);
    EXPECT_EQ(s.SubSampleIndex, 12);
    qualitychoices::ApplySubSample(s, 12, true);
    EXPECT_EQ(s.SampleH, 1);
    EXPECT_TRUE(s.GreyscaleOn);
    EXPECT_EQ(qualitychoices::QualityLabel(49), QString::fromUtf8("Qualità: 49 ???"));
    EXPECT_EQ(qualitychoices::QualityLabel(50), QString::fromUtf8("Qualità: 50"));
    EXPECT_EQ(qualitychoices::QualityLabel(95), QString::fromUtf8("Qualità: 95"));
    EXPECT_EQ(qualitychoices::QualityLabel(96), QString::fromUtf8("Qualità: 96 ???"));
}
