#include "GifFirstImage.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Reader {
    const QByteArray* bytes;
    qsizetype at = 0;
};

int readBytes(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<Reader*>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(wanted, reader->bytes->size() - reader->at);
    std::memcpy(out, reader->bytes->constData() + reader->at, static_cast<size_t>(n));
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
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return gif->Error;
        const int width = gif->Image.Width;
        std::vector<GifPixelType> line(static_cast<size_t>(std::max(width, 1)));
        for (int y = 0; y < gif->Image.Height; ++y) {
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
