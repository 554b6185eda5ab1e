#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Small pictures with a pattern a resize cannot hide: a colour per quadrant.
inline QImage quadrantPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2;
            const bool bottom = y >= h / 2;
            const QRgb c = !right && !bottom  ? qRgb(200, 30, 30)
                           : right && !bottom ? qRgb(30, 200, 30)
                           : !right           ? qRgb(30, 30, 200)
                                              : qRgb(240, 240, 40);
            image.setPixel(x, y, c);
        }
    }
    return image;
}

#include <gif_lib.h>

#include <QTemporaryDir>

#include "GifConvert.h"

// Qt reads GIF files but cannot write them: go through a bitmap and our converter.
inline bool saveAsGif(const QImage& image, const QString& path) {
    QTemporaryDir scratch;
    const QString bmp = scratch.filePath("source.bmp");
    if (!image.save(bmp, "BMP"))
        return false;
    GifConvert::convert(bmp, path);
    return true;
}

// A 4x4 GIF whose index 0 is transparent everywhere but the top-left pixel (blue).
inline bool saveTransparentGif(const QString& path) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    if (!gif)
        return false;
    GifColorType colours[2] = {{255, 0, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, 4, 4, 1, 0, map) == GIF_OK;
    const GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, 0};
    GifByteType ext[4];
    GraphicsControlBlock transparent = gcb;
    transparent.TransparentColor = 0;
    EGifGCBToExtension(&transparent, ext);
    ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK;
    ok = ok && EGifPutImageDesc(gif, 0, 0, 4, 4, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < 4; ++y) {
        GifPixelType row[4] = {static_cast<GifPixelType>(y == 0 ? 1 : 0), 0, 0, 0};
        ok = EGifPutLine(gif, row, 4) == GIF_OK;
    }
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}
