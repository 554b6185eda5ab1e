#include <gtest/gtest.h>

#include <string>

#include "BitWriter.h"
#include "HuffmanStatistics.h"
#include "HuffmanTable.h"
#include "RuntimeError.h"
#include "ScanWriter.h"

using namespace tessaro;
using namespace tessaro::jpeg;

namespace {

std::string bitsOf(const std::vector<uint8_t>& bytes) {
    std::string s;
    for (uint8_t b : bytes) {
        for (int i = 7; i >= 0; --i) {
            s += ((b >> i) & 1) ? '1' : '0';
        }
    }
    return s;
}

std::string code(int value, int length) {
    std::string s;
    for (int i = length - 1; i >= 0; --i) {
        s += ((value >> i) & 1) ? '1' : '0';
    }
    return s;
}

// DC: categories 0..11 as 4-bit codes 0..11. AC: EOB, ZRL, then run*16+cat for run 0..15 and
// cat 1..10, as 8-bit codes in that order.
HuffmanTable testDcTable() {
    HuffmanTable t;
    t.Bits[3] = 12;
    for (int s = 0; s < 12; ++s) {
        t.HuffVal[s] = static_cast<uint8_t>(s);
    }
    BuildCodes(t, 11);
    return t;
}

int acIndex(int symbol) {
    if (symbol == 0x00) {
        return 0;
    }
    if (symbol == 0xF0) {
        return 1;
    }
    return 2 + (symbol >> 4) * 10 + (symbol & 15) - 1;
}

HuffmanTable testAcTable() {
    HuffmanTable t;
    t.Bits[7] = 162;
    t.HuffVal[0] = 0x00;
    t.HuffVal[1] = 0xF0;
    for (int run = 0; run < 16; ++run) {
        for (int cat = 1; cat <= 10; ++cat) {
            t.HuffVal[acIndex(run * 16 + cat)] = static_cast<uint8_t>(run * 16 + cat);
        }
    }
    BuildCodes(t, 255);
    return t;
}

// The block coded from predictor `predictor`, padded, as a bit string.
std::string encoded(const std::array<int16_t, 64>& block, int32_t predictor) {
    OutputBuffer out;
    BitWriter bits(out);
    bits.ensure(2048);
    const HuffmanTable dc = testDcTable();
    const HuffmanTable ac = testAcTable();
    EncodeBlock(bits, block.data(), predictor, dc, ac);
    bits.flush();
    return bitsOf(out.take());
}

std::string padded(std::string bits) {
    while (bits.size() % 8 != 0) {
        bits += '1';
    }
    return bits;
}

void expectBadTable(HuffmanTable& t, int32_t largest) {
    try {
        BuildCodes(t, largest);
        FAIL() << "accepted";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 1);
        EXPECT_EQ(e.text(), "Bad Huffman Table");
    }
}

}  // namespace

TEST(EncodeBlock, AllZeroAcEndsWithEob) {
    std::array<int16_t, 64> block{};
    block[0] = 5;
    EXPECT_EQ(encoded(block, 0), padded(code(3, 4) + "101" + code(acIndex(0x00), 8)));
    // The predictor makes the difference: 5 - 5 = 0, category 0 without value bits.
    EXPECT_EQ(encoded(block, 5), padded(code(0, 4) + code(acIndex(0x00), 8)));
}

TEST(EncodeBlock, DcDifferenceBits) {
    std::array<int16_t, 64> block{};
    block[0] = -3;
    EXPECT_EQ(encoded(block, 0), padded(code(2, 4) + "00" + code(0, 8)));
    block[0] = 3;
    EXPECT_EQ(encoded(block, 0), padded(code(2, 4) + "11" + code(0, 8)));
    block[0] = -1;
    EXPECT_EQ(encoded(block, 0), padded(code(1, 4) + "0" + code(0, 8)));
    block[0] = -1024;
    EXPECT_EQ(encoded(block, 0), padded(code(11, 4) + "01111111111" + code(0, 8)));
}

TEST(EncodeBlock, LastCoefficientSetEndsWithoutEob) {
    std::array<int16_t, 64> block{};
    block[63] = -2;
    // 62 zeros: three ZRL and a run of 14, category 2 with bits 01.
    const std::string zrl = code(acIndex(0xF0), 8);
    EXPECT_EQ(encoded(block, 0),
              padded(code(0, 4) + zrl + zrl + zrl + code(acIndex(0xE2), 8) + "01"));
}

