#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ColourConversion.h"
#include "ForwardDct.h"
#include "JpegEncoder.h"
#include "TestPictures.h"

using namespace tessaro;
using namespace tessaro::jpeg;
using namespace tessaro::jpegtest;

namespace {

// ---- A scalar reference written from the arithmetic the file format is built on: every
// step stored in single precision, the operations inside a step in double precision.

float step(double v) {
    return static_cast<float>(v);
}

void referencePass(float x[8]) {
    const double c4 = 0.707106781186548;
    const double c6 = 0.382683432365091;
    const double c26m = 0.541196100146196;
    const double c26p = 1.30656296487638;
    const auto d = [](float f) { return static_cast<double>(f); };
    float t0 = step(d(x[7]) + d(x[0]));
    float t1 = step(d(x[0]) - d(x[7]));
    float t2 = step(d(x[6]) + d(x[1]));
    float t3 = step(d(x[1]) - d(x[6]));
    float t4 = step(d(x[5]) + d(x[2]));
    float t5 = step(d(x[2]) - d(x[5]));
    float t6 = step(d(x[4]) + d(x[3]));
    float t7 = step(d(x[3]) - d(x[4]));
    t7 = step(d(t5) + d(t7));
    const float t8 = step(d(t0) - d(t6));
    t6 = step(d(t0) + d(t6));
    t0 = step(d(t4) + d(t2));
    t2 = step(((d(t2) - d(t4)) + d(t8)) * c4);
    t4 = step(d(t3) + d(t1));
    t3 = step((d(t5) + d(t3)) * c4);
    t5 = step((d(t4) - d(t7)) * c6);
    t7 = step(d(t7) * c26m - d(t5));
    t4 = step(d(t4) * c26p - d(t5));
    t5 = step(d(t3) + d(t1));
    t1 = step(d(t1) - d(t3));
    x[0] = step(d(t6) + d(t0));
    x[4] = step(d(t6) - d(t0));
    x[1] = step(d(t5) + d(t4));
    x[7] = step(d(t5) - d(t4));
    x[2] = step(d(t8) + d(t2));
    x[6] = step(d(t8) - d(t2));
    x[5] = step(d(t7) + d(t1));
    x[3] = step(d(t1) - d(t7));
}

void referenceDct(float* ws) {
    for (int c = 0; c < 8; ++c) {
        float x[8];
        for (int n = 0; n < 8; ++n) {
            x[n] = ws[n * 8 + c];
        }
        referencePass(x);
        for (int n = 0; n < 8; ++n) {
            ws[n * 8 + c] = x[n];
        }
    }
    for (int r = 0; r < 8; ++r) {
        referencePass(ws + r * 8);
    }
}

void referenceQuantize(const float* ws, const QuantTable& table, int16_t* out) {
    const ZigZagTable& zz = zigZag();
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const int k = zz[i * 8 + j];
            const double v =
                static_cast<double>(table.Divisors[k]) * static_cast<double>(ws[i * 8 + j]);
            out[k] = static_cast<int16_t>(std::nearbyint(v));
        }
    }
}

const float kWeights[3][4] = {{0.299f, 0.587f, 0.114f, -128.0f},
                              {-0.16874f, -0.33126f, 0.5f, 0.0f},
                              {0.5f, -0.41869f, -0.08131f, 0.0f}};

// Coefficients of one component from its rendering (w x h pixels of `rendered`), padded to
// whole blocks by repeating the last column and row.
std::vector<int16_t> referenceComponent(const Picture& rendered, int channel,
                                        const QuantTable& table) {
    const int32_t w = rendered.width();
    const int32_t h = rendered.height();
    const int32_t pw = (w + 7) / 8 * 8;
    const int32_t ph = (h + 7) / 8 * 8;
    std::vector<int16_t> out(static_cast<size_t>(pw) * ph);
    size_t pos = 0;
    for (int32_t br = 0; br < ph / 8; ++br) {
        for (int32_t bc = 0; bc < pw / 8; ++bc) {
            float ws[64];
            for (int j = 0; j < 8; ++j) {
                for (int k = 0; k < 8; ++k) {
                    const Rgb p =
                        rendered.at(std::min(bc * 8 + k, w - 1), std::min(br * 8 + j, h - 1));
                    const float* c = kWeights[channel];
                    ws[j * 8 + k] =
                        step(((p.r * static_cast<double>(c[0]) + p.g * static_cast<double>(c[1])) +
                              p.b * static_cast<double>(c[2])) +
                             static_cast<double>(c[3]));
                }
            }
            referenceDct(ws);
            referenceQuantize(ws, table, out.data() + pos);
            pos += 64;
        }
    }
    return out;
}

