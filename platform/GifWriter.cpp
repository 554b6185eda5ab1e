#include "GifWriter.h"

#include <gif_lib.h>

#include <QFile>
#include <memory>
#include <vector>

#include "FileName.h"
#include "RuntimeError.h"
#include "TemporaryFile.h"

namespace gif {

namespace {

constexpr int kMaxSide = 65535;

[[noreturn]] void accessError(const QString& path, const QString& why) {
    throw tessaro::RuntimeError(
        tessaro::err::kFileAccess,
        filename::ErrorText(QString("Path/File access error: %1 (%2)").arg(path, why)));
}

int writeBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* file = static_cast<tessaro::files::TemporaryFile*>(gif->UserData);
    file->write(bytes, static_cast<size_t>(length));
    return file->failed() ? 0 : length;
}

// The colour table with its size raised to the power of two that GIF needs (at least 2);
// the extra entries are black and no pixel uses them.
std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> colourTable(const Palette& palette) {
    int size = 2;
    while (size < static_cast<int>(palette.size()))
        size *= 2;
    std::vector<GifColorType> colours(static_cast<size_t>(size), GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i) {
        colours[i] = GifColorType{palette[i].r, palette[i].g, palette[i].b};
    }
    return {GifMakeMapObject(size, colours.data()), GifFreeMapObject};
}

// Puts screen, image and pixel rows; returns the giflib error code, or 0.
int encode(GifFileType* gif, const IndexedImage& image, const ColorMapObject* table) {
    if (EGifPutScreenDesc(gif, image.width, image.height, table->BitsPerPixel, 0, table) ==
        GIF_ERROR) {
        return gif->Error;
    }
    if (EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_ERROR) {
        return gif->Error;
    }
    std::vector<GifPixelType> line(static_cast<size_t>(image.width));
    for (int y = 0; y < image.height; ++y) {
        const auto* row = image.indices.data() + static_cast<size_t>(y) * line.size();
        line.assign(row, row + line.size());
        if (EGifPutLine(gif, line.data(), image.width) == GIF_ERROR)
            return gif->Error;
    }
    return 0;
}

}  // namespace

void writeGif(const IndexedImage& image, const QString& path) {
    if (image.width < 1 || image.height < 1 || image.width > kMaxSide || image.height > kMaxSide ||
        image.palette.empty() || image.palette.size() > static_cast<size_t>(kMaxPaletteColours) ||
        image.indices.size() != static_cast<size_t>(image.width) * image.height) {
        throw tessaro::RuntimeError(
            tessaro::err::kInvalidPicture,
            filename::ErrorText(
                QString("Invalid picture: %1 (%2 x %3 pixels do not fit a GIF image)")
                    .arg(path)
                    .arg(image.width)
                    .arg(image.height)));
    }
    const auto table = colourTable(image.palette);
    if (!table)
        tessaro::err::raiseOutOfMemory();

    tessaro::files::TemporaryFile file(filename::ToBytes(path).toStdString(),
                                       tessaro::files::TemporaryFile::Existing::Replace,
                                       tessaro::files::TemporaryFile::Errors::AccessError);
    int error = 0;
    GifFileType* gif = EGifOpen(&file, writeBytes, &error);
    if (gif == nullptr)
        accessError(path, GifErrorString(error));
    int failure = encode(gif, image, table.get());
    // Closing writes the trailer and frees the handle whatever happened before.
    if (EGifCloseFile(gif, &error) == GIF_ERROR && failure == 0)
        failure = error;
    // A failed write is the file's to report, with the system's reason.
    if (failure != 0 && !file.failed())
        accessError(path, GifErrorString(failure));
    file.publish();
}

}  // namespace gif
