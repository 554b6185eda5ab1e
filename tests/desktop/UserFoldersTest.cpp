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

// A home folder of our own, so the per-user folders are known and the real ones untouched.
class UserFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        for (const char* name : kVariables)
            saved.append(qgetenv(name));
        qputenv("HOME", home.path().toUtf8());
        for (const char* name : kVariables) {
            if (QByteArray(name) != "HOME")
                qunsetenv(name);
        }
        organisation = QCoreApplication::organizationName();
        application = QCoreApplication::applicationName();
        QCoreApplication::setOrganizationName("Velmora");
        QCoreApplication::setApplicationName("Tessaro");
        // A plain file where the program folder's parent should be: nothing, not even root,
        // can write below it.
        QFile blocker(home.filePath("usr"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        readOnly = home.filePath("usr/bin");
    }
    void TearDown() override {
        for (qsizetype i = 0; i < saved.size(); ++i) {
            if (saved[i].isNull())
                qunsetenv(kVariables[i]);
            else
                qputenv(kVariables[i], saved[i]);
        }
        QCoreApplication::setOrganizationName(organisation);
        QCoreApplication::setApplicationName(application);
    }

    QString inHome(const QString& relative) const { return QDir(home.path()).filePath(relative); }

    static constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                 "TESSARO_PROGRAM_FOLDER"};
    QTemporaryDir home;
    QString readOnly;
    QList<QByteArray> saved;
    QString organisation;
    QString application;
};

QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(20, 120, 220));
    return image;
}

}  // namespace

