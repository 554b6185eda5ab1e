#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "OwnChoices.h"
#include "Settings.h"

struct PreparedFile;

// What a batch reports back: which files it took, how far it got and why it stopped.
struct BatchFailure {
    QString file;
    int number = 0;
    QString text;
};

struct BatchReport {
    QStringList accepted;  // files that passed the name filter, in drop order
    int skipped = 0;       // files the filter left out
    int written = 0;       // outputs written
    int unchanged = 0;     // JPEG outputs left as they were because the name existed
    QString outputFolder;
    std::optional<BatchFailure> failure;  // the error that stopped the batch
    // With KeepGoing: every file that failed, in drop order; the batch went on after each.
    QList<BatchFailure> failures;
    bool cancelled = false;  // stopped on request after a finished file; no failure
};

// The window's side of a batch; every hook may be left empty (the headless command does).
struct BatchHost {
    std::function<void()> processEvents;
    std::function<void(bool busy)> setBusy;
    // The size of the preview in target `index`, asked when the batch starts; the preview is
    // sampled from the full source picture of the file just processed, upright, in sRGB.
    std::function<QSize(int index)> previewSize;
    std::function<void(int index, const QImage& preview)> showPreview;
    // Every hook is called on the thread that called BatchDriver::Run, in drop order.
    // Files finished (written, kept or failed) of the files accepted; called in drop order.
    std::function<void(int done, int accepted)> progress;
    // Asked between files: true stops the batch after the file in hand.
    std::function<bool()> stopRequested;
    // A file taken although something about it was odd (`note`), once it is written; the
    // event log has a line for it already.
    std::function<void(const QString& file, const QString& note)> fileNote;
};

// Runs one drop: filters the dropped paths, resizes each accepted file to the target size, and
// writes it into "Elaborate" in its own format. Files are loaded, stretched and encoded in
// memory by a few workers at once; their outputs are written strictly in drop order on the
// calling thread. The first error ends the batch; outputs written before it stay, later files
// are left untouched. With KeepGoing the failed file is listed instead and the batch goes on.
class BatchDriver {
  public:
    BatchDriver(QString programFolder, const Settings& settings, BatchHost host = {});

    void setCustomSize(const QString& text1, const QString& text2);
    // How many files are prepared at once; 0 (the default) means one per core. With 1 every
    // file is prepared on the calling thread.
    void setJobs(int jobs);
    // The bytes that files prepared but not yet written may hold at once; 0 (the default) means
    // BatchMemory::DefaultBudget().
    void setMemoryBudget(size_t bytes) { memoryBudget_ = bytes; }
    // Our own choices for this batch; the custom size in them is not read (see setCustomSize).
    void setChoices(const OwnChoices& choices);
    BatchReport Run(int16_t targetIndex, const QStringList& dropped);

    static bool IsAccepted(const QString& path);
    QString OutputFolder() const;
    QString IntermediatePath() const;

    int16_t TargetIndex = 0;
    QStringList List1;
    QString SizeSuffix;

  private:
    // Writes one prepared file: preview, intermediate bitmap, output. Returns true when an
    // output was written, false when an existing output was kept.
    bool commit(const PreparedFile& file, const QString& intermediatePath);
    // With KeepDate, the output written for `source` takes its modification time.
    void keepDate(const QString& source, const QString& output) const;
    void processEvents() const;
    // Tells the event log and the host what was odd about a file that was taken.
    void noteOddities(const QString& path, const QStringList& notes) const;
    int workerCount() const;

    QString programFolder_;
    const Settings& settings_;
    BatchHost host_;
    QString text1_ = "1280";
    QString text2_ = "960";
    int jobs_ = 0;
    size_t memoryBudget_ = 0;
    OwnChoices choices_;
};