// The picture averaged down to w x h the way the drawing context stretches.
Picture stretched(const Picture& source, int32_t w, int32_t h) {
    Picture out = uniformPicture(w, h, {0, 0, 0});
    out.dc->setStretchBltMode(kHalftone);
    StretchBlt(*out.dc, 0, 0, w, h, *source.dc, 0, 0, source.width(), source.height());
    return out;
}

// Samples the picture and compares every component with the reference.
void expectReferenceCoefficients(JpegEncoder& encoder, const Picture& pic) {
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, pic.width(), pic.height(), 0, 0), 0);
    for (size_t c = 0; c < encoder.Components().size(); ++c) {
        const Component& comp = encoder.Components()[c];
        const auto w = static_cast<int32_t>(
            std::ceil(static_cast<double>(pic.width()) * comp.H / encoder.Hmax()));
        const auto h = static_cast<int32_t>(
            std::ceil(static_cast<double>(pic.height()) * comp.V / encoder.Vmax()));
        const bool full = w == pic.width() && h == pic.height();
        const int channel = static_cast<int>(c);
        const QuantTable& table = encoder.QuantTable(comp.Tq);
        const std::vector<int16_t> expected =
            full ? referenceComponent(pic, channel, table)
                 : referenceComponent(stretched(pic, w, h), channel, table);
        ASSERT_EQ(comp.Coefficients.size(), expected.size()) << "component " << c;
        EXPECT_EQ(std::vector<int16_t>(comp.Coefficients.begin(), comp.Coefficients.end()),
                  expected)
            << "component " << c << " of " << pic.width() << "x" << pic.height() << " at " << comp.H
            << "x" << comp.V;
        EXPECT_EQ(comp.Id, static_cast<int32_t>(c) + 1);
    }
}

}  // namespace

std::vector<DctPath> dctPaths() {
    std::vector<DctPath> paths = {DctPath::Generic};
    if (wideDctAvailable()) {
        paths.push_back(DctPath::Wide);
    }
    return paths;
}

TEST(ForwardDct, MatchesTheScalarStepsBitForBit) {
    for (DctPath path : dctPaths()) {
        std::mt19937 random(3);
        std::uniform_real_distribution<float> sample(-128.0f, 127.0f);
        std::uniform_int_distribution<int> pixel(0, 255);
        for (int n = 0; n < 20000; ++n) {
            float block[64];
            float expected[64];
            for (int i = 0; i < 64; ++i) {
                // Alternate real-valued samples with converted-pixel-like values.
                block[i] = (n % 2 == 0) ? sample(random)
                                        : static_cast<float>(pixel(random) - 128) * 0.587f;
                expected[i] = block[i];
            }
            ForwardDct(block, path);
            referenceDct(expected);
            for (int i = 0; i < 64; ++i) {
                ASSERT_EQ(block[i], expected[i]) << "block " << n << " entry " << i;
            }
        }
    }
}

TEST(ForwardDct, TransformerMatchesDctAndQuantization) {
    JpegEncoder encoder;
    encoder.setQuality(93);
    const QuantTable& table = encoder.QuantTable(1);
    const BlockTransformer transformer(table.Divisors, zigZag());
    std::mt19937 random(5);
    std::uniform_real_distribution<float> sample(-128.0f, 127.0f);
    for (DctPath path : dctPaths()) {
        for (int n = 0; n < 5000; ++n) {
            // A block inside a wider strip, as the sampler hands it over.
            float strip[8 * 24];
            for (float& v : strip) {
                v = sample(random);
            }
            float block[64];
            for (int r = 0; r < 8; ++r) {
                for (int c = 0; c < 8; ++c) {
                    block[r * 8 + c] = strip[r * 24 + 8 + c];
                }
            }
            int16_t got[64];
            int16_t expected[64];
            transformer.transform(strip + 8, 24, got, path);
            referenceDct(block);
            referenceQuantize(block, table, expected);
            ASSERT_EQ(std::vector<int16_t>(got, got + 64),
                      std::vector<int16_t>(expected, expected + 64))
                << "block " << n;
        }
    }
}

