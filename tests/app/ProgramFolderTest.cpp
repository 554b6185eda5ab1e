#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ProgramFolder.h"

TEST(ProgramFolder, FallsBackToTheUserFolderWhenItCannotWrite) {
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const programfolder::Layout own = programfolder::LayoutFor(dir.path());
    EXPECT_FALSE(own.perUser);
    EXPECT_EQ(own.settingsFile, QDir(dir.path()).filePath("resizer.cfg"));

    // A plain file where a folder should be: nothing can be written below it.
    const QString file = dir.filePath("plain");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(programfolder::IsWritable(file + "/program"));
    const programfolder::Layout user = programfolder::LayoutFor(file + "/program");
    EXPECT_TRUE(user.perUser);
    EXPECT_EQ(user.intermediateBitmap,
              QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
                  .filePath("ResizedOne.bmp"));
    QStandardPaths::setTestModeEnabled(false);
    // The probe leaves nothing behind.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).contains("plain"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
