#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ProgramFolder.h"

TEST(ProgramFolder, FallsBackToTheUserFolderWhenItCannotWrite) {
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    EXPECT_EQ(programfolder::WritableOr(dir.path()), QDir(dir.path()).absolutePath());

    // A plain file where a folder should be: nothing can be written below it.
    const QString file = dir.filePath("plain");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString chosen = programfolder::WritableOr(file + "/program");
    EXPECT_EQ(chosen, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    EXPECT_TRUE(programfolder::IsWritable(chosen));
    // The probe leaves nothing behind.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).contains("plain"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
