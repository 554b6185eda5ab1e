#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "BatchDriver.h"
#include "EventLog.h"
#include "FileBytes.h"
#include "HeadlessRun.h"
#include "PreparedFile.h"
#include "TestPictures.h"

namespace {

// A file's modification time in nanoseconds.
int64_t modified(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
}

void setModified(const QString& path, time_t seconds, long nanoseconds = 0) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

constexpr int64_t kRecent = int64_t{1600000000} * 1000000000;

class MoreChoices : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.Quality = 80;
        settings.SampleH = settings.SampleV = 2;
        oldSink = eventlog::SetSink([this](const QString& line) { logged << line; });
    }
    void TearDown() override { eventlog::SetSink(oldSink); }

    QString picture(const QString& name, int w, int h) {
        const QString path = inputs.filePath(name);
        const QImage image = quadrantPicture(w, h);
        EXPECT_TRUE(name.endsWith(".gif")
                        ? saveAsGif(image, path)
                        : image.save(path, name.endsWith(".jpg") ? "JPG" : "BMP"));
        return path;
    }
    QString damaged(const QString& name) {
        EXPECT_TRUE(writeBytes(inputs.filePath(name), "\xff\xd8\xff not a picture"));
        return inputs.filePath(name);
    }
    BatchReport run(int target, const QStringList& files, int jobs = 1) {
        BatchDriver driver(program.path(), settings, host);
        driver.setChoices(choices);
        driver.setJobs(jobs);
        return driver.Run(static_cast<int16_t>(target), files);
    }
    QString output(const QString& name) const {
        return QDir(program.path()).filePath("Elaborate/" + name);
    }

    QTemporaryDir inputs;
    QTemporaryDir program;
    Settings settings;
    OwnChoices choices;
    BatchHost host;
    QStringList logged;
    eventlog::Sink oldSink;
};

}  // namespace

TEST_F(MoreChoices, NeverEnlargeKeepsASmallerPictureOnEveryTargetAndRule) {
    enum Rule { Free, ByWidth, ByHeight };
    struct Case {
        int target;
        QSize source;
        Rule rule;
        QSize written;
    };
    const Case cases[] = {
        // Smaller both ways than the canvas: kept as it is.
        {0, {300, 200}, Free, {300, 200}},
        {1, {300, 200}, Free, {300, 200}},
        {2, {300, 200}, ByWidth, {300, 200}},
        {3, {300, 200}, ByHeight, {300, 200}},
        {4, {300, 200}, Free, {300, 200}},
        {1, {700, 200}, ByHeight, {700, 200}},
        // Larger on one side: resized as always; a free stretch still enlarges the other side.
        {1, {700, 200}, Free, {640, 480}},
        {0, {200, 300}, Free, {320, 240}},
        {1, {700, 200}, ByWidth, {640, 183}},
        {1, {700, 600}, ByHeight, {560, 480}},
        {0, {320, 240}, Free, {320, 240}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.target << " rule " << c.rule << " source "
                                        << c.source.width() << "x" << c.source.height());
        BatchRules rules;
        rules.targetIndex = static_cast<int16_t>(c.target);
        rules.text1 = "1280";
        rules.text2 = "960";
        rules.settings = settings;
        rules.settings.NameWithSize = true;
        rules.settings.KeepProportions = c.rule != Free;
        rules.settings.LockHeight = c.rule == ByHeight;
        rules.neverEnlarge = true;
        const PreparedFile file =
            PrepareFile(picture("p.bmp", c.source.width(), c.source.height()), rules);
        ASSERT_FALSE(file.error);
        EXPECT_EQ(file.canvas.size(), c.written);
        if (c.written == c.source) {  // the name tells the size written
            EXPECT_TRUE(file.destination.endsWith(
                QString("p_%1x%2.bmp").arg(c.written.width()).arg(c.written.height())));
        }
    }
}

TEST_F(MoreChoices, KeepDateGivesEachOutputItsInputsTimeAndNothingElse) {
    const QStringList files = {picture("a.bmp", 40, 30), picture("b.gif", 40, 30),
                               picture("c.jpg", 40, 30), picture("d.jpg", 40, 30)};
    for (int i = 0; i < files.size(); ++i)
        setModified(files[i], 1000000000 + i * 3600, 123456789);
    // An output that is there already is left as it was, date included.
    QDir().mkpath(output(""));
    QFile(output("d.jpg")).open(QIODevice::WriteOnly);
    setModified(output("d.jpg"), 1500000000);

    choices.KeepDate = true;
    const BatchReport r = run(0, files, 2);
    ASSERT_FALSE(r.failure) << r.failure->text.toStdString();
    EXPECT_EQ(r.written, 3);
    for (const char* name : {"a.bmp", "b.gif", "c.jpg"})
        EXPECT_EQ(modified(output(name)), modified(inputs.filePath(name))) << name;
    EXPECT_EQ(modified(output("d.jpg")), int64_t{1500000000} * 1000000000);
    EXPECT_GT(modified(QDir(program.path()).filePath("ResizedOne.bmp")), kRecent);

    choices.KeepDate = false;
    QFile::remove(output("a.bmp"));
    ASSERT_EQ(run(0, {files[0]}).written, 1);
    EXPECT_GT(modified(output("a.bmp")), kRecent);
}

