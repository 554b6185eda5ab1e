#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

#include "GifIndexedImage.h"
#include "Settings.h"

// What every file of a batch is resized and written by, copied when the file's turn is
// prepared, so that a worker never reads what the window may change meanwhile.
struct BatchRules {
    int16_t targetIndex = 0;
    bool neverEnlarge = false;  // a picture smaller than the canvas both ways keeps its size
    QString text1;
    QString text2;
    Settings settings;
    QString outputFolder;
    QSize previewSize;          // the drop target's preview; empty when none is wanted
    bool keepMetadata = false;  // JPEG outputs carry their input's Exif block, fitted
    bool keepGps = false;       // ... with its GPS position
    bool smooth = false;        // resize with the smoothing filter instead of point sampling
};

// Whether two settings records resize and write a file the same way (the window's position
// and the other choices play no part in it).
bool SameOutputChoices(const Settings& a, const Settings& b);

// One accepted file, loaded, stretched and encoded in memory, waiting for its turn to be
// written. Making it touches no file; writing it is the batch driver's, in drop order.
struct PreparedFile {
    enum class Format { Gif, Bitmap, Jpeg };

    Format format = Format::Bitmap;
    QString destination;
    QString sizeSuffix;
    QImage canvas;   // null when preparing failed before the canvas was made
    QImage preview;  // the source picture sampled for the drop target; null when none is wanted
    gif::IndexedImage gif;
    // JPEG: the file's bytes; none when the output existed while preparing (it is kept).
    std::optional<std::vector<uint8_t>> jpeg;
    QByteArray exif;      // JPEG: the Exif APP1 body the output carries; empty when none
    QString exifProblem;  // why the input's Exif block was left out, for the event log
    // Raised while preparing; raised again when the file's turn comes. With a canvas, the
    // failure came after it and the intermediate bitmap is written first, as without workers.
    std::exception_ptr error;
    // What was odd about the source file without harming its picture, to be told once the
    // file is written.
    QStringList notes;
};

// Loads `path`, computes its canvas, stretches and encodes it. Never throws: a failure is
// kept in the result. Safe to run on any thread.
PreparedFile PrepareFile(const QString& path, const BatchRules& rules);
