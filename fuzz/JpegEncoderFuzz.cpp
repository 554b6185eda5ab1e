// JpegEncoder with picture sizes, source offsets, sampling factors, quality and comment taken
// from the input: every stream it makes must decode with libjpeg-turbo without a warning, to
// the size, components, sampling factors and comment it was given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "JpegEncoder.h"
#include "TestPictures.h"

using namespace tessaro;
using namespace tessaro::jpegtest;

namespace {

class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    int factor() { return 1 + next() % 4; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Whether libjpeg-turbo's decoder can upsample every component (it handles whole ratios
// only); other layouts are valid JPEG, so they are encoded but not decoded.
bool wholeRatios(const std::vector<jpeg::Component>& components, int hmax, int vmax) {
    return std::all_of(components.begin(), components.end(), [&](const jpeg::Component& c) {
        return hmax % c.H == 0 && vmax % c.V == 0;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    const int width = 1 + (in.next() | in.next() << 8) % 300;
    const int height = 1 + (in.next() | in.next() << 8) % 300;
    const int left = in.next() % 8;
    const int top = in.next() % 8;
    const uint8_t mode = in.next();
    const bool grey = (mode & 1) != 0;
    const int h1 = in.factor(), v1 = in.factor(), h2 = in.factor(), v2 = in.factor(),
              h3 = in.factor(), v3 = in.factor();
    const int quality = in.next() % 104;  // 0 and 101..103 must be ignored
    std::string comment(in.next() * 3u, '\0');
    for (char& c : comment)
        c = static_cast<char>(in.next());
    // Flat areas, gradients and noise, as the input says.
    const uint8_t texture = in.next();
    const auto colour = [&](int32_t x, int32_t y) {
        switch (texture % 3) {
            case 0:
                return Rgb{in.next(), in.next(), in.next()};
            case 1:
                return Rgb{static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 5),
                           static_cast<uint8_t>((x + y) * 3)};
            default:
                return Rgb{texture, static_cast<uint8_t>(255 - texture), 128};
        }
    };
    const int32_t fullWidth = width + left;
    const int32_t fullHeight = height + top;
    Picture picture;
    std::vector<uint8_t> pixels32;
    if ((mode & 2) == 0) {
        picture = makePicture(fullWidth, fullHeight, colour);
    } else {
        // 32-bit pixels as the window's canvas has them, top row first or last.
        pixels32.resize(static_cast<size_t>(fullWidth) * fullHeight * 4);
        const bool topDown = (mode & 4) != 0;
        for (int32_t y = 0; y < fullHeight; ++y) {
            uint8_t* row = pixels32.data() +
                           static_cast<size_t>(topDown ? y : fullHeight - 1 - y) * fullWidth * 4;
            for (int32_t x = 0; x < fullWidth; ++x) {
                const Rgb c = colour(x, y);
                row[4 * x] = c.b;
                row[4 * x + 1] = c.g;
                row[4 * x + 2] = c.r;
            }
        }
        picture.dib =
            DibSection::view(pixels32.data(), fullWidth, fullHeight, 32, fullWidth * 4, topDown);
        picture.dc = std::make_unique<DrawingContext>();
        picture.dc->select(picture.dib.get());
    }
    FUZZ_CHECK(picture.dib != nullptr, "no %dx%d bitmap", fullWidth, fullHeight);

    JpegEncoder encoder;
    std::vector<uint8_t> stream;
    try {
        if (grey) {
            encoder.SetSamplingFrequencies(h1, v1, 0, 0, 0, 0);
        } else {
            encoder.SetSamplingFrequencies(h1, v1, h2, v2, h3, v3);
        }
        encoder.setQuality(quality);
        encoder.setComment(comment);
        FUZZ_CHECK(encoder.SampleHDC(*picture.dc, width, height, left, top) == 0,
                   "sampling refused a %dx%d picture", width, height);
        stream = encoder.EncodeStream();
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(false, "error %d for %dx%d, factors %d %d %d %d %d %d, grey %d: %s", e.number(),
                   width, height, h1, v1, h2, v2, h3, v3, grey, e.what());
    }
    FUZZ_CHECK(encoder.Quality() == (quality >= 1 && quality <= 100 ? quality : 75),
               "quality %d became %d", quality, encoder.Quality());

    // SOI, the 18-byte APP0, then the comment segment when there is a comment.
    if (!comment.empty()) {
        const size_t n = comment.size();
        FUZZ_CHECK(stream.size() > 24 + n && stream[20] == 0xFF && stream[21] == 0xFE &&
                       (stream[22] << 8 | stream[23]) == static_cast<int>(n + 2) &&
                       std::equal(comment.begin(), comment.end(), stream.begin() + 24,
                                  [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }),
                   "the comment of %zu bytes is not stored as given", n);
    }
    if (!wholeRatios(encoder.Components(), encoder.Hmax(), encoder.Vmax())) {
        return 0;
    }
    const Decoded decoded = decode(stream);
    FUZZ_CHECK(decoded.error.empty(), "libjpeg-turbo: %s", decoded.error.c_str());
    FUZZ_CHECK(decoded.warnings == 0, "libjpeg-turbo warned %d times", decoded.warnings);
    FUZZ_CHECK(decoded.width == width && decoded.height == height, "%dx%d decoded as %dx%d", width,
               height, decoded.width, decoded.height);
    FUZZ_CHECK(decoded.components == (grey ? 1 : 3), "%d components", decoded.components);
    if (!grey) {
        FUZZ_CHECK(decoded.h == (std::vector<int32_t>{h1, h2, h3}) &&
                       decoded.v == (std::vector<int32_t>{v1, v2, v3}),
                   "sampling factors changed");
    }
    return 0;
}
