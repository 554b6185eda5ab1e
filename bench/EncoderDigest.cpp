// Prints a 64-bit FNV-1a digest of the encoder's output for a spread of pictures and settings,
// one line per case. The pictures are made with integer arithmetic only, so the lines do not
// depend on the maths library. Compare with the recorded list after changing the encoder:
//
//   jpeg_encoder_digest | diff - bench/encoder-digests.txt
//   jpeg_encoder_digest --sse2 | diff - bench/encoder-digests.txt   (without the 256-bit paths)
//   jpeg_encoder_digest [--sse2] --random N SEED
//
// The last form prints N cases drawn at random (sizes, factors, qualities, sources); compare
// its output between two builds of the encoder.

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DrawingContext.h"
#include "InstructionSet.h"
#include "JpegEncoder.h"

namespace {

using tessaro::DibSection;
using tessaro::DrawingContext;

enum class Kind { Photo, Noise, Flat, Stripes };

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Photo:
            return "photo";
        case Kind::Noise:
            return "noise";
        case Kind::Flat:
            return "flat";
        case Kind::Stripes:
            return "stripes";
    }
    return "?";
}

// A bottom-up 24-bit bitmap, or a top-down 32-bit view of memory the picture holds (as
// toolkit pictures are).
struct Picture {
    std::vector<uint8_t> memory;
    std::unique_ptr<DibSection> dib;
};

// Gradients, a bright disc, diagonal texture and small noise (Photo); random bytes (Noise);
// one colour (Flat); hard one-pixel stripes and saturated edges (Stripes).
Picture picture(Kind kind, int32_t width, int32_t height, int16_t bitCount, uint32_t seed) {
    Picture pic;
    if (bitCount == 32) {
        pic.memory.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        pic.dib = DibSection::view(pic.memory.data(), width, height, 32, width * 4, true);
    } else {
        pic.dib = DibSection::create(width, height, bitCount);
    }
    DibSection* dib = pic.dib.get();
    const int step = bitCount / 8;
    uint32_t state = seed * 2654435761u + 1;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib->row(y);
        for (int32_t x = 0; x < width; ++x) {
            int r = 0;
            int g = 0;
            int b = 0;
            switch (kind) {
                case Kind::Photo: {
                    const int64_t dx = 5 * int64_t{x} - 3 * int64_t{width};
                    const int64_t dy = 5 * int64_t{y} - 2 * int64_t{height};
                    const int64_t span = int64_t{width} * width + int64_t{height} * height + 1;
                    const int disc = static_cast<int>(
                        std::max<int64_t>(0, 90 - 90 * 3 * (dx * dx + dy * dy) / (25 * span)));
                    const int texture = ((x + 2 * y) % 11) - 5;
                    const int noise = static_cast<int>(next() % 7) - 3;
                    r = 60 + 120 * y / height + disc + texture + noise;
                    g = 100 + 70 * x / width + disc / 2 + texture + noise;
                    b = 190 - 100 * y / height - disc / 3 + texture - noise;
                    break;
                }
                case Kind::Noise:
                    r = static_cast<int>(next() & 255);
                    g = static_cast<int>(next() & 255);
                    b = static_cast<int>(next() & 255);
                    break;
                case Kind::Flat:
                    r = 200;
                    g = 30;
                    b = 128;
                    break;
                case Kind::Stripes:
                    r = (x & 1) != 0 ? 255 : 0;
                    g = (y % 3) == 0 ? 255 : 10;
                    b = ((x / 5 + y / 7) & 1) != 0 ? 250 : 5;
                    break;
            }
            uint8_t* p = row + step * x;
            p[0] = static_cast<uint8_t>(std::clamp(b, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(r, 0, 255));
        }
    }
    return pic;
}

uint64_t fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t h = 1469598103934665603u;
    for (uint8_t b : bytes) {
        h = (h ^ b) * 1099511628211u;
    }
    return h;
}

struct Sampling {
    const char* name;
    int32_t f[6];
};

const Sampling kSamplings[] = {
    {"grey", {1, 1, 0, 0, 0, 0}},        {"1x1", {1, 1, 1, 1, 1, 1}},
    {"2x1", {2, 1, 1, 1, 1, 1}},         {"1x2", {1, 2, 1, 1, 1, 1}},
    {"2x2", {2, 2, 1, 1, 1, 1}},         {"4x2", {4, 2, 1, 1, 1, 1}},
    {"3x3", {3, 3, 1, 1, 1, 1}},         {"4x4", {4, 4, 1, 1, 1, 1}},
    {"2x2/2x1/1x2", {2, 2, 2, 1, 1, 2}}, {"1x1/2x2/1x1", {1, 1, 2, 2, 1, 1}},
};

