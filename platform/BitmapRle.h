#pragma once

#include <QByteArray>
#include <QString>

// Why the run-length coded pixel data of a bitmap, from where its reader starts reading it,
// does not set every pixel of a `width` x `height` picture of `bits` (4 or 8) bits per pixel;
// empty when it does. Qt's reader leaves the pixels such data skips (by a jump, an early end
// of a line or of the picture, or the end of the file) as they happened to lie in memory.
QString BitmapRleFault(const QByteArray& data, qsizetype start, qint64 width, qint64 height,
                       int bits);
