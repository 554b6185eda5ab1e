#include <gtest/gtest.h>

#include "HuffmanStatistics.h"
#include "JpegEncoder.h"
#include "TestPictures.h"

using namespace tessaro;
using namespace tessaro::jpeg;
using namespace tessaro::jpegtest;

TEST(SampledStatistics, AgreeWithCountsTakenFromTheCoefficients) {
    const int layouts[][6] = {
        {2, 2, 1, 1, 1, 1}, {4, 2, 1, 1, 1, 1}, {4, 4, 1, 1, 1, 1}, {1, 1, 0, 0, 0, 0}};
    for (const auto& f : layouts) {
        for (const Picture& pic : {naturalPicture(61, 35, 4), noisePicture(40, 24, 9)}) {
            SCOPED_TRACE(testing::Message() << f[0] << "x" << f[1] << " " << pic.width());
            JpegEncoder encoder;
            encoder.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
            ASSERT_EQ(encoder.SampleHDC(*pic.dc, pic.width(), pic.height(), 0, 0), 0);

            std::vector<Component> sampled = encoder.Components();
            std::vector<Component> plain = sampled;
            for (size_t i = 0; i < sampled.size(); ++i) {
                const Component& c = sampled[i];
                ASSERT_TRUE(c.Statistics.valid);
                SymbolCounts counts{};
                const size_t blocks = c.Coefficients.size() / 64;
                ASSERT_EQ(c.Statistics.dc.size(), blocks);
                for (size_t b = 0; b < blocks; ++b) {
                    CountAcSymbols(c.Coefficients.data() + 64 * b, counts);
                    ASSERT_EQ(c.Statistics.dc[b], c.Coefficients[64 * b]) << "block " << b;
                }
                EXPECT_EQ(c.Statistics.acCounts, counts) << "component " << i;
                plain[i].Statistics.valid = false;
                for (Component* x : {&sampled[i], &plain[i]}) {
                    x->Td = x->Ta = i == 0 ? 0 : 1;
                }
            }

            // The tables and the estimate do not depend on where the counts came from.
            const FrameGeometry frame{pic.width(), pic.height(), encoder.Hmax(), encoder.Vmax(), 8};
            std::array<HuffmanTable, 4> dcA{}, acA{}, dcB{}, acB{};
            EXPECT_EQ(OptimizeTables(sampled, frame, dcA, acA),
                      OptimizeTables(plain, frame, dcB, acB));
            for (size_t t = 0; t < 2; ++t) {
                EXPECT_EQ(dcA[t].Bits, dcB[t].Bits);
                EXPECT_EQ(dcA[t].HuffVal, dcB[t].HuffVal);
                EXPECT_EQ(acA[t].Bits, acB[t].Bits);
                EXPECT_EQ(acA[t].HuffVal, acB[t].HuffVal);
            }
        }
    }
}

TEST(SampledStatistics, DroppedWithTheSampledData) {
    const Picture pic = naturalPicture(20, 20);
    JpegEncoder encoder;
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 20, 20, 0, 0), 0);
    EXPECT_TRUE(encoder.Components()[0].Statistics.valid);
    encoder.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    for (const Component& c : encoder.Components()) {
        EXPECT_FALSE(c.Statistics.valid);
    }
}
