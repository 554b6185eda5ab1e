#pragma once

#include <QByteArray>
#include <QString>

// Why the first image of a GIF file cannot be decoded whole, as giflib finds it ("data cut
// short" when the bytes end inside it); empty when every one of its lines decodes, or when
// the bytes hold no image at all (Qt's reader refuses those itself). Qt's reader fills what
// it could not decode with the background and reports nothing, so a cut or damaged file would
// otherwise pass for a good picture.
QString GifFirstImageFault(const QByteArray& bytes);
