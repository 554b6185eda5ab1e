#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <set>
#include <stdexcept>
#include <thread>

#include "BatchDriver.h"
#include "EventLog.h"
#include "OrderedWorkers.h"
#include "TestPictures.h"

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A photo-like picture that differs per seed, so that every output has its own bytes.
QImage photo(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * seed) % 256, (y * 3 + seed) % 256, (x ^ y) % 256));
    return image;
}

class ParallelBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(inputs.isValid());
        settings.Quality = 80;
        settings.SampleH = 2;
        settings.SampleV = 2;
        settings.KeepProportions = true;
        oldSink = eventlog::SetSink([](const QString&) {});
    }
    void TearDown() override { eventlog::SetSink(oldSink); }

    // Eight files of all three formats and several sizes, in a fixed drop order.
    QStringList mixedInputs() {
        QStringList files;
        for (int i = 0; i < 8; ++i) {
            const QImage picture = photo(90 + 37 * i, 70 + 23 * (7 - i), i + 1);
            const char* format = i % 3 == 0 ? "JPG" : i % 3 == 1 ? "BMP" : "GIF";
            const QString path =
                inputs.filePath(QString("in%1.%2").arg(i).arg(QString(format).toLower()));
            EXPECT_TRUE(QByteArray(format) == "GIF" ? saveAsGif(picture, path)
                                                    : picture.save(path, format, 85));
            files << path;
        }
        return files;
    }
    BatchReport run(const QString& folder, int jobs, const QStringList& files, int target = 1,
                    size_t budget = 0) {
        BatchDriver driver(folder, settings, host);
        driver.setJobs(jobs);
        driver.setMemoryBudget(budget);
        return driver.Run(static_cast<int16_t>(target), files);
    }
    static QStringList outputsIn(const QString& folder) {
        return QDir(QDir(folder).filePath("Elaborate")).entryList(QDir::Files, QDir::Name);
    }

    QTemporaryDir inputs;
    Settings settings;
    BatchHost host;
    eventlog::Sink oldSink;
};

}  // namespace

TEST_F(ParallelBatch, OneWorkerAndManyWriteTheSameBytes) {
    const QStringList files = mixedInputs();
    QTemporaryDir one;
    const BatchReport a = run(one.path(), 1, files);
    ASSERT_FALSE(a.failure.has_value()) << a.failure->text.toStdString();
    EXPECT_EQ(a.written, 8);
    ASSERT_EQ(outputsIn(one.path()).size(), 8);
    // Many workers, and many with a memory budget too small for two files at once.
    for (const size_t budget : {size_t{0}, size_t{1}}) {
        SCOPED_TRACE(budget);
        QTemporaryDir many;
        const BatchReport b = run(many.path(), 4, files, 1, budget);
        ASSERT_FALSE(b.failure.has_value()) << b.failure->text.toStdString();
        EXPECT_EQ(b.written, 8);
        ASSERT_EQ(outputsIn(one.path()), outputsIn(many.path()));
        for (const QString& name : outputsIn(one.path())) {
            const QByteArray first = bytesOf(QDir(one.path()).filePath("Elaborate/" + name));
            EXPECT_FALSE(first.isEmpty());
            EXPECT_EQ(first, bytesOf(QDir(many.path()).filePath("Elaborate/" + name)))
                << name.toStdString();
        }
        // The intermediate bitmap holds the last file in drop order in both.
        EXPECT_EQ(bytesOf(QDir(one.path()).filePath("ResizedOne.bmp")),
                  bytesOf(QDir(many.path()).filePath("ResizedOne.bmp")));
    }
}

TEST_F(ParallelBatch, TheFirstErrorStopsTheBatchWithManyWorkers) {
    QStringList files = mixedInputs();
    const QString bad = inputs.filePath("bad.jpg");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xd8\xff not a picture");
    f.close();
    files.insert(3, bad);  // in0 in1 in2 bad in3 ... in7

    QTemporaryDir program;
    // An output of a file before the error that exists already is left as it was.
    QDir().mkpath(QDir(program.path()).filePath("Elaborate"));
    const QString kept = QDir(program.path()).filePath("Elaborate/in0.jpg");
    QFile existing(kept);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("the user's own file");
    existing.close();

    QList<std::pair<int, int>> progress;
    std::set<std::thread::id> hookThreads;
    host.progress = [&](int done, int accepted) {
        progress << std::pair{done, accepted};
        hookThreads.insert(std::this_thread::get_id());
    };
    host.showPreview = [&](int, const QImage&) { hookThreads.insert(std::this_thread::get_id()); };
    const BatchReport r = run(program.path(), 4, files);

    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->file, bad);
    EXPECT_EQ(r.failure->number, 481);
    EXPECT_EQ(r.written, 2);
    EXPECT_EQ(r.unchanged, 1);
    EXPECT_EQ(outputsIn(program.path()), (QStringList{"in0.jpg", "in1.bmp", "in2.gif"}));
    EXPECT_EQ(bytesOf(kept), QByteArray("the user's own file"));
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{0, 9}, {1, 9}, {2, 9}, {3, 9}, {4, 9}}));
    EXPECT_EQ(hookThreads, (std::set<std::thread::id>{std::this_thread::get_id()}));
    // The intermediate bitmap is the last file written before the error.
    EXPECT_EQ(QImageReader(QDir(program.path()).filePath("ResizedOne.bmp")).size(),
              QImageReader(QDir(program.path()).filePath("Elaborate/in2.gif")).size());
}

