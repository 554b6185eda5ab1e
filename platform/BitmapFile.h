#pragma once

#include <QImage>
#include <QString>

// Writes a picture as a 24-bit uncompressed bottom-up bitmap file. The bytes go to a
// temporary file beside the destination that is renamed into place, so an interrupted write
// never leaves a half file; an existing file is replaced. Failure raises RuntimeError 75
// naming the file and the system's reason.
namespace bitmapfile {
void SavePicture(const QImage& image, const QString& path);
// The same for a scratch file rewritten for every picture, which nothing relies on after a
// crash: it is still replaced whole, but without waiting for the disk.
void SaveScratchPicture(const QImage& image, const QString& path);
}  // namespace bitmapfile
