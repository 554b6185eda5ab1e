#include <gtest/gtest.h>

#include "OutputBuffer.h"
#include "ScanGrouping.h"
#include "SegmentWriter.h"
#include "StreamCheck.h"

using namespace tessaro;
using namespace tessaro::jpeg;
using namespace tessaro::jpegtest;

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<ScanGroup> groupsFor(std::vector<std::pair<int, int>> factors) {
    std::vector<Component> components;
    for (auto [h, v] : factors) {
        Component c;
        c.H = h;
        c.V = v;
        components.push_back(c);
    }
    return groupScans(components);
}

Bytes prefix(const Bytes& bytes, size_t n) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(std::min(n, bytes.size())));
}

}  // namespace

TEST(ScanGrouping, TenBlocksPerMcuAtMost) {
    using G = std::vector<ScanGroup>;
    EXPECT_EQ(groupsFor({{2, 2}, {1, 1}, {1, 1}}), (G{{0, 1, 2}}));
    EXPECT_EQ(groupsFor({{3, 3}, {1, 1}, {1, 1}}), (G{{0, 1}, {2}}));
    EXPECT_EQ(groupsFor({{4, 4}, {1, 1}, {1, 1}}), (G{{0}, {1, 2}}));
    EXPECT_EQ(groupsFor({{4, 2}, {1, 1}, {1, 1}}), (G{{0, 1, 2}}));
    EXPECT_EQ(groupsFor({{2, 2}, {2, 2}, {2, 2}}), (G{{0, 1}, {2}}));
    EXPECT_EQ(groupsFor({{4, 4}, {4, 4}, {4, 4}}), (G{{0}, {1}, {2}}));
    EXPECT_EQ(groupsFor({{1, 1}}), (G{{0}}));
}

TEST(StreamLayout, DefaultColourImage) {
    JpegEncoder encoder;
    const Picture pic = naturalPicture(40, 24);
    const Bytes s = encodeAndCheck(encoder, pic);
    const Bytes head = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46,
                        0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
    EXPECT_EQ(prefix(s, 20), head);
    const auto segs = segmentsOf(s);
    std::vector<int> markers;
    for (const Segment& seg : segs) {
        markers.push_back(seg.marker);
    }
    EXPECT_EQ(markers,
              (std::vector<int>{0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}));
    EXPECT_EQ(segs[2].offset, 20u);  // no comment: APP0 followed directly by DQT
    for (int t = 0; t < 2; ++t) {
        Bytes dqt = {0xFF, 0xDB, 0x00, 0x43, static_cast<uint8_t>(t)};
        for (int16_t v : encoder.QuantTable(t).Values) {
            dqt.push_back(static_cast<uint8_t>(v));
        }
        EXPECT_EQ(segs[2 + t].bytes, dqt);
    }
    EXPECT_EQ(segs[4].bytes, (Bytes{0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 24, 0x00, 40, 0x03, 0x01,
                                    0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01}));
    const int classes[4] = {0x00, 0x10, 0x01, 0x11};
    for (int i = 0; i < 4; ++i) {
        const Bytes& dht = segs[5 + i].bytes;
        EXPECT_EQ(dht[4], classes[i]);
        const HuffmanTable& t =
            (classes[i] & 0x10) ? encoder.AcTable(classes[i] & 1) : encoder.DcTable(classes[i] & 1);
        size_t n = 0;
        for (int l = 0; l < 16; ++l) {
            EXPECT_EQ(dht[5 + l], t.Bits[l]);
            n += dht[5 + l];
        }
        EXPECT_EQ(dht.size(), 21 + n);
        EXPECT_EQ(((dht[2] << 8) | dht[3]), static_cast<int>(19 + n));
    }
    EXPECT_EQ(segs[9].bytes, (Bytes{0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03,
                                    0x11, 0x00, 0x3F, 0x00}));
    EXPECT_EQ(s[s.size() - 2], 0xFF);
    EXPECT_EQ(s[s.size() - 1], 0xD9);
    EXPECT_EQ(segs.back().offset, s.size() - 2);
}

TEST(StreamLayout, CommentAndQualityHundred) {
    JpegEncoder encoder;
    encoder.setQuality(100);
    encoder.setComment("abc");
    const Bytes s = encodeAndCheck(encoder, naturalPicture(16, 16));
    EXPECT_EQ(Bytes(s.begin() + 20, s.begin() + 27),
              (Bytes{0xFF, 0xFE, 0x00, 0x05, 0x61, 0x62, 0x63}));
    const auto dqts = segmentsWith(segmentsOf(s), 0xDB);
    ASSERT_EQ(dqts.size(), 2u);
    for (const Segment& dqt : dqts) {
        ASSERT_EQ(dqt.bytes.size(), 69u);
        for (size_t i = 5; i < 69; ++i) {
            EXPECT_EQ(dqt.bytes[i], 1);
        }
    }
    // Comment bytes pass through as they are (Windows-1252 text).
    encoder.setComment(std::string("caf\xE9", 4));
    const Bytes s2 = encoder.EncodeStream();
    EXPECT_EQ(Bytes(s2.begin() + 20, s2.begin() + 28),
              (Bytes{0xFF, 0xFE, 0x00, 0x06, 'c', 'a', 'f', 0xE9}));
    EXPECT_EQ(decode(s2).warnings, 0);
}

