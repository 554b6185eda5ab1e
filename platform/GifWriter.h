#pragma once

#include <QString>

#include "GifIndexedImage.h"

namespace gif {

// Writes an indexed picture as a GIF file holding one image, with its palette as the global
// colour table and no transparency. The bytes go to a temporary file beside the destination
// that is renamed into place, so an interrupted write never leaves a half file and an existing
// file is replaced whole; on failure the temporary file is removed. Raises RuntimeError 75
// naming the file when the destination cannot be written, RuntimeError 481 when the picture
// does not fit a GIF (a side longer than 65535 pixels, or no palette).
void writeGif(const IndexedImage& image, const QString& path);

}  // namespace gif
