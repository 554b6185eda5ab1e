#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The length an uncompressed bitmap file must have to hold every row its headers declare,
// from its first bytes (at least the file and information headers): where the rows start
// (the stated offset, or just after the headers when it states none) plus the padded rows.
// 0 when the bytes are not such a bitmap (compressed, or headers Qt's reader refuses anyway).
// Qt's reader stops at the end of a cut file and hands back the rows it never read as they
// happened to lie in memory, so the length is checked before its picture is trusted.
qint64 BitmapLengthNeeded(const QByteArray& head);

// Why the picture Qt's reader made of the bitmap file `bytes` cannot be trusted whole; empty
// when it can. Only the information headers of the known sizes are accepted: Qt reads any
// other as if it were one of 40 bytes and takes its palette and rows from the wrong places.
// Uncompressed rows must all be there (see above); run-length coded ones, read from
// `rleStart` (where the reader started on them; -1 when it never did), must set every pixel.
// `ranShort`: the reader asked for bytes past the end of the file.
QString BitmapFault(const QByteArray& bytes, qint64 rleStart, bool ranShort);
