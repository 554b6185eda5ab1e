#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "JpegEncoder.h"

using namespace tessaro;

namespace {

void expectError(const std::function<void()>& action, int number, const std::string& text) {
    try {
        action();
        FAIL() << "expected \"" << text << "\"";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.text(), text);
    }
}

struct Factors {
    int32_t h;
    int32_t v;
    int32_t tq;
};

void expectComponents(const JpegEncoder& encoder, const std::vector<Factors>& expected) {
    ASSERT_EQ(encoder.Components().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(encoder.Components()[i].H, expected[i].h) << i;
        EXPECT_EQ(encoder.Components()[i].V, expected[i].v) << i;
        EXPECT_EQ(encoder.Components()[i].Tq, expected[i].tq) << i;
    }
}

}  // namespace

TEST(EncoderSettings, Defaults) {
    JpegEncoder encoder;
    EXPECT_EQ(encoder.Quality(), 75);
    EXPECT_EQ(encoder.Comment(), "");
    expectComponents(encoder, {{2, 2, 0}, {1, 1, 1}, {1, 1, 1}});
    EXPECT_EQ(encoder.Hmax(), 2);
    EXPECT_EQ(encoder.Vmax(), 2);
}

TEST(EncoderSettings, QualityOutOfRangeIsIgnored) {
    JpegEncoder encoder;
    encoder.setQuality(40);
    const auto table = encoder.QuantTable(0).Values;
    encoder.setQuality(0);
    EXPECT_EQ(encoder.Quality(), 40);
    encoder.setQuality(101);
    EXPECT_EQ(encoder.Quality(), 40);
    EXPECT_EQ(encoder.QuantTable(0).Values, table);
}

TEST(EncoderSettings, SamplingFactors) {
    JpegEncoder encoder;
    encoder.SetSamplingFrequencies(3, 4, 0, 0, 0, 0);
    expectComponents(encoder, {{1, 1, 0}});
    EXPECT_EQ(encoder.Hmax(), 1);
    EXPECT_EQ(encoder.Vmax(), 1);

    encoder.SetSamplingFrequencies(1, 2, 2, 1, 1, 1);
    expectComponents(encoder, {{1, 2, 0}, {2, 1, 1}, {1, 1, 1}});
    EXPECT_EQ(encoder.Hmax(), 2);
    EXPECT_EQ(encoder.Vmax(), 2);

    encoder.SetSamplingFrequencies(4, 3, 1, 1, 1, 1);
    EXPECT_EQ(encoder.Hmax(), 4);
    EXPECT_EQ(encoder.Vmax(), 3);
}

TEST(EncoderSettings, InvalidSamplingKeepsTheComponents) {
    JpegEncoder encoder;
    encoder.SetSamplingFrequencies(3, 1, 1, 1, 1, 1);
    const auto bad = [&](int32_t h1, int32_t v1, int32_t h2, int32_t v2, int32_t h3, int32_t v3) {
        expectError([&] { encoder.SetSamplingFrequencies(h1, v1, h2, v2, h3, v3); }, 1,
                    "Invalid Sampling Value");
    };
    bad(0, 1, 0, 0, 0, 0);
    bad(1, 5, 0, 0, 0, 0);
    bad(2, 2, 1, 0, 1, 1);
    bad(2, 2, 1, 1, 5, 1);
    bad(2, 2, -1, 1, 1, 1);
    expectComponents(encoder, {{3, 1, 0}, {1, 1, 1}, {1, 1, 1}});
}

TEST(EncoderSettings, CommentLength) {
    JpegEncoder encoder;
    encoder.setComment("abc");
    EXPECT_EQ(encoder.Comment(), "abc");
    encoder.setComment(std::string(65535, 'x'));
    EXPECT_EQ(encoder.Comment().size(), 65535u);
    expectError([&] { encoder.setComment(std::string(65536, 'y')); }, 1, "Illegal Comment Length");
    EXPECT_EQ(encoder.Comment(), std::string(65535, 'x'));
}