TEST_F(ParallelBatch, AStopAfterTwoFilesLeavesExactlyTwoWholeOutputs) {
    const QStringList files = mixedInputs();
    QTemporaryDir program;
    int finished = 0;
    host.progress = [&](int done, int) { finished = done; };
    host.stopRequested = [&] { return finished >= 2; };
    const BatchReport r = run(program.path(), 3, files);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.failure.has_value());
    EXPECT_EQ(r.written, 2);
    // Nothing else in the folder: no later output, no temporary file left behind.
    EXPECT_EQ(outputsIn(program.path()), (QStringList{"in0.jpg", "in1.bmp"}));
    EXPECT_FALSE(QImageReader(QDir(program.path()).filePath("Elaborate/in0.jpg")).read().isNull());
}

TEST_F(ParallelBatch, AChoiceChangedDuringTheBatchAppliesToTheFilesAfterIt) {
    QStringList files;
    for (int i = 0; i < 6; ++i) {
        const QString path = inputs.filePath(QString("p%1.jpg").arg(i));
        ASSERT_TRUE(photo(120, 90, i + 2).save(path, "JPG", 90));
        files << path;
    }
    QTemporaryDir program;
    settings.Comment = "prima";
    host.progress = [&](int done, int) {
        if (done == 2)
            settings.Comment = "dopo";  // as the window's quality panel would, between files
    };
    ASSERT_FALSE(run(program.path(), 4, files).failure.has_value());
    for (int i = 0; i < 6; ++i) {
        const QByteArray out =
            bytesOf(QDir(program.path()).filePath(QString("Elaborate/p%1.jpg").arg(i)));
        EXPECT_TRUE(out.contains(i < 2 ? "prima" : "dopo")) << i;
    }
}

TEST(OrderedWorkers, ResultsComeInOrderWithBoundedWorkInFlight) {
    std::atomic<int> inFlight{0};
    std::atomic<int> most{0};
    std::atomic<int> taken{-1};
    std::atomic<bool> aheadOfWindow{false};
    std::atomic<int> furthestAhead{0};
    OrderedWorkers<int> workers(0, 40, 3, [&](int i) {
        // Started tasks never run more than 2 x workers places ahead of the last one taken.
        if (i > taken.load() + 1 + 6)
            aheadOfWindow = true;
        furthestAhead = std::max(furthestAhead.load(), i - taken.load());
        const int now = ++inFlight;
        most = std::max(most.load(), now);
        std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 5 * 300));
        --inFlight;
        if (i == 17)
            throw std::runtime_error("seventeen");
        return i * i;
    });
    EXPECT_EQ(workers.threadCount(), 3);
    for (int i = 0; i < 40; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // a slow taker
        if (i == 17) {
            EXPECT_THROW(workers.take(i), std::runtime_error);
        } else {
            EXPECT_EQ(workers.take(i, [] {}), i * i);
        }
        taken = i;
    }
    EXPECT_LE(most.load(), 3);
    EXPECT_FALSE(aheadOfWindow.load());
    EXPECT_GE(furthestAhead.load(), 5);  // the workers did run ahead, up to the bound
}

// Results made but not taken, and tasks running, stay within the memory budget (each result
// holding 100 bytes), whatever the number of workers; the results are the same.
TEST(OrderedWorkers, AMemoryBudgetBoundsTheResultsInFlight) {
    const struct {
        size_t budget;
        int most;  // results in flight at most
    } cases[] = {{0, 1}, {150, 1}, {250, 2}, {450, 4}, {SIZE_MAX, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.budget);
        OrderedWorkers<std::vector<char>> workers(
            0, 30, 3,
            [](int i) {
                std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 5 * 200));
                return std::vector<char>(100, static_cast<char>(i));
            },
            {c.budget, [](const std::vector<char>& v) { return v.size(); }});
        for (int i = 0; i < 30; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a slow taker
            EXPECT_EQ(workers.take(i), std::vector<char>(100, static_cast<char>(i)));
        }
        EXPECT_LE(workers.mostInFlight(), c.most);
        EXPECT_GE(workers.mostInFlight(), std::min(c.most, 2));
    }
}

TEST(OrderedWorkers, OneWorkerRunsEachTaskOnTheCallersThread) {
    std::set<std::thread::id> threads;
    OrderedWorkers<int> workers(5, 9, 1, [&](int i) {
        threads.insert(std::this_thread::get_id());
        return i;
    });
    EXPECT_EQ(workers.threadCount(), 0);
    for (int i = 5; i < 9; ++i)
        EXPECT_EQ(workers.take(i), i);
    EXPECT_EQ(threads, (std::set<std::thread::id>{std::this_thread::get_id()}));
}

TEST_F(ParallelBatch, ProportionsComeFromTheFullSizeOfAJpegSampledWhileDecoding) {
    // The picture is never held whole; its canvas still follows the full 1001 x 1000.
    const QString path = inputs.filePath("wide.jpg");
    ASSERT_TRUE(photo(1001, 1000, 5).save(path, "JPG", 90));
    settings.NameWithSize = true;
    QTemporaryDir program;
    settings.LockHeight = true;  // W = 1001 / 1000 * 240 = 240.24
    ASSERT_FALSE(run(program.path(), 2, {path}, 0).failure.has_value());
    settings.LockHeight = false;  // H = 1000 / 1001 * 320 = 319.68
    ASSERT_FALSE(run(program.path(), 2, {path}, 0).failure.has_value());
    EXPECT_EQ(outputsIn(program.path()), (QStringList{"wide_240x240.jpg", "wide_320x319.jpg"}));
    EXPECT_EQ(QImageReader(QDir(program.path()).filePath("Elaborate/wide_320x319.jpg")).size(),
              QSize(320, 320));
}