void emit(const char* kind, int32_t width, int32_t height, int bits, const Sampling& s,
          int32_t quality, const std::string& comment, int32_t left, int32_t top,
          const DrawingContext& dc) {
    tessaro::JpegEncoder encoder;
    encoder.SetSamplingFrequencies(s.f[0], s.f[1], s.f[2], s.f[3], s.f[4], s.f[5]);
    encoder.setQuality(quality);
    encoder.setComment(comment);
    encoder.SampleHDC(dc, width, height, left, top);
    const std::vector<uint8_t> bytes = encoder.EncodeStream();
    std::printf("%-7s %4dx%-4d %2d-bit %-12s q%-3d c%-3zu @%d,%d  %9zu %016" PRIx64 "\n", kind,
                width, height, bits, s.name, quality, comment.size(), left, top, bytes.size(),
                fnv1a(bytes));
}

// Cases drawn from a seed: any size up to 300 x 300, any factors 1..4 (grey too), any
// quality, every kind of picture, 24- or 32-bit, rectangles at offsets and past the edges.
void randomCases(int count, uint32_t seed) {
    uint32_t state = seed;
    const auto next = [&state](uint32_t n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    const Kind kinds[] = {Kind::Photo, Kind::Noise, Kind::Flat, Kind::Stripes};
    for (int i = 0; i < count; ++i) {
        const auto w = static_cast<int32_t>(1 + next(300));
        const auto h = static_cast<int32_t>(1 + next(300));
        const Kind kind = kinds[next(4)];
        const int16_t bits = next(3) == 0 ? 32 : 24;
        const int32_t extraW = next(3) == 0 ? static_cast<int32_t>(next(20)) : 0;
        const int32_t extraH = next(3) == 0 ? static_cast<int32_t>(next(20)) : 0;
        const Picture pic = picture(kind, w + extraW, h + extraH, bits, static_cast<uint32_t>(i));
        DrawingContext dc;
        dc.select(pic.dib.get());
        Sampling s{"random", {}};
        for (int32_t& f : s.f) {
            f = static_cast<int32_t>(1 + next(4));
        }
        if (next(5) == 0) {
            s.f[2] = s.f[3] = s.f[4] = s.f[5] = 0;  // grey
        }
        std::string name = std::to_string(s.f[0]) + "x" + std::to_string(s.f[1]) + "/" +
                           std::to_string(s.f[2]) + "x" + std::to_string(s.f[3]) + "/" +
                           std::to_string(s.f[4]) + "x" + std::to_string(s.f[5]);
        s.name = name.c_str();
        const auto quality = static_cast<int32_t>(1 + next(100));
        // Usually inside the picture; now and then reaching past its edges.
        const int32_t left = next(4) == 0 ? static_cast<int32_t>(next(30)) : extraW / 2;
        const int32_t top = next(4) == 0 ? static_cast<int32_t>(next(30)) : extraH / 2;
        emit(kindName(kind), w, h, bits, s, quality, next(4) == 0 ? "abc" : "", left, top, dc);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--sse2") == 0) {
        tessaro::jpeg::allowWideInstructions(false);
        --argc;
        ++argv;
    }
    if (argc > 3 && std::strcmp(argv[1], "--random") == 0) {
        randomCases(std::atoi(argv[2]), static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)));
        return 0;
    }
    const int32_t sizes[][2] = {{1, 1},     {7, 5},      {8, 8},     {17, 9},
                                {33, 31},   {64, 48},    {100, 75},  {257, 130},
                                {640, 480}, {1023, 767}, {1024, 768}};
    const Kind kinds[] = {Kind::Photo, Kind::Noise, Kind::Flat, Kind::Stripes};
    uint32_t seed = 1;
    for (Kind kind : kinds) {
        for (const auto& size : sizes) {
            if (kind != Kind::Photo && size[0] > 300) {
                continue;
            }
            const Picture pic = picture(kind, size[0], size[1], 24, seed++);
            DrawingContext dc;
            dc.select(pic.dib.get());
            for (const Sampling& s : kSamplings) {
                for (int32_t quality : {75, 100, 10}) {
                    emit(kindName(kind), size[0], size[1], 24, s, quality, "", 0, 0, dc);
                }
            }
        }
    }
    // Other qualities, comments, a 32-bit source and rectangles inside and outside the source.
    const auto big = picture(Kind::Photo, 1500, 1100, 24, 99);
    const auto wide = picture(Kind::Photo, 301, 203, 32, 98);
    DrawingContext bigDc;
    bigDc.select(big.dib.get());
    DrawingContext wideDc;
    wideDc.select(wide.dib.get());
    for (int32_t quality : {1, 5, 30, 50, 75, 90, 95}) {
        emit("photo", 1500, 1100, 24, kSamplings[4], quality, "", 0, 0, bigDc);
    }
    emit("photo", 1500, 1100, 24, kSamplings[0], 85, "abc", 0, 0, bigDc);
    emit("photo", 1500, 1100, 24, kSamplings[2], 60, std::string(300, 'x'), 0, 0, bigDc);
    for (const Sampling& s : kSamplings) {
        emit("photo", 301, 203, 32, s, 80, "commento", 0, 0, wideDc);
        emit("photo", 250, 150, 32, s, 80, "", 30, 41, wideDc);
        emit("photo", 200, 120, 24, s, 70, "", 1400, 1050, bigDc);
    }
    return 0;
}