TEST(StreamLayout, Greyscale) {
    JpegEncoder encoder;
    encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    const Bytes s = encodeAndCheck(encoder, naturalPicture(300, 2));
    const auto segs = segmentsOf(s);
    EXPECT_EQ(segmentsWith(segs, 0xDB).size(), 1u);
    EXPECT_EQ(segmentsWith(segs, 0xC4).size(), 2u);
    EXPECT_EQ(segmentsWith(segs, 0xC0)[0].bytes, (Bytes{0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x02,
                                                        0x01, 0x2C, 0x01, 0x01, 0x11, 0x00}));
    const auto scans = segmentsWith(segs, 0xDA);
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0].bytes, (Bytes{0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00}));
}

TEST(StreamLayout, ScansOfLargeLuminanceFactors) {
    JpegEncoder encoder;
    encoder.SetSamplingFrequencies(4, 4, 1, 1, 1, 1);
    auto scans = segmentsWith(segmentsOf(encodeAndCheck(encoder, naturalPicture(70, 45))), 0xDA);
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_EQ(scans[0].bytes, (Bytes{0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00}));
    EXPECT_EQ(scans[1].bytes,
              (Bytes{0xFF, 0xDA, 0x00, 0x0A, 0x02, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00}));

    encoder.SetSamplingFrequencies(3, 3, 1, 1, 1, 1);
    scans = segmentsWith(segmentsOf(encodeAndCheck(encoder, naturalPicture(70, 45))), 0xDA);
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_EQ(scans[0].bytes,
              (Bytes{0xFF, 0xDA, 0x00, 0x0A, 0x02, 0x01, 0x00, 0x02, 0x11, 0x00, 0x3F, 0x00}));
    EXPECT_EQ(scans[1].bytes, (Bytes{0xFF, 0xDA, 0x00, 0x08, 0x01, 0x03, 0x11, 0x00, 0x3F, 0x00}));
}

TEST(StreamLayout, QuantTablePrecision) {
    QuantTable wide;
    wide.Values.fill(2);
    wide.Values[3] = 300;
    OutputBuffer out;
    try {
        WriteQuantTable(out, 0, 0, wide, 8);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 1);
        EXPECT_EQ(e.text(), "Illegal precission in Quantization Table");
    }
    OutputBuffer out12;
    WriteQuantTable(out12, 0, 1, wide, 12);
    const Bytes b = out12.take();
    ASSERT_EQ(b.size(), 133u);
    EXPECT_EQ(prefix(b, 7), (Bytes{0xFF, 0xDB, 0x00, 0x83, 0x11, 0x00, 0x02}));
    EXPECT_EQ(b[5 + 2 * 3], 0x01);
    EXPECT_EQ(b[6 + 2 * 3], 0x2C);

    // A second table appended to an open segment shares its marker and length.
    OutputBuffer shared;
    QuantTable narrow;
    narrow.Values.fill(9);
    WriteQuantTable(shared, 0, 0, narrow, 8);
    WriteQuantTable(shared, 0, 1, narrow, 8);
    const Bytes two = shared.take();
    ASSERT_EQ(two.size(), 2u + 2 + 2 * 65);
    EXPECT_EQ(prefix(two, 4), (Bytes{0xFF, 0xDB, 0x00, 0x84}));
    EXPECT_EQ(two[4 + 65], 0x01);
}

TEST(StreamLayout, SizesThatDoNotFitOverflow) {
    OutputBuffer out;
    std::vector<Component> one(1);
    one[0].Id = 1;
    try {
        WriteFrameHeader(out, 0xC0, 8, 65536, 10, one);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    WriteFrameHeader(out, 0xC0, 8, 65535, 65535, one);

    JpegEncoder encoder;
    const Picture pic = naturalPicture(8, 8);
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 8, 8, 0, 0), 0);
    encoder.setComment(std::string(65533, 'c'));  // segment length 65535 still fits
    const Bytes s = encoder.EncodeStream();
    EXPECT_EQ(decode(s).warnings, 0);
    encoder.setComment(std::string(65534, 'c'));
    try {
        encoder.EncodeStream();
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}