TEST(ColourConversion, EveryPathMatchesTheFormula) {
    std::vector<ConversionPath> paths = {ConversionPath::Generic};
    if (wideConversionAvailable()) {
        paths.push_back(ConversionPath::Wide);
    }
    std::mt19937 random(8);
    for (int pixelStep : {3, 4}) {
        for (int32_t width : {1, 4, 5, 6, 7, 9, 64, 101}) {
            std::vector<uint8_t> row(static_cast<size_t>(width * pixelStep));
            for (uint8_t& b : row) {
                b = static_cast<uint8_t>(random());
            }
            row[0] = 255;
            row[1] = 255;
            row[2] = 255;
            for (int channel = 0; channel < 3; ++channel) {
                const float* c = kWeights[channel];
                for (ConversionPath path : paths) {
                    std::vector<float> out(static_cast<size_t>(width), -999.0f);
                    convertRow(row.data(), pixelStep, width,
                               kColourWeights[static_cast<size_t>(channel)], out.data(), path);
                    for (int32_t x = 0; x < width; ++x) {
                        const uint8_t* p = row.data() + x * pixelStep;
                        const float expected = step(
                            ((p[2] * static_cast<double>(c[0]) + p[1] * static_cast<double>(c[1])) +
                             p[0] * static_cast<double>(c[2])) +
                            static_cast<double>(c[3]));
                        ASSERT_EQ(out[static_cast<size_t>(x)], expected) << width << " " << x;
                    }
                }
            }
        }
    }
}

TEST(ForwardDct, QuantizationRoundsHalvesToEven) {
    JpegEncoder encoder;
    encoder.setQuality(100);
    const QuantTable& table = encoder.QuantTable(0);  // divisor 0.125 at (0,0)
    float block[64] = {};
    int16_t out[64];
    const float dc[5] = {4.0f, 12.0f, 20.0f, -4.0f, -12.0f};
    const int16_t rounded[5] = {0, 2, 2, 0, -2};
    for (int i = 0; i < 5; ++i) {
        block[0] = dc[i];
        QuantizeBlock(block, table.Divisors, zigZag(), out);
        EXPECT_EQ(out[0], rounded[i]) << dc[i];
    }

    std::array<float, 64> ones{};
    ones.fill(1.0f);
    block[9] = 32767.5f;  // rounds to 32768: no longer 16 bits
    try {
        QuantizeBlock(block, ones, zigZag(), out);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    block[9] = -32768.0f;
    QuantizeBlock(block, ones, zigZag(), out);
    EXPECT_EQ(out[zigZag()[9]], -32768);
}

TEST(Sampling, MatchesTheReferenceForEveryLayout) {
    const int factors[][6] = {{2, 2, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {2, 1, 1, 1, 1, 1},
                              {1, 2, 1, 1, 1, 1}, {3, 3, 1, 1, 1, 1}, {4, 4, 1, 1, 1, 1},
                              {1, 1, 2, 2, 1, 1}, {1, 1, 0, 0, 0, 0}};
    const int sizes[][2] = {{37, 29}, {64, 48}, {17, 9}, {8, 8}, {1, 1}, {100, 3}};
    for (const auto& f : factors) {
        for (const auto& s : sizes) {
            JpegEncoder encoder;
            encoder.setQuality(s[0] % 2 == 0 ? 90 : 35);
            encoder.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
            expectReferenceCoefficients(
                encoder, naturalPicture(s[0], s[1], static_cast<uint32_t>(s[0] * 7 + s[1])));
        }
    }
}

TEST(Sampling, PaddedSizes) {
    JpegEncoder encoder;
    const Picture pic = naturalPicture(17, 9);
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 17, 9, 0, 0), 0);
    const auto& c = encoder.Components();
    EXPECT_EQ(c[0].PaddedWidth, 24);
    EXPECT_EQ(c[0].PaddedHeight, 16);
    EXPECT_EQ(c[0].Coefficients.size(), 24u * 16);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(c[i].PaddedWidth, 16);  // 9 x 5 (ceil of 8.5 and 4.5)
        EXPECT_EQ(c[i].PaddedHeight, 8);
    }
    EXPECT_EQ(encoder.Width(), 17);
    EXPECT_EQ(encoder.Height(), 9);
    EXPECT_EQ(encoder.Precision(), 8);
}

TEST(Sampling, OnePixelGivesFlatBlocks) {
    JpegEncoder encoder;
    encoder.setQuality(100);
    const Picture pic = uniformPicture(1, 1, {200, 100, 50});
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 1, 1, 0, 0), 0);
    for (size_t c = 0; c < 3; ++c) {
        const auto& coef = encoder.Components()[c].Coefficients;
        ASSERT_EQ(coef.size(), 64u);
        for (int k = 1; k < 64; ++k) {
            EXPECT_EQ(coef[k], 0) << c << " " << k;
        }
    }
    // A flat block of value v transforms to 64 v at (0,0); the divisor 0.125 leaves 8 v.
    const double y = 200 * 0.299 + 100 * 0.587 + 50 * 0.114 - 128;
    EXPECT_EQ(encoder.Components()[0].Coefficients[0], std::lround(8 * y));
    const double cb = -0.16874 * 200 - 0.33126 * 100 + 0.5 * 50;
    EXPECT_EQ(encoder.Components()[1].Coefficients[0], std::lround(8 * cb));
}

