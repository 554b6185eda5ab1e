#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>

#include "BatchDriver.h"
#include "EventLog.h"
#include "HeadlessCommand.h"
#include "OwnChoices.h"
#include "PreparedFile.h"
#include "TestPictures.h"

namespace {

struct timespec modified(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mtim;
}

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

void setModified(const QString& path, time_t seconds, long nanoseconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

QString damagedJpeg(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xd8\xff not a picture");
    return path;
}

class MoreChoices : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.Quality = 80;
        settings.SampleH = 2;
        settings.SampleV = 2;
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
    settings.NameWithSize = true;
    struct Rule {
        bool keep;
        bool lockHeight;
    };
    const Rule free{false, false}, byWidth{true, false}, byHeight{true, true};
    struct Case {
        int target;
        QSize source;
        Rule rule;
        QSize written;
    };
    const Case cases[] = {
        // Smaller both ways than every target: kept as it is, whatever the rule.
        {0, {300, 200}, free, {300, 200}},
        {0, {300, 200}, byWidth, {300, 200}},
        {0, {300, 200}, byHeight, {300, 200}},
        {1, {300, 200}, free, {300, 200}},
        {2, {300, 200}, byWidth, {300, 200}},
        {3, {300, 200}, byHeight, {300, 200}},
        {4, {300, 200}, free, {300, 200}},
        {4, {300, 200}, byWidth, {300, 200}},
        // Larger on one side: resized as always (free stretch enlarges the other side).
        {1, {700, 200}, free, {640, 480}},
        {1, {700, 200}, byWidth, {640, 183}},
        {0, {200, 300}, free, {320, 240}},
        {0, {400, 100}, byWidth, {320, 80}},
        {1, {700, 600}, byHeight, {560, 480}},
        // The proportional canvas is larger both ways only by the locked side's rule.
        {1, {700, 200}, byHeight, {700, 200}},
        {3, {1000, 700}, byHeight, {1000, 700}},
        // The canvas equals the picture: nothing to keep.
        {0, {320, 240}, free, {320, 240}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.target << " source " << c.source.width()
                                        << "x" << c.source.height() << " keep " << c.rule.keep
                                        << " lockHeight " << c.rule.lockHeight);
        const QString path =
            picture(QString("p%1x%2.bmp").arg(c.source.width()).arg(c.source.height()),
                    c.source.width(), c.source.height());
        BatchRules rules;
        rules.targetIndex = static_cast<int16_t>(c.target);
        rules.text1 = "1280";
        rules.text2 = "960";
        rules.settings = settings;
        rules.outputFolder = inputs.filePath("out");
        rules.settings.KeepProportions = c.rule.keep;
        rules.settings.LockHeight = c.rule.lockHeight;
        rules.neverEnlarge = true;
        const PreparedFile file = PrepareFile(path, rules);
        ASSERT_FALSE(file.error);
        EXPECT_EQ(file.canvas.size(), c.written);
        if (c.written == c.source) {
            EXPECT_EQ(file.sizeSuffix,
                      QString("_%1x%2").arg(c.written.width()).arg(c.written.height()));
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
    QFile existing(output("d.jpg"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    setModified(output("d.jpg"), 1500000000, 0);

    choices.KeepDate = true;
    const BatchReport r = run(0, files, 2);
    ASSERT_FALSE(r.failure) << r.failure->text.toStdString();
    EXPECT_EQ(r.written, 3);
    for (const char* name : {"a.bmp", "b.gif", "c.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(sameTime(modified(output(name)), modified(inputs.filePath(name))));
    }
    EXPECT_EQ(modified(output("d.jpg")).tv_sec, 1500000000);
    EXPECT_GT(modified(QDir(program.path()).filePath("ResizedOne.bmp")).tv_sec, 1600000000);

    choices.KeepDate = false;
    QFile::remove(output("a.bmp"));
    ASSERT_EQ(run(0, {files[0]}).written, 1);
    EXPECT_GT(modified(output("a.bmp")).tv_sec, 1600000000);
}

TEST_F(MoreChoices, KeepGoingWritesEveryOtherFileInDropOrderWithAllCores) {
    QStringList files;
    for (int i = 0; i < 6; ++i)
        files << picture(QString("in%1.%2").arg(i).arg(i % 3 == 0   ? "jpg"
                                                       : i % 3 == 1 ? "bmp"
                                                                    : "gif"),
                         60 + i, 40);
    const QString bad = damagedJpeg(inputs.filePath("bad.jpg"));
    const QString gone = inputs.filePath("gone.bmp");
    files.insert(2, bad);
    files.insert(5, gone);
    choices.KeepGoing = true;
    // Each file's output is there when its turn is reported, and no later one yet.
    QStringList orderFaults;
    const QStringList expected = {"in0.jpg", "in1.bmp", "",        "in2.gif",
                                  "in3.jpg", "",        "in4.bmp", "in5.gif"};
    host.progress = [&](int done, int) {
        for (int i = 0; i < expected.size(); ++i) {
            if (expected[i].isEmpty())
                continue;
            if (QFileInfo::exists(output(expected[i])) != (i < done))
                orderFaults << QString("%1 after %2 files").arg(expected[i]).arg(done);
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
        EXPECT_EQ(logged.filter("Skipped ").size(), 2);
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

namespace {

struct Headless {
    int status;
    QString out;
    QString err;
};

Headless headless(const QStringList& args) {
    Headless r{};
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = RunHeadless(args, out, err);
    out.flush();
    err.flush();
    return r;
}

}  // namespace

TEST_F(MoreChoices, TheCommandGoesOnWhenAskedAndCountsTheFailures) {
    const QString a = picture("a.bmp", 300, 200);
    const QString b = picture("b.bmp", 30, 20);
    const QString bad = damagedJpeg(inputs.filePath("bad.jpg"));
    const QStringList base = {"--drop", "0", "--folder", program.path(), "--jobs", "2"};

    const Headless going = headless(
        base + QStringList{"--keep-going", "--never-enlarge", "--name-with-size", a, bad, b});
    EXPECT_EQ(going.status, 1);
    EXPECT_TRUE(going.out.contains("2 written, 0 unchanged (already there), 1 failed"))
        << going.out.toStdString();
    EXPECT_EQ(going.err.count('\n'), 1) << going.err.toStdString();
    EXPECT_TRUE(going.err.contains("failed " + bad + ": error 481"));
    EXPECT_TRUE(QFileInfo::exists(output("a_300x200.bmp")));
    EXPECT_TRUE(QFileInfo::exists(output("b_30x20.bmp")));

    // The saved choices are the defaults, and each flag turns its choice off for one run.
    OwnChoices saved;
    saved.KeepGoing = true;
    saved.KeepDate = true;
    ASSERT_TRUE(ownchoices::Save(program.path(), saved));
    QDir(output("")).removeRecursively();
    setModified(b, 1000000000, 0);
    const Headless savedRun = headless(base + QStringList{bad, b});
    EXPECT_EQ(savedRun.status, 1);
    EXPECT_EQ(modified(output("b.bmp")).tv_sec, 1000000000);
    QDir(output("")).removeRecursively();
    const Headless off = headless(base + QStringList{"--no-keep-going", "--no-keep-date", bad, b});
    EXPECT_EQ(off.status, 1);
    EXPECT_TRUE(off.err.contains("stopped at " + bad));
    EXPECT_FALSE(QFileInfo::exists(output("b.bmp")));
    EXPECT_EQ(headless(base + QStringList{"--no-keep-date", b}).status, 0);
    EXPECT_GT(modified(output("b.bmp")).tv_sec, 1600000000);

    const Headless both = headless(base + QStringList{"--keep-gps", "--no-keep-gps", b});
    EXPECT_EQ(both.status, 2);
    EXPECT_TRUE(both.err.contains("--keep-gps and --no-keep-gps exclude each other"));
}
