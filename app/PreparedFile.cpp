#include "PreparedFile.h"

#include <QDir>

#include "CanvasSize.h"
#include "ExifCarry.h"
#include "FileTitle.h"
#include "GifConvert.h"
#include "JpegOutput.h"
#include "PictureLoader.h"
#include "SmoothPicture.h"

bool SameOutputChoices(const Settings& a, const Settings& b) {
    return a.Quality == b.Quality && a.SampleH == b.SampleH && a.SampleV == b.SampleV &&
           a.GreyscaleOn == b.GreyscaleOn && a.NameWithSize == b.NameWithSize &&
           a.KeepProportions == b.KeepProportions && a.LockHeight == b.LockHeight &&
           a.Comment == b.Comment;
}

namespace {

void carryExif(PreparedFile& file, const QString& path, const CanvasSize& size, bool keepGps) {
    QString problem;
    std::optional<QByteArray> exif =
        exifcarry::ExifForOutput(path, size.width, size.height, keepGps, &problem);
    if (exif)
        file.exif = std::move(*exif);
    if (!problem.isEmpty())
        file.exifProblem = QString("Exif data of %1 left out: %2").arg(path, problem);
}

}  // namespace

PreparedFile PrepareFile(const QString& path, const BatchRules& rules) {
    const Settings& s = rules.settings;
    PreparedFile file;
    const QString ending = path.toLower().right(4);
    file.format = ending == ".gif"   ? PreparedFile::Format::Gif
                  : ending == ".bmp" ? PreparedFile::Format::Bitmap
                                     : PreparedFile::Format::Jpeg;
    CanvasSize size;
    try {
        // From the full upright size, whatever part of the picture the loader holds.
        const auto canvasFor = [&](QSize full) {
            size =
                canvassize::Compute(rules.targetIndex, rules.text1, rules.text2, s.KeepProportions,
                                    s.LockHeight, full.width(), full.height());
            if (rules.neverEnlarge)
                size = canvassize::NoLargerThanSource(size, full.width(), full.height());
            return QSize(size.width, size.height);
        };
        SampledPicture sampled = rules.smooth
                                     ? picture::LoadSmooth(path, canvasFor, rules.previewSize)
                                     : picture::LoadSampled(path, canvasFor, rules.previewSize);
        file.sizeSuffix = canvassize::SizeSuffix(size);
        file.destination =
            QDir(rules.outputFolder).filePath(GetFileTitle(path, file.sizeSuffix, s.NameWithSize));
        file.canvas = std::move(sampled.canvas);
        file.preview = std::move(sampled.preview);
        file.notes = std::move(sampled.notes);
    } catch (...) {
        file.canvas = QImage();
        file.error = std::current_exception();
        return file;
    }
    try {
        if (file.format == PreparedFile::Format::Gif) {
            file.gif = GifConvert::indexPicture(file.canvas, path);
        } else if (file.format == PreparedFile::Format::Jpeg) {
            if (rules.keepMetadata)
                carryExif(file, path, size, rules.keepGps);
            const bool kept = JpegOutputExists(file.destination);
            std::vector<uint8_t> bytes = EncodeJpegOutput(file.canvas, size.width, size.height,
                                                          file.destination, s, !kept, file.exif);
            if (!kept)
                file.jpeg = std::move(bytes);
        }
    } catch (...) {
        file.error = std::current_exception();
    }
    return file;
}
