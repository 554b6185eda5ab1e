#include <gtest/gtest.h>

#include <QDir>
#include <QMap>
#include <QTemporaryDir>

#include "DamagedFiles.h"
#include "EventLog.h"
#include "FileBytes.h"
#include "HeadlessRun.h"

namespace {

struct BatchRun : HeadlessRun {
    QByteArray output;  // the one output file; empty when none was written
    QStringList logged;
};

// The headless command on `bytes` saved as photo.jpg, in a program folder of its own.
BatchRun runOn(const QByteArray& bytes) {
    QTemporaryDir dir;
    const QString input = dir.filePath("photo.jpg");
    EXPECT_TRUE(writeBytes(input, bytes));
    const QString folder = dir.filePath("prog");
    BatchRun run;
    const auto oldSink = eventlog::SetSink([&run](const QString& line) { run.logged << line; });
    static_cast<HeadlessRun&>(run) =
        headless({"--drop", "4", "--folder", folder, "--width", "53", "--height", "31", input});
    eventlog::SetSink(oldSink);
    const QStringList written = QDir(folder + "/Elaborate").entryList(QDir::Files);
    if (!written.isEmpty())
        run.output = readBytes(folder + "/Elaborate/" + written.front());
    return run;
}

}  // namespace

// A file whose picture is whole is written as its clean twin is, with a warning naming the
// file and the oddity on the command line and in the event log; a damaged one is refused
// and nothing is written.
TEST(DamagedBatch, OddButWholeFilesAreWrittenAndDamagedOnesRefused) {
    const QByteArray clean = damaged::qtJpeg(damaged::picture(96, 64));
    const BatchRun reference = runOn(clean);
    ASSERT_EQ(reference.status, 0) << reference.err.toStdString();
    ASSERT_FALSE(reference.output.isEmpty());
    EXPECT_FALSE(reference.err.contains("warning"));

    QMap<QString, QString> said;
    for (const auto& c : damaged::harmlessJpegs(clean)) {
        const BatchRun run = runOn(c.bytes);
        EXPECT_EQ(run.status, 0) << c.name << ": " << run.err.toStdString();
        EXPECT_EQ(run.output, reference.output) << c.name;
        // Every warning names the file and has its line in the event log.
        const int warnings = static_cast<int>(run.err.count("tessaro: warning: "));
        EXPECT_EQ(warnings, run.err.count("photo.jpg: ")) << c.name;
        EXPECT_EQ(warnings, run.logged.size()) << c.name;
        said[c.name] = run.err;
    }
    EXPECT_TRUE(said["stray bytes before DQT"].contains(
        "photo.jpg: Corrupt JPEG data: 5 extraneous bytes before marker 0xdb"));
    EXPECT_TRUE(said["no end marker"].contains("photo.jpg: no end marker"));

    for (const auto& c : damaged::damagedJpegs()) {
        const BatchRun run = runOn(c.bytes);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_TRUE(run.err.contains("error 481")) << c.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.output.isEmpty()) << c.name;
    }
}
