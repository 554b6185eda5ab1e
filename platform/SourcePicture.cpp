#include "SourcePicture.h"

#include "ColourProfile.h"
#include "ExifOrientation.h"
#include "RowSampler.h"
#include "RuntimeError.h"

namespace {

QImage sample(const SourcePicture& source, QSize size) {
    if (source.pixels.isNull())
        tessaro::err::raiseOutOfMemory();
    RowSampler sampler(source.pixels.size(), source.orientation, {size});
    for (int y = 0; y < source.pixels.height(); ++y) {
        if (sampler.wants(y))
            sampler.take(y, reinterpret_cast<const QRgb*>(source.pixels.constScanLine(y)));
    }
    QImage out = std::move(sampler.release().front());
    // Per pixel, so converting the few sampled pixels gives what converting the source would.
    ConvertToSrgb(out, source.colourSpace);
    return out;
}

}  // namespace

QSize SourcePicture::size() const {
    return picture::AxesOf(orientation).swapped ? pixels.size().transposed() : pixels.size();
}

QImage SourcePicture::upright() const {
    if (orientation == 1) {
        QImage out = pixels;
        ConvertToSrgb(out, colourSpace);  // on a copy of its own: the first row written detaches it
        return out;
    }
    return sample(*this, size());
}

QImage StretchSource(const SourcePicture& source, int w, int h) {
    return sample(source, QSize(w, h));
}
