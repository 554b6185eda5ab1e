#include "BatchDriver.h"
#include "ProgramFolder.h"

#include <QDir>

#include "BitmapFile.h"
#include "CanvasSize.h"
#include "EventLog.h"
#include "FileTitle.h"
#include "GifConvert.h"
#include "JpegOutput.h"
#include "PictureLoader.h"
#include "PointStretch.h"
#include "RuntimeError.h"

BatchDriver::BatchDriver(QString programFolder, const Settings& settings, BatchHost host)
    : programFolder_(std::move(programFolder)), settings_(settings), host_(std::move(host)) {}

void BatchDriver::setCustomSize(const QString& text1, const QString& text2) {
    text1_ = text1;
    text2_ = text2;
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

void BatchDriver::processEvents() const {
    if (host_.processEvents)
        host_.processEvents();
}

BatchReport BatchDriver::Run(int16_t targetIndex, const QStringList& dropped) {
    BatchReport report;
    report.outputFolder = OutputFolder();
    QDir().mkpath(report.outputFolder);  // usually there already; a failure shows on writing

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

    const qsizetype count = List1.size();
    if (host_.progress)
        host_.progress(0, static_cast<int>(count));
    for (qsizetype j = 0; j < count; ++j) {
        const QString path = List1.at(j);
        if (host_.stopRequested && host_.stopRequested()) {
            report.cancelled = true;
            break;
        }
        try {
            processEvents();
            const QImage source = picture::LoadPicture(path);
            if (ResizeFile(path, source)) {
                ++report.written;
            } else {
                ++report.unchanged;
            }
        } catch (const tessaro::RuntimeError& e) {
            report.failure = BatchFailure{path, e.number(), QString::fromStdString(e.text())};
        } catch (const std::bad_alloc&) {
            report.failure = BatchFailure{path, tessaro::err::kOutOfMemory, "Out of memory"};
        } catch (const std::exception& e) {
            report.failure = BatchFailure{path, tessaro::err::kInvalidCall, e.what()};
        }
        if (report.failure) {
            eventlog::Error(QString("Batch stopped at %1: error %2: %3")
                                .arg(path)
                                .arg(report.failure->number)
                                .arg(report.failure->text));
            break;
        }
        if (host_.progress)
            host_.progress(static_cast<int>(j + 1), static_cast<int>(count));
    }

    if (host_.setBusy)
        host_.setBusy(false);
    return report;
}

bool BatchDriver::ResizeFile(const QString& path, const QImage& source) {
    processEvents();
    const CanvasSize size =
        canvassize::Compute(TargetIndex, text1_, text2_, settings_.KeepProportions,
                            settings_.LockHeight, source.width(), source.height());
    SizeSuffix = canvassize::SizeSuffix(size);
    processEvents();

    const QImage canvas = PointStretch(source, size.width, size.height);
    if (host_.showPreview)
        host_.showPreview(TargetIndex, source);
    bitmapfile::SavePicture(canvas, IntermediatePath());

    const QString ending = path.toLower().right(4);
    const QString destination =
        QDir(OutputFolder()).filePath(GetFileTitle(path, SizeSuffix, settings_.NameWithSize));
    if (ending == ".gif") {
        // From this run's own canvas: another run may replace "ResizedOne.bmp" at any time.
        GifConvert::convertPicture(canvas, path, destination);
    } else if (ending == ".bmp") {
        bitmapfile::SavePicture(canvas, destination);
    } else if (ending == ".jpg") {
        return WriteJpegOutput(canvas, size.width, size.height, destination, settings_) == 0;
    }
    return true;
}
