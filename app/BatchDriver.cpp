#include "BatchDriver.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <memory>

#include "BatchMemory.h"
#include "BitmapFile.h"
#include "EventLog.h"
#include "FileDate.h"
#include "FileName.h"
#include "GifConvert.h"
#include "JpegOutput.h"
#include "OrderedWorkers.h"
#include "PreparedFile.h"
#include "ProgramFolder.h"
#include "RuntimeError.h"

BatchDriver::BatchDriver(QString programFolder, const Settings& settings, BatchHost host)
    : programFolder_(std::move(programFolder)), settings_(settings), host_(std::move(host)) {}

void BatchDriver::setCustomSize(const QString& text1, const QString& text2) {
    text1_ = text1;
    text2_ = text2;
}

void BatchDriver::setJobs(int jobs) {
    jobs_ = std::max(0, jobs);
}

void BatchDriver::setChoices(const OwnChoices& choices) {
    choices_ = choices;
}

bool BatchDriver::IsAccepted(const QString& path) {
    const QString ending = path.toLower().right(4);
    return ending == ".bmp" || ending == ".gif" || ending == ".jpg";
}

QString BatchDriver::OutputFolder() const {
    return programfolder::LayoutFor(programFolder_).outputFolder;
}

QString BatchDriver::IntermediatePath() const {
    return programfolder::LayoutFor(programFolder_).intermediateBitmap;
}

void BatchDriver::keepDate(const QString& source, const QString& output) const {
    if (choices_.KeepDate)
        tessaro::files::CopyModificationTime(QFile::encodeName(source).toStdString(),
                                             QFile::encodeName(output).toStdString());
}

void BatchDriver::processEvents() const {
    if (host_.processEvents)
        host_.processEvents();
}

int BatchDriver::workerCount() const {
    return jobs_ > 0 ? jobs_ : std::max(1, QThread::idealThreadCount());
}

BatchReport BatchDriver::Run(int16_t targetIndex, const QStringList& dropped) {
    BatchReport report;
    // Found once: telling whether the program folder is writable takes a probe file.
    const programfolder::Layout layout = programfolder::LayoutFor(programFolder_);
    report.outputFolder = layout.outputFolder;
    filename::MakePath(report.outputFolder);  // usually there already; a failure shows on writing

    List1.clear();
    TargetIndex = targetIndex;
    for (const QString& path : dropped) {
        if (IsAccepted(path)) {
            List1.append(path);
        } else {
            ++report.skipped;
        }
    }
    report.accepted = List1;
    processEvents();
    if (host_.setBusy)
        host_.setBusy(true);

    const BatchMemory memory;
    const QStringList files = List1;
    const int count = static_cast<int>(files.size());
    if (host_.progress)
        host_.progress(0, count);

    // The rules are copied for the workers; when the window changes a choice during the
    // batch, the files not yet written are prepared again with the new one.
    BatchRules rules;
    const QSize preview =
        host_.showPreview && host_.previewSize ? host_.previewSize(TargetIndex) : QSize();
    std::unique_ptr<OrderedWorkers<PreparedFile>> workers;
    const auto startWorkers = [&](int first) {
        workers.reset();
        rules = BatchRules{};
        rules.targetIndex = TargetIndex;
        rules.text1 = text1_;
        rules.text2 = text2_;
        rules.settings = settings_;
        rules.outputFolder = report.outputFolder;
        rules.previewSize = preview;
        rules.neverEnlarge = choices_.NeverEnlarge;
        rules.keepMetadata = choices_.KeepMetadata;
        rules.keepGps = choices_.KeepGps;
        rules.smooth = choices_.Smooth;
        workers = std::make_unique<OrderedWorkers<PreparedFile>>(
            first, count, workerCount(),
            [&files, rules](int i) { return PrepareFile(files.at(i), rules); },
            OrderedWorkers<PreparedFile>::Budget{
                memoryBudget_ > 0 ? memoryBudget_ : BatchMemory::DefaultBudget(),
                &BatchMemory::HeldBytes});
    };
    const std::function<void()> waiting = [this] { processEvents(); };

    for (int j = 0; j < count; ++j) {
        const QString& path = files.at(j);
        if (host_.stopRequested && host_.stopRequested()) {
            report.cancelled = true;
            break;
        }
        std::optional<BatchFailure> failure;
        try {
            processEvents();
            if (!workers || !SameOutputChoices(rules.settings, settings_))
                startWorkers(j);
            PreparedFile file = workers->take(j, waiting);
            while (!SameOutputChoices(rules.settings, settings_)) {
                startWorkers(j);
                file = workers->take(j, waiting);
            }
            if (commit(file, layout.intermediateBitmap)) {
                keepDate(path, file.destination);
                ++report.written;
            } else {
                ++report.unchanged;
            }
            noteOddities(path, file.notes);
        } catch (const tessaro::RuntimeError& e) {
            failure = BatchFailure{path, e.number(), filename::FromErrorText(e.text())};
        } catch (const std::bad_alloc&) {
            failure = BatchFailure{path, tessaro::err::kOutOfMemory, "Out of memory"};
        } catch (const std::exception& e) {
            failure = BatchFailure{path, tessaro::err::kInvalidCall, e.what()};
        }
        if (failure && choices_.KeepGoing) {
            report.failures.append(*failure);
            eventlog::Error(QString("Skipped %1: error %2: %3")
                                .arg(path)
                                .arg(failure->number)
                                .arg(failure->text));
            failure.reset();
        }
        report.failure = failure;
        if (host_.progress)
            host_.progress(j + 1, count);
        if (report.failure) {
            eventlog::Error(QString("Batch stopped at %1: error %2: %3")
                                .arg(path)
                                .arg(report.failure->number)
                                .arg(report.failure->text));
            break;
        }
    }
    workers.reset();  // files prepared beyond a stop or failure are dropped unwritten

    if (host_.setBusy)
        host_.setBusy(false);
    return report;
}

void BatchDriver::noteOddities(const QString& path, const QStringList& notes) const {
    for (const QString& note : notes) {
        eventlog::Warning(QString("Taken despite: %1: %2").arg(path, note));
        if (host_.fileNote)
            host_.fileNote(path, note);
    }
}

bool BatchDriver::commit(const PreparedFile& file, const QString& intermediatePath) {
    if (file.canvas.isNull())
        std::rethrow_exception(file.error);
    SizeSuffix = file.sizeSuffix;
    if (host_.showPreview)
        host_.showPreview(TargetIndex, file.preview);
    // Rewritten for every file and read by nothing after a crash: not waited for on the disk.
    bitmapfile::SaveScratchPicture(file.canvas, intermediatePath);
    if (file.error)
        std::rethrow_exception(file.error);
    switch (file.format) {
        case PreparedFile::Format::Gif:
            // From this run's own canvas: another run may replace "ResizedOne.bmp" at any time.
            GifConvert::writeIndexed(file.gif, file.destination);
            return true;
        case PreparedFile::Format::Bitmap:
            bitmapfile::SavePicture(file.canvas, file.destination);
            return true;
        case PreparedFile::Format::Jpeg: {
            // Kept while preparing; should it have gone meanwhile, encode it now.
            const bool written =
                file.jpeg ? WriteNewJpegFile(file.destination, *file.jpeg)
                          : WriteJpegOutput(file.canvas, file.canvas.width(), file.canvas.height(),
                                            file.destination, settings_, file.exif) == 0;
            if (written && !file.exifProblem.isEmpty())
                eventlog::Error(file.exifProblem);
            return written;
        }
    }
    return true;
}
