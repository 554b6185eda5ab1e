#include "GifFirstImage.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "GifLzwCount.h"

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

// giflib refuses LZW data of more than 8 bits a pixel as a read failure, though such data is
// sound and other readers take it: its pixels are counted instead. Otherwise `error`.
int wideCodes(const QByteArray& bytes, qsizetype descriptor, int error) {
    constexpr qsizetype kDescriptor = 9;  // edges, size and flags, after the separator
    if (error != D_GIF_ERR_READ_FAILED || bytes.size() < descriptor + kDescriptor + 1)
        return error;
    const auto byte = [&bytes](qsizetype at) { return static_cast<uint8_t>(bytes[at]); };
    const uint8_t flags = byte(descriptor + 8);
    const qsizetype table = (flags & 0x80) != 0 ? 3 << ((flags & 7) + 1) : 0;
    const qsizetype codeSizeAt = descriptor + kDescriptor + table;
    if (bytes.size() <= codeSizeAt || byte(codeSizeAt) <= 8 || byte(codeSizeAt) >= 12)
        return error;
    const qint64 pixels = qint64{byte(descriptor + 4) | byte(descriptor + 5) << 8} *
                          (byte(descriptor + 6) | byte(descriptor + 7) << 8);
    const GifLzwCount count = CountGifLzwPixels(bytes, codeSizeAt + 1, byte(codeSizeAt), pixels);
    if (count.pixels >= pixels)
        return D_GIF_SUCCEEDED;
    return count.cut ? D_GIF_ERR_READ_FAILED : D_GIF_ERR_IMAGE_DEFECT;
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
            return wideCodes(*reader->bytes, heightAt - kHeightField, gif->Error);
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
