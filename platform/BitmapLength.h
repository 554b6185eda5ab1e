#pragma once

#include <QByteArray>
#include <QtGlobal>

// The length an uncompressed bitmap file must have to hold every row its headers declare,
// from its first bytes (at least the file and information headers): where the rows start
// (the stated offset, or just after the headers when it states none) plus the padded rows.
// 0 when the bytes are not such a bitmap (compressed, or headers Qt's reader refuses anyway).
// Qt's reader stops at the end of a cut file and hands back the rows it never read as they
// happened to lie in memory, so the length is checked before its picture is trusted.
qint64 BitmapLengthNeeded(const QByteArray& head);
