#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DrawingContext.h"

namespace tessaro::jpegtest {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// A 24-bit bitmap selected into its own context.
struct Picture {
    std::unique_ptr<DibSection> dib;
    std::unique_ptr<DrawingContext> dc;

    int32_t width() const { return dib->width(); }
    int32_t height() const { return dib->height(); }
    Rgb at(int32_t x, int32_t y) const;
};

Picture makePicture(int32_t width, int32_t height,
                    const std::function<Rgb(int32_t, int32_t)>& colour, int16_t bitCount = 24);
Picture uniformPicture(int32_t width, int32_t height, Rgb colour);
// Smooth gradients, soft shapes, texture and a little noise: compresses like a photograph.
Picture naturalPicture(int32_t width, int32_t height, uint32_t seed = 1);
// Independent random bytes in every channel.
Picture noisePicture(int32_t width, int32_t height, uint32_t seed = 7);

// The file as libjpeg-turbo decodes it.
struct Decoded {
    int32_t width = 0;
    int32_t height = 0;
    int32_t components = 0;
    std::vector<int32_t> h;  // sampling factors per component
    std::vector<int32_t> v;
    std::vector<uint8_t> pixels;  // RGB (or grey) rows, top first
    int warnings = 0;
    std::string error;  // empty when decoding succeeded
};

Decoded decode(const std::vector<uint8_t>& file);

// Peak signal-to-noise ratio of the decoded picture against the source, over all channels
// (or over the grey channel against the source's luminance).
double psnr(const Picture& source, const Decoded& decoded);

std::vector<uint8_t> readFile(const std::string& path);
// A fresh empty folder for files a test writes.
std::string scratchFolder(const std::string& name);

}  // namespace tessaro::jpegtest