TEST_F(MoreChoices, KeepGoingWritesEveryOtherFileInDropOrderWithAllCores) {
    const QStringList outputs = {"in0.jpg", "in1.bmp", "",        "in2.gif",
                                 "in3.jpg", "",        "in4.bmp", "in5.gif"};
    QStringList files;
    for (int i = 0; i < outputs.size(); ++i)
        files << (outputs[i].isEmpty() ? "" : picture(outputs[i], 60 + i, 40));
    const QString bad = files[2] = damaged("bad.jpg");
    const QString gone = files[5] = inputs.filePath("gone.bmp");
    choices.KeepGoing = true;
    // When a file's turn is reported its output is there, and no later one yet.
    QStringList orderFaults;
    host.progress = [&](int done, int) {
        for (int i = 0; i < outputs.size(); ++i) {
            if (!outputs[i].isEmpty() && QFileInfo::exists(output(outputs[i])) != (i < done))
                orderFaults << QString("%1 after %2 files").arg(outputs[i]).arg(done);
        }
    };
    for (int jobs : {2, 4}) {
        SCOPED_TRACE(jobs);
        QDir(output("")).removeRecursively();
        logged.clear();
        const BatchReport r = run(1, files, jobs);
        EXPECT_FALSE(r.failure);
        EXPECT_EQ(r.written, 6);
        ASSERT_EQ(r.failures.size(), 2);
        EXPECT_EQ(r.failures[0].file, bad);
        EXPECT_EQ(r.failures[0].number, 481);
        EXPECT_EQ(r.failures[1].file, gone);
        EXPECT_TRUE(orderFaults.isEmpty()) << orderFaults.join("; ").toStdString();
        ASSERT_EQ(logged.filter("Skipped ").size(), 2);
        EXPECT_TRUE(logged.filter("Skipped ")[0].contains("bad.jpg: error 481"));
    }

    // Off: the first error ends the batch as before.
    choices.KeepGoing = false;
    QDir(output("")).removeRecursively();
    host.progress = {};
    const BatchReport stopped = run(1, files, 2);
    ASSERT_TRUE(stopped.failure);
    EXPECT_EQ(stopped.failure->file, bad);
    EXPECT_TRUE(stopped.failures.isEmpty());
    EXPECT_EQ(QDir(output("")).entryList(QDir::Files).size(), 2);
}

TEST_F(MoreChoices, TheCommandGoesOnWhenAskedCountsTheFailuresAndDefaultsToTheSavedChoices) {
    const QString a = picture("a.bmp", 300, 200);
    const QString b = picture("b.bmp", 30, 20);
    const QString bad = damaged("bad.jpg");
    const QStringList base = {"--drop", "0", "--folder", program.path(), "--jobs", "2"};

    HeadlessRun r = headless(
        base + QStringList{"--keep-going", "--never-enlarge", "--name-with-size", a, bad, b});
    EXPECT_EQ(r.status, 1);
    const QString said = r.out + r.err;
    EXPECT_TRUE(said.contains("2 written, 0 unchanged (already there), 1 failed"))
        << said.toStdString();
    EXPECT_EQ(said.count("tessaro: failed " + bad + ": error 481"), 1);
    EXPECT_TRUE(QFileInfo::exists(output("a_300x200.bmp")));
    EXPECT_TRUE(QFileInfo::exists(output("b_30x20.bmp")));

    OwnChoices saved;
    saved.KeepGoing = saved.KeepDate = true;
    ASSERT_TRUE(ownchoices::Save(program.path(), saved));
    QDir(output("")).removeRecursively();
    setModified(b, 1000000000);
    EXPECT_EQ(headless(base + QStringList{bad, b}).status, 1);
    EXPECT_EQ(modified(output("b.bmp")), int64_t{1000000000} * 1000000000);
    QDir(output("")).removeRecursively();
    r = headless(base + QStringList{"--no-keep-going", bad, b});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE((r.out + r.err).contains("stopped at " + bad));
    EXPECT_FALSE(QFileInfo::exists(output("b.bmp")));
    EXPECT_EQ(headless(base + QStringList{"--no-keep-date", b}).status, 0);
    EXPECT_GT(modified(output("b.bmp")), kRecent);
}
