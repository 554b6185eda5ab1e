#include "GifFirstImage.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Serves the bytes, with the image's height raised by one where giflib reads it. giflib reads
// on to the end of the image data right after a line completes the image, and fails there on
// a missing block terminator or a misplaced trailer, though every pixel is there; with one
// more line to come, it stops at the last pixel the picture has.
struct Reader {
    const QByteArray* bytes;
    qsizetype at = 0;
    qsizetype heightAt = -1;  // where the image's height field lies
};

int readBytes(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<Reader*>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(wanted, reader->bytes->size() - reader->at);
    std::memcpy(out, reader->bytes->constData() + reader->at, static_cast<size_t>(n));
    if (reader->heightAt >= reader->at && reader->heightAt + 2 <= reader->at + n) {
        GifByteType* field = out + (reader->heightAt - reader->at);
        const int height = (field[0] | field[1] << 8) + 1;
        field[0] = static_cast<GifByteType>(height & 0xFF);
        field[1] = static_cast<GifByteType>(height >> 8);
    }
    reader->at += n;
    return static_cast<int>(n);
}

QString reason(int error) {
    if (error == D_GIF_ERR_READ_FAILED)
        return "data cut short";
    const char* text = GifErrorString(error);
    return text != nullptr ? QString::fromLatin1(text) : QString("GIF error %1").arg(error);
}

// Decodes the first image's lines; the error code, or D_GIF_SUCCEEDED.
int decodeFirstImage(GifFileType* gif) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return gif->Error;
        if (type == TERMINATE_RECORD_TYPE)
            return D_GIF_SUCCEEDED;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return gif->Error;
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return gif->Error;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            return D_GIF_ERR_WRONG_RECORD;
        auto* reader = static_cast<Reader*>(gif->UserData);
        constexpr qsizetype kHeightField = 6;  // after the left and top edges and the width
        const qsizetype heightAt = reader->at + kHeightField;
        const bool raise = reader->bytes->size() >= heightAt + 2 &&
                           (static_cast<uint8_t>((*reader->bytes)[heightAt]) &
                            static_cast<uint8_t>((*reader->bytes)[heightAt + 1])) != 0xFF;
        if (raise)
            reader->heightAt = heightAt;
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return gif->Error;
        reader->heightAt = -1;
        const int width = gif->Image.Width;
        const int height = gif->Image.Height - (raise ? 1 : 0);
        std::vector<GifPixelType> line(static_cast<size_t>(std::max(width, 1)));
        for (int y = 0; y < height; ++y) {
            if (DGifGetLine(gif, line.data(), width) == GIF_ERROR)
                return gif->Error;
        }
        return D_GIF_SUCCEEDED;
    }
}

}  // namespace

QString GifFirstImageFault(const QByteArray& bytes) {
    Reader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readBytes, &error);
    if (gif == nullptr)
        return reason(error);
    const int result = decodeFirstImage(gif);
    DGifCloseFile(gif, &error);
    return result == D_GIF_SUCCEEDED ? QString() : reason(result);
}
