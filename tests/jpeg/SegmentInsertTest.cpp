#include <gtest/gtest.h>

#include "RuntimeError.h"
#include "SegmentInsert.h"
#include "StreamCheck.h"

namespace tessaro::jpegtest {

namespace {

std::vector<uint8_t> encoded() {
    JpegEncoder encoder;
    encoder.setQuality(80);
    return encodeAndCheck(encoder, naturalPicture(40, 30));
}

std::vector<uint8_t> filler(size_t size) {
    std::vector<uint8_t> body(size);
    for (size_t i = 0; i < size; ++i)
        body[i] = static_cast<uint8_t>(i * 7 + 3);
    return body;
}

}  // namespace

TEST(SegmentInsert, PlacesTheSegmentAfterJfifAndLeavesEveryEncoderByte) {
    const std::vector<uint8_t> stream = encoded();
    const Decoded before = decode(stream);
    for (const size_t size : {size_t{0}, size_t{1}, size_t{5000}, jpeg::kMaxSegmentBody}) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> body = filler(size);
        std::vector<uint8_t> file = stream;
        jpeg::InsertSegment(file, 0xE1, body.data(), body.size());

        const std::vector<Segment> segments = segmentsOf(file);
        ASSERT_GE(segments.size(), 3u);
        EXPECT_EQ(segments[1].marker, 0xE0);
        EXPECT_EQ(segments[2].marker, 0xE1);
        const size_t at = segments[2].offset;
        EXPECT_EQ(at, 2u + 18u);
        EXPECT_EQ(size_t{file[at + 2]} << 8 | file[at + 3], size + 2);
        EXPECT_TRUE(std::equal(body.begin(), body.end(), file.begin() + at + 4));

        std::vector<uint8_t> without = file;
        without.erase(without.begin() + at, without.begin() + at + 4 + size);
        EXPECT_EQ(without, stream);
        const Decoded after = decode(file);
        EXPECT_EQ(after.error, "");
        EXPECT_EQ(after.warnings, 0);
        EXPECT_EQ(after.pixels, before.pixels);
    }
}

TEST(SegmentInsert, GoesRightAfterTheStartWithoutJfifAndRefusesWhatCannotHoldIt) {
    std::vector<uint8_t> bare = encoded();
    bare.erase(bare.begin() + 2, bare.begin() + 20);  // no APP0
    const std::vector<uint8_t> body = filler(10);
    std::vector<uint8_t> file = bare;
    jpeg::InsertSegment(file, 0xE1, body.data(), body.size());
    EXPECT_EQ(file[2], 0xFF);
    EXPECT_EQ(file[3], 0xE1);
    file.erase(file.begin() + 2, file.begin() + 2 + 4 + 10);
    EXPECT_EQ(file, bare);

    std::vector<uint8_t> cutApp0 = encoded();
    cutApp0.resize(12);
    const std::vector<uint8_t> tooLong = filler(jpeg::kMaxSegmentBody + 1);
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        const std::vector<uint8_t>& body;
    } cases[] = {
        {"body over 16 bits", encoded(), tooLong},
        {"no start of image", {0x00, 0xD8, 0xFF, 0xE0}, body},
        {"empty", {}, body},
        {"APP0 cut short", cutApp0, body},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> target = c.file;
        try {
            jpeg::InsertSegment(target, 0xE1, c.body.data(), c.body.size());
            ADD_FAILURE() << "accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::kInvalidCall);
        }
        EXPECT_EQ(target, c.file);
    }
}

}  // namespace tessaro::jpegtest