TEST_F(UserFolders, AReadOnlyProgramFolderSendsEachFileToItsUserFolder) {
    EXPECT_FALSE(programfolder::IsWritable(readOnly));
    const programfolder::Layout layout = programfolder::LayoutFor(readOnly);
    EXPECT_TRUE(layout.perUser);
    EXPECT_EQ(layout.settingsFile, inHome(".config/Velmora/Tessaro/resizer.cfg"));
    EXPECT_EQ(layout.intermediateBitmap, inHome(".local/share/Velmora/Tessaro/ResizedOne.bmp"));
    EXPECT_EQ(layout.outputFolder, inHome("Pictures/Elaborate"));
    // The files' folders are there to be written into; the outputs' folder waits for a batch.
    EXPECT_TRUE(QFileInfo(inHome(".config/Velmora/Tessaro")).isDir());
    EXPECT_TRUE(QFileInfo(inHome(".local/share/Velmora/Tessaro")).isDir());
    EXPECT_FALSE(QFileInfo::exists(inHome("Pictures/Elaborate")));

    // The XDG variables and the user's own Pictures folder are honoured.
    qputenv("XDG_CONFIG_HOME", inHome("cfg").toUtf8());
    qputenv("XDG_DATA_HOME", inHome("data").toUtf8());
    QDir().mkpath(inHome("cfg"));
    QFile dirs(inHome("cfg/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"$HOME/Immagini\"\n");
    dirs.close();
    const programfolder::Layout xdg = programfolder::LayoutFor(readOnly, false);
    EXPECT_EQ(xdg.settingsFile, inHome("cfg/Velmora/Tessaro/resizer.cfg"));
    EXPECT_EQ(xdg.intermediateBitmap, inHome("data/Velmora/Tessaro/ResizedOne.bmp"));
    EXPECT_EQ(xdg.outputFolder, inHome("Immagini/Elaborate"));
}

TEST_F(UserFolders, AWritableProgramFolderKeepsAllThreeFiles) {
    const QString own = inHome("portable");
    EXPECT_TRUE(programfolder::IsWritable(own + "/not/made/yet"));
    EXPECT_FALSE(QFileInfo::exists(own));
    ASSERT_TRUE(QDir().mkpath(own));
    for (const programfolder::Layout& layout :
         {programfolder::LayoutFor(own), programfolder::LayoutFor(own, true)}) {
        EXPECT_FALSE(layout.perUser);
        EXPECT_EQ(layout.settingsFile, own + "/resizer.cfg");
        EXPECT_EQ(layout.intermediateBitmap, own + "/ResizedOne.bmp");
        EXPECT_EQ(layout.outputFolder, own + "/Elaborate");
    }
    // Only the answer decides, so the user folders are not made for a portable program.
    EXPECT_FALSE(QFileInfo::exists(inHome(".config/Velmora")));
    EXPECT_EQ(QDir(own).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{});
}

TEST_F(UserFolders, PermissionBitsAndTheInstallFolderAreAsked) {
    // The package's folder is the system's, even for root, who could write there.
    EXPECT_FALSE(programfolder::IsWritable("/usr/bin"));
    EXPECT_TRUE(programfolder::LayoutFor("/usr/bin").perUser);

    const QString locked = inHome("locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup |
                                                  QFile::ReadOther | QFile::ExeOther));
    const bool writable = programfolder::IsWritable(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (::geteuid() == 0) {
        // Root writes past 0555, so the folder really is writable and keeps its layout.
        EXPECT_TRUE(writable);
    } else {
        EXPECT_FALSE(writable);
    }
    EXPECT_TRUE(QDir(locked).isEmpty());
}

TEST_F(UserFolders, ABatchAndTheSettingsOfAReadOnlyProgramUseTheUserFolders) {
    const QString source = inHome("photo.bmp");
    ASSERT_TRUE(picture(64, 48).save(source, "BMP"));
    Settings settings;
    BatchDriver driver(readOnly, settings);
    const BatchReport report = driver.Run(0, {source});
    ASSERT_FALSE(report.failure) << report.failure->text.toStdString();
    EXPECT_EQ(report.outputFolder, inHome("Pictures/Elaborate"));
    EXPECT_EQ(QImageReader(inHome("Pictures/Elaborate/photo.bmp")).size(), QSize(320, 240));
    EXPECT_EQ(QImageReader(inHome(".local/share/Velmora/Tessaro/ResizedOne.bmp")).size(),
              QSize(320, 240));

    Settings saved;
    saved.Quality = 42;
    saved.Comment = "per utente";
    ASSERT_TRUE(settingsfile::SaveSettings(readOnly, saved));
    EXPECT_TRUE(QFileInfo(inHome(".config/Velmora/Tessaro/resizer.cfg")).isFile());
    Settings loaded;
    ASSERT_TRUE(settingsfile::LoadSettings(readOnly, loaded));
    EXPECT_EQ(loaded.Quality, 42);
    EXPECT_EQ(loaded.Comment, "per utente");
}

TEST_F(UserFolders, TheHeadlessCommandFollowsTheSameLayout) {
    const QString source = inHome("scan.bmp");
    ASSERT_TRUE(picture(40, 30).save(source, "BMP"));
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(RunHeadless({"--drop", "1", "--folder", readOnly, source}, outStream, errStream), 0)
        << err.toStdString();
    outStream.flush();
    EXPECT_TRUE(out.contains(inHome("Pictures/Elaborate"))) << out.toStdString();
    EXPECT_EQ(QImageReader(inHome("Pictures/Elaborate/scan.bmp")).size(), QSize(640, 480));

    // A relative --folder or TESSARO_PROGRAM_FOLDER is taken from the current folder.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    EXPECT_EQ(programfolder::Resolve("rel"), inHome("rel"));
    QDir::setCurrent(current);
    qputenv("TESSARO_PROGRAM_FOLDER", inHome("run").toUtf8());
    EXPECT_EQ(programfolder::Resolve(), inHome("run"));
    EXPECT_EQ(programfolder::Resolve(inHome("other")), inHome("other"));
    EXPECT_TRUE(QFileInfo(inHome("other")).isDir());
    qunsetenv("TESSARO_PROGRAM_FOLDER");
    EXPECT_EQ(programfolder::Resolve(), QCoreApplication::applicationDirPath());
}