TEST(Sampling, MidGreyGivesZeroCoefficients) {
    for (int q : {1, 75, 100}) {
        JpegEncoder encoder;
        encoder.setQuality(q);
        const Picture pic = uniformPicture(23, 19, {128, 128, 128});
        ASSERT_EQ(encoder.SampleHDC(*pic.dc, 23, 19, 0, 0), 0);
        for (const Component& c : encoder.Components()) {
            for (int16_t v : c.Coefficients) {
                ASSERT_EQ(v, 0);
            }
        }
    }
}

// Samples one picture from a 24-bit bitmap, an 8-bit bitmap (always copied and stretched by
// the drawing context), a top-down 32-bit view and an offset rectangle of a larger bitmap; the
// coefficients must not depend on the source.
static void expectSameFromEverySource(int32_t w, int32_t h) {
    // At most 256 colours, so that an 8-bit bitmap can hold the same picture.
    std::vector<RgbQuad> palette(256);
    std::mt19937 random(11);
    for (auto& q : palette) {
        const uint32_t bits = random();
        q = RgbQuad{static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                    static_cast<uint8_t>(bits >> 16), 0};
    }
    const auto index = [](int32_t x, int32_t y) {
        return static_cast<uint8_t>((x * 7 + y * 13 + x * y) & 0xFF);
    };
    const Picture rgb = makePicture(w, h, [&](int32_t x, int32_t y) {
        const RgbQuad q = palette[index(x, y)];
        return Rgb{q.red, q.green, q.blue};
    });

    Picture indexed;
    indexed.dib = DibSection::create(w, h, 8, palette);
    indexed.dc = std::make_unique<DrawingContext>();
    indexed.dc->select(indexed.dib.get());
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            indexed.dib->row(y)[x] = index(x, y);
        }
    }

    // A top-down 32-bit view, as toolkit pictures come.
    std::vector<uint8_t> memory(static_cast<size_t>(w) * h * 4);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const Rgb c = rgb.at(x, y);
            uint8_t* p = memory.data() + (static_cast<size_t>(y) * w + x) * 4;
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            p[3] = 0x5A;
        }
    }
    auto view = DibSection::view(memory.data(), w, h, 32, w * 4, true);
    ASSERT_TRUE(view);
    DrawingContext viewDc;
    viewDc.select(view.get());

    // The same picture inside a larger one, sampled at an offset.
    const Picture framed = makePicture(w + 10, h + 6, [&](int32_t x, int32_t y) {
        if (x < 4 || y < 5 || x >= w + 4 || y >= h + 5) {
            return Rgb{255, 0, 255};
        }
        return rgb.at(x - 4, y - 5);
    });

    const int layouts[][2] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {2, 1}, {1, 3}};
    for (const auto& layout : layouts) {
        SCOPED_TRACE(testing::Message()
                     << w << "x" << h << " at " << layout[0] << "x" << layout[1]);
        JpegEncoder a;
        a.SetSamplingFrequencies(layout[0], layout[1], 1, 1, 1, 1);
        ASSERT_EQ(a.SampleHDC(*rgb.dc, w, h, 0, 0), 0);
        const auto check = [&](const DrawingContext& dc, int32_t left, int32_t top,
                               const char* what) {
            JpegEncoder b;
            b.SetSamplingFrequencies(layout[0], layout[1], 1, 1, 1, 1);
            ASSERT_EQ(b.SampleHDC(dc, w, h, left, top), 0);
            for (size_t c = 0; c < 3; ++c) {
                EXPECT_EQ(a.Components()[c].Coefficients, b.Components()[c].Coefficients)
                    << what << " " << c;
            }
        };
        check(*indexed.dc, 0, 0, "8-bit");
        check(viewDc, 0, 0, "32-bit view");
        check(*framed.dc, 4, 5, "offset");
    }
}

TEST(Sampling, EverySourceFormatGivesTheSameCoefficients) {
    expectSameFromEverySource(45, 27);  // chroma sizes that split source pixels
    expectSameFromEverySource(48, 36);  // chroma sizes that divide the picture evenly
}

TEST(Sampling, RectanglesReachingOutsideTheSource) {
    const Picture pic = naturalPicture(30, 20);
    JpegEncoder encoder;
    // Only part of the rectangle exists; the rest of the working bitmap is black.
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 30, 20, 10, 5), 0);
    const auto stream = encoder.EncodeStream();
    EXPECT_EQ(decode(stream).warnings, 0);
    DrawingContext empty;
    EXPECT_EQ(encoder.SampleHDC(empty, 16, 16, 0, 0), 0);  // nothing to copy from
    EXPECT_EQ(encoder.SampleHDC(*pic.dc, 0, 10, 0, 0), 1);
    EXPECT_EQ(encoder.SampleHDC(*pic.dc, 10, -1, 0, 0), 1);
}
