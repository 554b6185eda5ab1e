#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "BitmapFile.h"
#include "FileSizeLimit.h"
#include "GifConvert.h"
#include "GifTestSupport.h"
#include "RuntimeError.h"

namespace {

// The text of the error `write` raises while no file may grow beyond 4 KiB.
std::string failureText(const std::function<void()>& write) {
    FileSizeLimit limit(4096);
    try {
        write();
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), tessaro::err::kFileAccess) << e.text();
        return e.text();
    }
    ADD_FAILURE() << "a write that could not finish was reported as done";
    return {};
}

// A disk that fills up while a bitmap or GIF is written is named as such, with the file it
// stopped, and leaves the folder as it was: the file before it, and no part file.
TEST(WriteFailure, AFileThatCannotGrowSaysWhyAndNamesTheFile) {
    QTemporaryDir dir;
    const QImage picture = scatteredColours(120, 120, 5000, 3);
    const QString bmp = dir.filePath("ResizedOne.bmp");
    bitmapfile::SavePicture(picture.copy(0, 0, 4, 4), bmp);
    const QString gif = dir.filePath("out.gif");

    const std::string bmpText = failureText([&] { bitmapfile::SavePicture(picture, bmp); });
    const std::string gifText =
        failureText([&] { GifConvert::convertPicture(picture, "in.gif", gif); });
    for (const auto& [text, path] : {std::pair{bmpText, bmp}, std::pair{gifText, gif}}) {
        EXPECT_EQ(text.rfind("Path/File access error: " + path.toStdString(), 0), 0u) << text;
        EXPECT_NE(text.find("File too large"), std::string::npos) << text;
    }
    EXPECT_EQ(QImage(bmp).size(), QSize(4, 4));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"ResizedOne.bmp"});
}

}  // namespace
