#include "HuffmanStatistics.h"

#include "BlockSymbols.h"
#include "ScanGrouping.h"

namespace tessaro::jpeg {

namespace {

// The DC value of the block at `position`, from the sampler's compact copy when it has one.
class DcValues {
  public:
    explicit DcValues(const Component& c)
        : sampled_(c.Statistics.valid ? c.Statistics.dc.data() : nullptr),
          coefficients_(c.Coefficients.data()) {}

    int32_t at(size_t position) const {
        return sampled_ != nullptr ? sampled_[position / 64] : coefficients_[position];
    }

  private:
    const int16_t* sampled_;
    const int16_t* coefficients_;
};

}  // namespace

void CountDcSingle(const Component& c, SymbolCounts& counts) {
    const DcValues values(c);
    int32_t predictor = 0;
    const size_t size = c.Coefficients.size();
    for (size_t p = 0; p < size; p += 64) {
        const int32_t dc = values.at(p);
        ++counts[category(dc - predictor)];
        predictor = dc;
    }
}

void CountDcInterleaved(const Component& c, const McuLayout& layout, SymbolCounts& counts) {
    const DcValues values(c);
    McuCursor cursor(c);
    int32_t predictor = 0;
    for (int32_t row = 0; row < layout.rows; ++row) {
        for (int32_t col = 0; col < layout.columns; ++col) {
            cursor.visitMcu(col == layout.columns - 1, [&](int64_t p) {
                if (p < 0) {
                    ++counts[0];
                } else {
                    const int32_t dc = values.at(static_cast<size_t>(p));
                    ++counts[category(dc - predictor)];
                    predictor = dc;
                }
            });
        }
        cursor.endMcuRow();
    }
}

void CountAcSymbols(const int16_t* block, SymbolCounts& counts) {
    forEachAcSymbol(
        block, [&] { ++counts[kZeroRun16]; }, [&](int symbol, int32_t) { ++counts[symbol]; },
        [&] { ++counts[kEndOfBlock]; });
}

void CountAcSymbols(const Component& c, SymbolCounts& counts) {
    if (c.Statistics.valid) {
        for (size_t s = 0; s < counts.size(); ++s) {
            counts[s] += c.Statistics.acCounts[s];
        }
        return;
    }
    const size_t size = c.Coefficients.size();
    const int16_t* data = c.Coefficients.data();
    for (size_t p = 0; p < size; p += 64) {
        CountAcSymbols(data + p, counts);
    }
}

namespace {

// Bits of the coded data for these counts: each symbol's code plus its value bits.
int64_t codedBits(const SymbolCounts& counts, const HuffmanTable& table, bool ac) {
    int64_t bits = 0;
    for (int s = 0; s < 256; ++s) {
        if (counts[s] > 0) {
            const int extra = ac ? s % 16 : s;
            bits += int64_t{counts[s]} * (table.Length[s] + extra);
        }
    }
    return bits;
}

}  // namespace

int64_t OptimizeTables(const std::vector<Component>& components, const FrameGeometry& frame,
                       std::array<HuffmanTable, 4>& dcTables,
                       std::array<HuffmanTable, 4>& acTables) {
    const auto count = components.size();
    std::vector<bool> interleaved(count, false);
    for (const ScanGroup& group : groupScans(components)) {
        for (int32_t index : group) {
            interleaved[static_cast<size_t>(index)] = group.size() > 1;
        }
    }
    const McuLayout layout = mcuLayout(frame.Width, frame.Height, frame.Hmax, frame.Vmax);

    SymbolCounts counts{};
    int64_t bits = 0;
    for (int32_t t = 0; t < 4; ++t) {
        bool dcUsed = false;
        bool acUsed = false;
        bool fillerBlocks = false;
        for (size_t i = 0; i < count; ++i) {
            dcUsed = dcUsed || components[i].Td == t;
            acUsed = acUsed || components[i].Ta == t;
        }
        if (dcUsed) {
            for (size_t i = 0; i < count; ++i) {
                if (components[i].Td != t) {
                    continue;
                }
                if (interleaved[i]) {
                    CountDcInterleaved(components[i], layout, counts);
                } else {
                    CountDcSingle(components[i], counts);
                }
            }
            const SymbolCounts kept = counts;
            OptimalTable(dcTables[t], counts);
            BuildCodes(dcTables[t], frame.Precision == 12 ? 15 : 11);
            bits += codedBits(kept, dcTables[t], false);
        }
        if (acUsed) {
            for (size_t i = 0; i < count; ++i) {
                if (components[i].Ta != t) {
                    continue;
                }
                CountAcSymbols(components[i], counts);
                fillerBlocks = fillerBlocks || (interleaved[i] &&
                                                McuCursor::hasFillerBlocks(components[i], layout));
            }
            // Filler blocks end in EOB: make sure it has a code even when no stored block
            // of these components ends in zeros.
            if (fillerBlocks && counts[kEndOfBlock] == 0) {
                counts[kEndOfBlock] = 1;
            }
            const SymbolCounts kept = counts;
            OptimalTable(acTables[t], counts);
            BuildCodes(acTables[t], 255);
            bits += codedBits(kept, acTables[t], true);
        }
    }
    return (bits + 7) / 8;
}

}  // namespace tessaro::jpeg
