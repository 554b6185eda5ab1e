#include <climits>

#include "HuffmanTable.h"

namespace tessaro::jpeg {

namespace {

constexpr int kSymbols = 257;

// The two symbols with the smallest nonzero counts; on equal counts the higher-numbered
// symbol wins the smaller slot. v2 stays -1 when only one symbol is left.
void findTwoSmallest(const SymbolCounts& counts, int& v1, int& v2) {
    int64_t smallest = INT64_MAX;
    int64_t second = INT64_MAX;
    v1 = -1;
    v2 = -1;
    for (int s = 0; s < kSymbols; ++s) {
        const int64_t c = counts[s];
        if (c > 0 && c <= second) {
            if (c > smallest) {
                second = c;
                v2 = s;
            } else {
                second = smallest;
                v2 = v1;
                smallest = c;
                v1 = s;
            }
        }
    }
}

}  // namespace

void OptimalTable(HuffmanTable& table, SymbolCounts& counts) {
    std::array<int32_t, kSymbols> codeSize{};
    std::array<int32_t, kSymbols> link{};
    link.fill(-1);
    counts[256] = 1;

    for (;;) {
        int v1 = -1;
        int v2 = -1;
        findTwoSmallest(counts, v1, v2);
        if (v2 < 0) {
            counts[v1] = 0;
            break;
        }
        counts[v1] += counts[v2];
        counts[v2] = 0;
        ++codeSize[v1];
        while (link[v1] >= 0) {
            v1 = link[v1];
            ++codeSize[v1];
        }
        link[v1] = v2;
        ++codeSize[v2];
        while (link[v2] >= 0) {
            v2 = link[v2];
            ++codeSize[v2];
        }
    }

    // Codes per length; lengths can reach 256 before limiting.
    std::array<int32_t, kSymbols + 1> bits{};
    int32_t longest = 0;
    for (int s = 0; s < kSymbols; ++s) {
        if (codeSize[s] > 0) {
            ++bits[codeSize[s]];
            if (codeSize[s] > longest) {
                longest = codeSize[s];
            }
        }
    }

    // Limit to 16 bits: move pairs of long codes up, splitting a shorter code for each pair.
    for (int l = longest; l > 16; --l) {
        while (bits[l] > 0) {
            int j = l - 2;
            while (j > 0 && bits[j] == 0) {
                --j;
            }
            bits[l] -= 2;
            bits[l - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        }
    }

    // The reserved symbol's code is the last code of the longest remaining length.
    int l = longest > 16 ? 16 : longest;
    while (l > 0 && bits[l] == 0) {
        --l;
    }
    if (l > 0) {
        --bits[l];
    }

    for (int i = 1; i <= 16; ++i) {
        table.Bits[i - 1] = static_cast<uint8_t>(bits[i]);
    }
    table.HuffVal.fill(0);
    int p = 0;
    for (int size = 1; size <= longest; ++size) {
        for (int s = 0; s < 256; ++s) {
            if (codeSize[s] == size) {
                table.HuffVal[p++] = static_cast<uint8_t>(s);
            }
        }
    }
}

}  // namespace tessaro::jpeg