TEST(EncodeBlock, SeventeenZerosThenOne) {
    std::array<int16_t, 64> block{};
    block[18] = 1;
    EXPECT_EQ(encoded(block, 0), padded(code(0, 4) + code(acIndex(0xF0), 8) +
                                        code(acIndex(0x11), 8) + "1" + code(acIndex(0x00), 8)));
}

TEST(EncodeBlock, SixteenZerosNeedNoZrlBeforeEob) {
    std::array<int16_t, 64> block{};
    block[1] = 7;
    block[47] = -4;  // 45 zeros before it; 16 trailing zeros end in EOB only
    EXPECT_EQ(encoded(block, 0),
              padded(code(0, 4) + code(acIndex(0x03), 8) + "111" + code(acIndex(0xF0), 8) +
                     code(acIndex(0xF0), 8) + code(acIndex(0xD3), 8) + "011" + code(0, 8)));
}

TEST(BitWriter, StuffsFfAndPadsWithOnes) {
    OutputBuffer out;
    BitWriter bits(out);
    bits.ensure(64);
    bits.put(0xFF, 8);
    bits.put(0x12, 8);
    bits.put(0x7, 3);  // 111, padded to 0xFF and stuffed as well
    bits.put(0x1F, 5);
    bits.put(0x0, 1);
    bits.flush();
    EXPECT_EQ(out.take(), (std::vector<uint8_t>{0xFF, 0x00, 0x12, 0xFF, 0x00, 0x7F}));

    OutputBuffer out2;
    BitWriter bits2(out2);
    bits2.ensure(8);
    bits2.put(0xF, 4);
    bits2.flush();  // 1111 + pad 1111 = 0xFF
    EXPECT_EQ(out2.take(), (std::vector<uint8_t>{0xFF, 0x00}));
}

