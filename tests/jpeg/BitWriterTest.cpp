#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "BitWriter.h"

using namespace tessaro::jpeg;

namespace {

// The bit writer in its plainest form: one bit at a time into a byte with a mask.
struct ReferenceBits {
    std::vector<uint8_t> out;
    int byte = 0;
    int mask = 128;

    void put(uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) {
            if ((value >> i) & 1) {
                byte |= mask;
            }
            mask >>= 1;
            if (mask == 0) {
                out.push_back(static_cast<uint8_t>(byte));
                if (byte == 0xFF) {
                    out.push_back(0);
                }
                byte = 0;
                mask = 128;
            }
        }
    }

    void flush() {
        while (mask != 128) {
            put(1, 1);
        }
    }
};

}  // namespace

TEST(BitWriter, LongRandomStreamsMatchTheBitByBitWriter) {
    std::mt19937 random(17);
    for (int stream = 0; stream < 200; ++stream) {
        // Streams rich in 1-bits produce many 0xFF bytes, stuffed inside whole words.
        const bool ones = stream % 3 == 0;
        OutputBuffer out(stream % 2 == 0 ? 0 : 100);
        out.putByte(0xAB);  // bytes before the coded data stay
        BitWriter bits(out);
        ReferenceBits expected;
        expected.out.push_back(0xAB);
        const int puts = static_cast<int>(random() % 3000);
        for (int i = 0; i < puts; ++i) {
            if (i % 64 == 0) {
                bits.ensure(64 * 8);
            }
            const int length = static_cast<int>(random() % 33);
            uint32_t value = static_cast<uint32_t>(random());
            if (ones) {
                value |= static_cast<uint32_t>(random()) | 0xFFFF00FFu;
            }
            bits.put(value, length);
            expected.put(length == 32 ? value : value & ((1u << length) - 1), length);
        }
        bits.flush();
        expected.flush();
        ASSERT_EQ(out.take(), expected.out) << "stream " << stream;
    }
}

TEST(BitWriter, FlushLeavesAWholeWordStuffed) {
    // 64 one-bits make eight 0xFF bytes, each followed by 0x00; then 3 zero bits padded to
    // 0x1F.
    OutputBuffer out;
    BitWriter bits(out);
    bits.ensure(32);
    bits.put(0xFFFFFFFFu, 32);
    bits.put(0xFFFFFFFFu, 32);
    bits.put(0, 3);
    bits.flush();
    std::vector<uint8_t> expected;
    for (int i = 0; i < 8; ++i) {
        expected.push_back(0xFF);
        expected.push_back(0x00);
    }
    expected.push_back(0x1F);
    EXPECT_EQ(out.take(), expected);
}
