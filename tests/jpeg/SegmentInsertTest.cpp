#include <gtest/gtest.h>

#include "RuntimeError.h"
#include "SegmentInsert.h"
#include "StreamCheck.h"

namespace tessaro::jpegtest {

namespace {

std::vector<uint8_t> encoded() {
    JpegEncoder encoder;
    return encodeAndCheck(encoder, naturalPicture(40, 30));
}

}  // namespace

TEST(SegmentInsert, PlacesTheSegmentAfterJfifAndLeavesEveryEncoderByte) {
    const std::vector<uint8_t> stream = encoded();
    std::vector<uint8_t> bare = stream;
    bare.erase(bare.begin() + 2, bare.begin() + 20);  // no JFIF segment: right after SOI
    for (const auto& [original, at] : {std::pair{stream, size_t{20}}, std::pair{bare, size_t{2}}}) {
        for (const size_t size : {size_t{0}, size_t{5000}, jpeg::kMaxSegmentBody}) {
            SCOPED_TRACE(testing::Message() << "at " << at << " size " << size);
            std::vector<uint8_t> body(size);
            for (size_t i = 0; i < size; ++i)
                body[i] = static_cast<uint8_t>(i * 7 + 3);
            std::vector<uint8_t> file = original;
            jpeg::InsertSegment(file, 0xE1, body.data(), body.size());

            const std::vector<uint8_t> head = {0xFF, 0xE1, static_cast<uint8_t>((size + 2) >> 8),
                                               static_cast<uint8_t>((size + 2) & 0xFF)};
            EXPECT_TRUE(std::equal(head.begin(), head.end(), file.begin() + at));
            EXPECT_TRUE(std::equal(body.begin(), body.end(), file.begin() + at + 4));
            std::vector<uint8_t> without = file;
            without.erase(without.begin() + at, without.begin() + at + 4 + size);
            EXPECT_EQ(without, original);
            const Decoded decoded = decode(file);
            EXPECT_EQ(decoded.error, "");
            EXPECT_EQ(decoded.warnings, 0);
            EXPECT_EQ(decoded.pixels, decode(original).pixels);
        }
    }
}

TEST(SegmentInsert, RefusesWhatCannotHoldItAndChangesNothing) {
    std::vector<uint8_t> cutApp0 = encoded();
    cutApp0.resize(12);
    const std::vector<uint8_t> small(10, 0x42);
    const std::vector<uint8_t> tooLong(jpeg::kMaxSegmentBody + 1, 0x42);
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        const std::vector<uint8_t>& body;
    } cases[] = {
        {"body over 16 bits", encoded(), tooLong},
        {"no start of image", {0x00, 0xD8, 0xFF, 0xE0}, small},
        {"empty", {}, small},
        {"APP0 cut short", cutApp0, small},
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
