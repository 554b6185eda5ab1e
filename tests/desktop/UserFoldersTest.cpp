#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>

#include "BatchDriver.h"
#include "HeadlessCommand.h"
#include "ProgramFolder.h"
#include "Settings.h"
#include "SettingsFile.h"

namespace {

// A home folder of its own for each test (this program's tests never need the real one), so
// the per-user folders are known and the user's own are untouched.
class UserFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("HOME", home.path().toUtf8());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "TESSARO_PROGRAM_FOLDER"})
            qunsetenv(name);
        QCoreApplication::setOrganizationName("Velmora");
        QCoreApplication::setApplicationName("Tessaro");
        // A plain file where the program folder's parent should be: nothing, not even root,
        // can write below it.
        QFile blocker(inHome("usr"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    QString inHome(const QString& relative) const { return QDir(home.path()).filePath(relative); }

    QTemporaryDir home;
    const QString readOnly = inHome("usr/bin");
};

}  // namespace

TEST_F(UserFolders, AReadOnlyProgramFolderSendsEachFileToItsUserFolder) {
    EXPECT_FALSE(programfolder::IsWritable(readOnly));
    const programfolder::Layout layout = programfolder::LayoutFor(readOnly);
    EXPECT_TRUE(layout.perUser);
    EXPECT_EQ(layout.settingsFile, inHome(".config/Velmora/Tessaro/resizer.cfg"));
    EXPECT_EQ(layout.intermediateBitmap, inHome(".local/share/Velmora/Tessaro/ResizedOne.bmp"));
    EXPECT_EQ(layout.outputFolder, inHome("Pictures/Elaborate"));
    // The files' folders are ready to be written into; the outputs' folder waits for a batch.
    EXPECT_TRUE(QFileInfo(inHome(".config/Velmora/Tessaro")).isDir());
    EXPECT_TRUE(QFileInfo(inHome(".local/share/Velmora/Tessaro")).isDir());
    EXPECT_FALSE(QFileInfo::exists(inHome("Pictures/Elaborate")));

    // The user's own Pictures folder, wherever it is.
    QFile dirs(inHome(".config/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"$HOME/Immagini\"\n");
    dirs.close();
    EXPECT_EQ(programfolder::LayoutFor(readOnly, false).outputFolder, inHome("Immagini/Elaborate"));
}

TEST_F(UserFolders, AWritableProgramFolderKeepsAllThreeFiles) {
    const QString own = inHome("portable");
    EXPECT_TRUE(programfolder::IsWritable(own + "/not/made/yet"));
    EXPECT_FALSE(QFileInfo::exists(own));
    ASSERT_TRUE(QDir().mkpath(own));
    const programfolder::Layout layout = programfolder::LayoutFor(own);
    EXPECT_FALSE(layout.perUser);
    EXPECT_EQ(layout.settingsFile, own + "/resizer.cfg");
    EXPECT_EQ(layout.intermediateBitmap, own + "/ResizedOne.bmp");
    EXPECT_EQ(layout.outputFolder, own + "/Elaborate");
    // The probe leaves nothing behind, and no user folder is made for a portable program.
    EXPECT_TRUE(QDir(own).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_FALSE(QFileInfo::exists(inHome(".config/Velmora")));

    // A --folder or TESSARO_PROGRAM_FOLDER is made absolute and created.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    EXPECT_EQ(programfolder::Resolve("rel"), inHome("rel"));
    QDir::setCurrent(current);
    EXPECT_TRUE(QFileInfo(inHome("rel")).isDir());
    qputenv("TESSARO_PROGRAM_FOLDER", inHome("run").toUtf8());
    EXPECT_EQ(programfolder::Resolve(), inHome("run"));
    EXPECT_EQ(programfolder::Resolve(inHome("other")), inHome("other"));
    qunsetenv("TESSARO_PROGRAM_FOLDER");
    EXPECT_EQ(programfolder::Resolve(), QCoreApplication::applicationDirPath());
}

TEST_F(UserFolders, PermissionBitsAndTheInstallFolderAreAsked) {
    // The package's folder is the system's, even for root, who could write there.
    EXPECT_FALSE(programfolder::IsWritable("/usr/bin"));
    EXPECT_TRUE(programfolder::LayoutFor("/usr/bin").perUser);
    // So is an install under any other prefix, known by the desktop entry beside it.
    ASSERT_TRUE(QDir().mkpath(inHome(".local/bin")));
    EXPECT_TRUE(programfolder::IsWritable(inHome(".local/bin")));
    ASSERT_TRUE(QDir().mkpath(inHome(".local/share/applications")));
    ASSERT_TRUE(
        QFile(inHome(".local/share/applications/tessaro.desktop")).open(QIODevice::WriteOnly));
    EXPECT_FALSE(programfolder::IsWritable(inHome(".local/bin")));
    EXPECT_TRUE(programfolder::IsWritable(inHome(".local/share")));

    const QString locked = inHome("locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = programfolder::IsWritable(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Root writes past 0555, so for root the folder really is writable and keeps its layout.
    EXPECT_EQ(writable, ::geteuid() == 0);
    EXPECT_TRUE(QDir(locked).isEmpty());
}

TEST_F(UserFolders, BatchesAndSettingsOfAReadOnlyProgramUseTheUserFolders) {
    const QString source = inHome("photo.bmp");
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(20, 120, 220));
    ASSERT_TRUE(image.save(source, "BMP"));
    Settings settings;
    const BatchReport report = BatchDriver(readOnly, settings).Run(0, {source});
    ASSERT_FALSE(report.failure) << report.failure->text.toStdString();
    EXPECT_EQ(report.outputFolder, inHome("Pictures/Elaborate"));
    EXPECT_EQ(QImageReader(inHome("Pictures/Elaborate/photo.bmp")).size(), QSize(320, 240));
    EXPECT_EQ(QImageReader(inHome(".local/share/Velmora/Tessaro/ResizedOne.bmp")).size(),
              QSize(320, 240));

    settings.Quality = 42;
    ASSERT_TRUE(settingsfile::SaveSettings(readOnly, settings));
    EXPECT_TRUE(QFileInfo(inHome(".config/Velmora/Tessaro/resizer.cfg")).isFile());
    Settings loaded;
    ASSERT_TRUE(settingsfile::LoadSettings(readOnly, loaded));
    EXPECT_EQ(loaded.Quality, 42);

    // The headless command's --folder is a program folder like any other.
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(RunHeadless({"--drop", "1", "--folder", readOnly, source}, outStream, errStream), 0)
        << err.toStdString();
    EXPECT_EQ(QImageReader(inHome("Pictures/Elaborate/photo.bmp")).size(), QSize(640, 480));
}
