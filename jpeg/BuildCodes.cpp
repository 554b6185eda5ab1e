#include "EncoderError.h"
#include "HuffmanTable.h"

namespace tessaro::jpeg {

void BuildCodes(HuffmanTable& table, int32_t largestSymbol) {
    table.CodeTop.fill(0);
    table.Code.fill(-1);
    table.Length.fill(0);
    int32_t code = 0;
    int32_t top = 1;
    int32_t used = 0;
    for (int length = 1; length <= 16; ++length) {
        const int32_t n = table.Bits[length - 1];
        if (used + n > 256) {
            raiseEncoderError(kBadHuffmanTable);
        }
        for (int32_t i = 0; i < n; ++i) {
            const int32_t symbol = table.HuffVal[used + i];
            if (symbol > largestSymbol || table.Code[symbol] != -1) {
                raiseEncoderError(kBadHuffmanTable);
            }
            table.CodeTop[symbol] = top;
            table.Code[symbol] = code;
            table.Length[symbol] = static_cast<uint8_t>(length);
            ++code;
        }
        used += n;
        top *= 2;
        if (code >= top) {
            raiseEncoderError(kBadHuffmanTable);
        }
        code *= 2;
    }
    if (used == 0) {
        raiseEncoderError(kBadHuffmanTable);
    }
}

}  // namespace tessaro::jpeg
