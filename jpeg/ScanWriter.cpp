#include "ScanWriter.h"

#include <algorithm>

#include "BlockSymbols.h"

namespace tessaro::jpeg {

namespace {

// Worst case for one block: 64 symbols of 16 code bits and 16 value bits, every byte stuffed.
constexpr size_t kMaxBlockBytes = 64 * 32 / 8 * 2 + 16;

// The code of a symbol, nothing for a symbol without one (length 0, code -1).
inline uint32_t codeOf(const HuffmanTable& table, int symbol, int length) {
    return static_cast<uint32_t>(table.Code[symbol]) & ~(~0u << length);
}

inline void putSymbol(BitWriter::Sink& sink, const HuffmanTable& table, int symbol) {
    const int length = table.Length[symbol];
    sink.putExact(codeOf(table, symbol, length), length);
}

// A symbol's code followed by its `cat` value bits, in one put.
inline void putSymbolAndValue(BitWriter::Sink& sink, const HuffmanTable& table, int symbol, int cat,
                              int32_t v) {
    const int length = table.Length[symbol];
    const uint32_t value = valueBits(v) & ~(~0u << cat);
    sink.putExact((codeOf(table, symbol, length) << cat) | value, length + cat);
}

inline __attribute__((always_inline)) void encodeBlock(BitWriter::Sink& sink, const int16_t* block,
                                                       int32_t& predictor, const HuffmanTable& dc,
                                                       const HuffmanTable& ac) {
    const int32_t d = block[0] - predictor;
    predictor = block[0];
    const int c = category(d);
    putSymbolAndValue(sink, dc, c, c, d);
    forEachAcSymbol(
        block, [&] { putSymbol(sink, ac, kZeroRun16); },
        [&](int symbol, int32_t v) { putSymbolAndValue(sink, ac, symbol, symbol & 15, v); },
        [&] { putSymbol(sink, ac, kEndOfBlock); });
}

inline void encodeFillerBlock(BitWriter::Sink& sink, const HuffmanTable& dc,
                              const HuffmanTable& ac) {
    putSymbol(sink, dc, 0);
    putSymbol(sink, ac, kEndOfBlock);
}

}  // namespace

void EncodeBlock(BitWriter& bits, const int16_t* block, int32_t& predictor, const HuffmanTable& dc,
                 const HuffmanTable& ac) {
    BitWriter::Sink sink = bits.sink();
    encodeBlock(sink, block, predictor, dc, ac);
    bits.sink() = sink;
}

void EncodeFillerBlock(BitWriter& bits, const HuffmanTable& dc, const HuffmanTable& ac) {
    BitWriter::Sink sink = bits.sink();
    encodeFillerBlock(sink, dc, ac);
    bits.sink() = sink;
}

void WriteSingleScan(OutputBuffer& out, const Component& c, const HuffmanTable& dc,
                     const HuffmanTable& ac) {
    BitWriter bits(out);
    int32_t predictor = 0;
    const size_t size = c.Coefficients.size();
    const int16_t* data = c.Coefficients.data();
    // Blocks go in runs that fit one reservation; the writer state stays in registers.
    constexpr size_t kRun = 64;
    for (size_t p = 0; p < size;) {
        const size_t end = std::min(size, p + kRun * 64);
        bits.ensure(kMaxBlockBytes * ((end - p) / 64));
        BitWriter::Sink sink = bits.sink();
        for (; p < end; p += 64) {
            encodeBlock(sink, data + p, predictor, dc, ac);
        }
        bits.sink() = sink;
    }
    bits.flush();
}

void WriteInterleavedScan(OutputBuffer& out, const std::vector<Component>& components,
                          const ScanGroup& group, const McuLayout& layout,
                          const std::array<HuffmanTable, 4>& dcTables,
                          const std::array<HuffmanTable, 4>& acTables) {
    std::vector<McuCursor> cursors;
    std::array<int32_t, 4> predictors{};
    size_t mcuBlocks = 0;
    for (int32_t index : group) {
        cursors.emplace_back(components[static_cast<size_t>(index)]);
        const Component& c = components[static_cast<size_t>(index)];
        mcuBlocks += static_cast<size_t>(c.H * c.V);
    }
    BitWriter bits(out);
    for (int32_t row = 0; row < layout.rows; ++row) {
        for (int32_t col = 0; col < layout.columns; ++col) {
            bits.ensure(kMaxBlockBytes * mcuBlocks);
            BitWriter::Sink sink = bits.sink();
            const bool lastColumn = col == layout.columns - 1;
            for (size_t s = 0; s < group.size(); ++s) {
                const Component& c = components[static_cast<size_t>(group[s])];
                const HuffmanTable& dc = dcTables[static_cast<size_t>(c.Td)];
                const HuffmanTable& ac = acTables[static_cast<size_t>(c.Ta)];
                cursors[s].visitMcu(lastColumn, [&](int64_t p) {
                    if (p < 0) {
                        encodeFillerBlock(sink, dc, ac);
                    } else {
                        encodeBlock(sink, c.Coefficients.data() + p, predictors[s], dc, ac);
                    }
                });
            }
            bits.sink() = sink;
        }
        for (McuCursor& cursor : cursors) {
            cursor.endMcuRow();
        }
    }
    bits.flush();
}

}  // namespace tessaro::jpeg
