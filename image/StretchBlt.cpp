#include "DrawingContext.h"
#include "StretchKernels.h"

namespace tessaro {

bool StretchBlt(DrawingContext& dstContext, int32_t x, int32_t y, int32_t w, int32_t h,
                const DrawingContext& srcContext, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                uint32_t rop) {
    DibSection* dst = dstContext.selected();
    const DibSection* src = srcContext.selected();
    // Mirroring by negative sizes is not offered; PlgBlt mirrors.
    if (dst == nullptr || src == nullptr || w < 0 || h < 0 || sw < 0 || sh < 0) {
        return false;
    }
    if (w == 0 || h == 0 || sw == 0 || sh == 0) {
        return true;
    }
    if (w == sw && h == sh) {
        // Both kernels are the identity at equal sizes.
        return BitBlt(dstContext, x, y, w, h, srcContext, sx, sy, rop);
    }
    if (dst == src) {
        // Resampling reads pixels it may already have written; work from a copy.
        auto copy = DibSection::create(src->width(), src->height(), 24);
        if (!copy) {
            return false;
        }
        DrawingContext copyContext;
        copyContext.select(copy.get());
        BitBlt(copyContext, 0, 0, src->width(), src->height(), srcContext, 0, 0);
        copyContext.setStretchBltMode(dstContext.stretchBltMode());
        return StretchBlt(dstContext, x, y, w, h, copyContext, sx, sy, sw, sh, rop);
    }
    const stretch::Rect to{x, y, w, h};
    const stretch::Rect from{sx, sy, sw, sh};
    if (dstContext.stretchBltMode() == kHalftone) {
        stretch::areaAverage(*dst, to, *src, from, rop);
    } else {
        stretch::pointSample(*dst, to, *src, from, rop);
    }
    return true;
}

}  // namespace tessaro