TEST(OutputBuffer, GrowsPastItsFirstSize) {
    OutputBuffer out(4);
    for (int i = 0; i < 100000; ++i) {
        out.putByte(i & 0xFF);
    }
    out.put16(0x1234);
    EXPECT_EQ(out.position(), 100002);
    const auto bytes = out.take();
    ASSERT_EQ(bytes.size(), 100002u);
    EXPECT_EQ(bytes[99999], 99999 & 0xFF);
    EXPECT_EQ(bytes[100000], 0x12);
    try {
        OutputBuffer small;
        small.put16(65536);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(OptimalTable, OneSymbolGetsTheOneBitCodeZero) {
    SymbolCounts counts{};
    counts[0x42] = 17;
    HuffmanTable t;
    OptimalTable(t, counts);
    EXPECT_EQ(t.Bits[0], 1);
    EXPECT_EQ(t.symbolCount(), 1);
    EXPECT_EQ(t.HuffVal[0], 0x42);
    BuildCodes(t, 255);
    EXPECT_EQ(t.Code[0x42], 0);
    EXPECT_EQ(t.CodeTop[0x42], 1);
    for (int32_t c : counts) {
        EXPECT_EQ(c, 0);
    }
}

TEST(OptimalTable, TiesGoToTheHigherSymbol) {
    SymbolCounts counts{};
    counts[0] = 1;
    counts[1] = 1;
    counts[2] = 2;
    HuffmanTable t;
    OptimalTable(t, counts);
    EXPECT_EQ(t.Bits[0], 1);
    EXPECT_EQ(t.Bits[1], 1);
    EXPECT_EQ(t.Bits[2], 1);
    EXPECT_EQ(t.HuffVal[0], 2);
    EXPECT_EQ(t.HuffVal[1], 0);
    EXPECT_EQ(t.HuffVal[2], 1);
    BuildCodes(t, 11);
    EXPECT_EQ(t.Code[2], 0b0);
    EXPECT_EQ(t.Code[0], 0b10);
    EXPECT_EQ(t.Code[1], 0b110);
    EXPECT_EQ(t.CodeTop[1], 4);
}

TEST(OptimalTable, LimitsCodesToSixteenBits) {
    SymbolCounts counts{};
    int32_t a = 1;
    int32_t b = 1;
    for (int s = 0; s < 40; ++s) {
        counts[s] = a;  // Fibonacci counts make a maximally deep tree
        const int32_t next = a + b;
        a = b;
        b = next;
    }
    const SymbolCounts kept = counts;
    HuffmanTable t;
    OptimalTable(t, counts);
    EXPECT_EQ(t.symbolCount(), 40);
    BuildCodes(t, 255);
    double kraft = 0;
    for (int s = 0; s < 40; ++s) {
        ASSERT_GE(t.Length[s], 1) << s;
        ASSERT_LE(t.Length[s], 16) << s;
        kraft += 1.0 / (1 << t.Length[s]);
    }
    EXPECT_LT(kraft, 1.0);     // the all-ones code of the longest length stays unused
    EXPECT_GT(t.Bits[15], 0);  // the limit was reached
    EXPECT_LE(t.Length[39], 2);
    EXPECT_GT(kept[39], 0);
}

TEST(BuildCodes, RefusesInconsistentTables) {
    HuffmanTable allOnes;
    allOnes.Bits[0] = 2;
    allOnes.HuffVal[0] = 0;
    allOnes.HuffVal[1] = 1;
    expectBadTable(allOnes, 255);

    HuffmanTable duplicate;
    duplicate.Bits[1] = 2;
    duplicate.HuffVal[0] = 3;
    duplicate.HuffVal[1] = 3;
    expectBadTable(duplicate, 255);

    HuffmanTable tooLarge;
    tooLarge.Bits[1] = 1;
    tooLarge.HuffVal[0] = 12;
    expectBadTable(tooLarge, 11);
    BuildCodes(tooLarge, 255);

    HuffmanTable empty;
    expectBadTable(empty, 255);

    HuffmanTable tooMany;
    tooMany.Bits[7] = 200;
    tooMany.Bits[8] = 100;
    expectBadTable(tooMany, 255);
}

TEST(OptimizeTables, FillerBlocksGetAnEobCode) {
    // One luminance block of a 2x2-sampled 8x8 image whose coefficients are all nonzero: no
    // stored block ends in zeros, yet three filler blocks of the MCU need EOB.
    Component y;
    y.Id = 1;
    y.H = 2;
    y.V = 2;
    y.PaddedWidth = 8;
    y.PaddedHeight = 8;
    y.Coefficients.assign(64, 1);
    Component cb = y;
    cb.Id = 2;
    cb.H = 1;
    cb.V = 1;
    cb.Td = cb.Ta = 1;
    Component cr = cb;
    cr.Id = 3;
    std::array<HuffmanTable, 4> dc{};
    std::array<HuffmanTable, 4> ac{};
    OptimizeTables({y, cb, cr}, FrameGeometry{8, 8, 2, 2, 8}, dc, ac);
    EXPECT_GT(ac[0].Length[0x00], 0);
    EXPECT_GT(dc[0].Length[0], 0);     // the filler blocks' DC category
    EXPECT_EQ(ac[1].Length[0x00], 0);  // chroma has no filler blocks

    // A single-component scan has no filler blocks: its table keeps no EOB.
    Component grey = y;
    grey.H = 1;
    grey.V = 1;
    OptimizeTables({grey}, FrameGeometry{8, 8, 1, 1, 8}, dc, ac);
    EXPECT_EQ(ac[0].Length[0x00], 0);
}

TEST(OptimizeTables, EstimateCountsCodeAndValueBits) {
    Component grey;
    grey.Id = 1;
    grey.PaddedWidth = 16;
    grey.PaddedHeight = 8;
    grey.Coefficients.assign(128, 0);
    grey.Coefficients[0] = 3;   // DC difference 3: category 2
    grey.Coefficients[64] = 3;  // difference 0: category 0
    std::array<HuffmanTable, 4> dc{};
    std::array<HuffmanTable, 4> ac{};
    const int64_t bytes = OptimizeTables({grey}, FrameGeometry{16, 8, 1, 1, 8}, dc, ac);
    // DC: category 0 gets 1 bit, category 2 (tied, lower symbol) 2 bits + 2 value bits;
    // AC: EOB alone, 1 bit each. 1 + 4 + 2 = 7 bits -> 1 byte.
    EXPECT_EQ(bytes, 1);
    EXPECT_EQ(dc[0].Length[2], 2);
    EXPECT_EQ(dc[0].Length[0], 1);
    EXPECT_EQ(ac[0].Length[0], 1);

    // Nine more category-0 blocks: DC 10 * 1 + (2 + 2), AC 11 * 1: 25 bits -> 4 bytes.
    grey.PaddedWidth = 88;
    grey.Coefficients.resize(64 * 11, 0);
    for (size_t p = 128; p < grey.Coefficients.size(); p += 64) {
        grey.Coefficients[p] = 3;
    }
    EXPECT_EQ(OptimizeTables({grey}, FrameGeometry{88, 8, 1, 1, 8}, dc, ac), 4);
}
