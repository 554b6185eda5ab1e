#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include "HeadlessCommand.h"

namespace {

QImage photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 5) % 256, (y * 3) % 256, (x ^ y) % 256));
    return image;
}

// Many names for one photo, numbered so that the drop order is also the name order.
QStringList manyLinks(const QTemporaryDir& dir, int count) {
    const QString photoPath = dir.filePath("photo.jpg");
    EXPECT_TRUE(photo(1600, 1200).save(photoPath, "JPG", 90));
    QStringList links;
    for (int i = 0; i < count; ++i) {
        const QString link = dir.filePath(QString("f%1.jpg").arg(i, 4, 10, QChar('0')));
        EXPECT_TRUE(QFile::link(photoPath, link));
        links << link;
    }
    return links;
}

struct Stopped {
    int exitCode = -1;
    QString err;
    QStringList outputs;
};

// Runs the program on `files` and sends it `signal` once its first output is there.
Stopped stopWith(int signal, const QStringList& files, const QString& folder) {
    QProcess tessaro;
    tessaro.start(TESSARO_BINARY,
                  QStringList{"--drop", "1", "--folder", folder, "--jobs", "2"} + files);
    EXPECT_TRUE(tessaro.waitForStarted());
    const QDir outputs(QDir(folder).filePath("Elaborate"));
    QElapsedTimer clock;
    clock.start();
    while (outputs.entryList({"*.jpg"}, QDir::Files).isEmpty() && clock.elapsed() < 60000 &&
           tessaro.state() == QProcess::Running)
        QThread::msleep(2);
    ::kill(static_cast<pid_t>(tessaro.processId()), signal);
    EXPECT_TRUE(tessaro.waitForFinished(120000));
    Stopped s;
    s.exitCode = tessaro.exitStatus() == QProcess::NormalExit ? tessaro.exitCode() : -1;
    s.err = QString::fromLocal8Bit(tessaro.readAllStandardError());
    s.outputs = outputs.entryList(QDir::Files, QDir::Name);
    return s;
}

}  // namespace

TEST(HeadlessStop, ASignalStopsAfterTheFileInHandWithNothingHalfWritten) {
    QTemporaryDir inputs;
    const QStringList files = manyLinks(inputs, 300);
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        QTemporaryDir program;
        const Stopped s = stopWith(signal, files, program.path());
        EXPECT_EQ(s.exitCode, status) << s.err.toStdString();
        EXPECT_TRUE(s.err.contains("stopped by")) << s.err.toStdString();
        // The outputs are the first files in drop order, every one whole; no temporary file.
        ASSERT_GE(s.outputs.size(), 1);
        EXPECT_LT(s.outputs.size(), files.size());
        for (int i = 0; i < s.outputs.size(); ++i) {
            EXPECT_EQ(s.outputs[i], QString("f%1.jpg").arg(i, 4, 10, QChar('0')));
            QImageReader reader(QDir(program.path()).filePath("Elaborate/" + s.outputs[i]));
            EXPECT_EQ(reader.read().size(), QSize(640, 480)) << s.outputs[i].toStdString();
        }
        EXPECT_TRUE(s.err.contains(QString("after %1 of 300").arg(s.outputs.size())))
            << s.err.toStdString();
    }
}

TEST(HeadlessStop, ProgressGoesToATerminalOnlyAndJobsAreCounted) {
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 3; ++i) {
        files << dir.filePath(QString("p%1.bmp").arg(i));
        ASSERT_TRUE(photo(40, 30).save(files.last(), "BMP"));
    }
    for (bool terminal : {true, false}) {
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        const int status = RunHeadless(
            QStringList{"--drop", "0", "--folder", dir.filePath("prog"), "--jobs", "3"} + files, o,
            e, terminal);
        e.flush();
        EXPECT_EQ(status, 0);
        EXPECT_EQ(err.contains("\rtessaro: 3 of 3 files\n"), terminal) << err.toStdString();
        EXPECT_EQ(err.isEmpty(), !terminal);
    }
    for (const char* bad : {"0", "x", "1000"}) {
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        EXPECT_EQ(RunHeadless({"--drop", "0", "--jobs", bad, files[0]}, o, e), 2) << bad;
        e.flush();
        EXPECT_TRUE(err.contains("--jobs")) << err.toStdString();
    }
}
