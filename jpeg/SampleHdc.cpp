#include <cmath>
#include <memory>
#include <new>

#include "CheckedMath.h"
#include "ComponentSampler.h"
#include "JpegEncoder.h"

namespace tessaro {

using namespace jpeg;

namespace {

// ceil(size * factor / largest factor), in double precision.
int32_t sampledSize(int32_t size, int32_t factor, int32_t largest) {
    const double q = static_cast<double>(checked::mul32(size, factor)) / largest;
    return checked::round32(-std::floor(-q));
}

int32_t roundUpToBlock(int32_t size) {
    return checked::add32(size, 7) & ~7;
}

// The w x h pixels at (x, y) of a 24- or 32-bit bitmap.
PixelPlane planeOf(const DibSection& dib, int32_t x, int32_t y, int32_t w, int32_t h) {
    PixelPlane plane;
    plane.pixelStep = dib.bitCount() / 8;
    plane.top = dib.row(y) + static_cast<ptrdiff_t>(x) * plane.pixelStep;
    plane.rowStep = dib.topDown() ? dib.stride() : -static_cast<ptrdiff_t>(dib.stride());
    plane.width = w;
    plane.height = h;
    return plane;
}

// Whether full-size components can be read straight from the source bitmap: it must be a
// 24- or 32-bit bitmap that holds the whole rectangle, so that a copy would be exact and complete.
bool readableDirectly(const DibSection* source, int32_t left, int32_t top, int32_t width,
                      int32_t height) {
    return source != nullptr && (source->bitCount() == 24 || source->bitCount() == 32) &&
           left >= 0 && top >= 0 && int64_t{left} + width <= source->width() &&
           int64_t{top} + height <= source->height();
}

struct SampledSize {
    int32_t w = 0;
    int32_t h = 0;
    int32_t pw = 0;
    int32_t ph = 0;
};

// Whether the area-averaging stretch from width x height down to s covers whole source
// pixels only (few enough per output pixel for 32-bit sums), so that the averaging can be
// done on the source memory without the general stretch.
bool wholeRatio(const SampledSize& s, int32_t width, int32_t height) {
    return width % s.w == 0 && height % s.h == 0 && int64_t{width / s.w} * (height / s.h) <= 65536;
}

bool halftoneAvailable() {
    DrawingContext probe;
    return probe.setStretchBltMode(kHalftone) != 0;
}

}  // namespace

int32_t JpegEncoder::SampleHDC(const DrawingContext& lhdc, int32_t lWidth, int32_t lHeight,
                               int32_t lSrcLeft, int32_t lSrcTop) {
    try {
        return sample(lhdc, lWidth, lHeight, lSrcLeft, lSrcTop);
    } catch (const std::bad_alloc&) {
        err::raiseOutOfMemory();
    }
}

int32_t JpegEncoder::sample(const DrawingContext& lhdc, int32_t lWidth, int32_t lHeight,
                            int32_t lSrcLeft, int32_t lSrcTop) {
    precision_ = 8;
    height_ = lHeight;
    width_ = lWidth;
    if (lWidth < 1 || lHeight < 1) {
        return 1;  // no bitmap of that size
    }
    const int32_t paddedWidth = roundUpToBlock(lWidth);
    const int32_t paddedHeight = roundUpToBlock(lHeight);
    checked::mul32(checked::mul32(paddedWidth, 3), paddedHeight);

    std::vector<SampledSize> sizes;
    for (const Component& c : components_) {
        SampledSize s;
        s.w = sampledSize(lWidth, c.H, hmax_);
        s.h = sampledSize(lHeight, c.V, vmax_);
        s.pw = roundUpToBlock(s.w);
        s.ph = roundUpToBlock(s.h);
        checked::mul32(s.pw, s.ph);
        sizes.push_back(s);
    }

    const DibSection* source = lhdc.selected();
    const bool direct = readableDirectly(source, lSrcLeft, lSrcTop, lWidth, lHeight);
    const bool averageDirectly = direct && halftoneAvailable();
    const auto fromSource = [&](const SampledSize& s) {
        const bool fullSize = s.w == lWidth && s.h == lHeight;
        return direct && (fullSize || (averageDirectly && wholeRatio(s, lWidth, lHeight)));
    };
    bool needWorkBitmap = false;
    for (const SampledSize& s : sizes) {
        needWorkBitmap = needWorkBitmap || !fromSource(s);
    }

    // The working bitmap receives every rendering that is not read from the source itself.
    std::unique_ptr<DibSection> work;
    DrawingContext workDc;
    if (needWorkBitmap) {
        work = DibSection::create(paddedWidth, paddedHeight, 24);
        if (!work) {
            return 1;
        }
        workDc.select(work.get());
        if (workDc.setStretchBltMode(kHalftone) == 0) {
            workDc.setStretchBltMode(kColorOnColor);
        }
    }

    // Components of equal sampled size, one after the other, share one rendering.
    size_t index = 0;
    while (index < components_.size()) {
        const SampledSize& s = sizes[index];
        size_t end = index + 1;
        while (end < components_.size() && sizes[end].w == s.w && sizes[end].h == s.h) {
            ++end;
        }
        Rendering rendering;
        rendering.width = s.w;
        rendering.height = s.h;
        const bool fullSize = s.w == lWidth && s.h == lHeight;
        if (fromSource(s)) {
            rendering.plane = planeOf(*source, lSrcLeft, lSrcTop, lWidth, lHeight);
        } else {
            const int32_t top = paddedHeight - s.ph;
            if (fullSize) {
                BitBlt(workDc, 0, top, s.w, s.h, lhdc, lSrcLeft, lSrcTop);
            } else {
                StretchBlt(workDc, 0, top, s.w, s.h, lhdc, lSrcLeft, lSrcTop, lWidth, lHeight);
            }
            rendering.plane = planeOf(*work, 0, top, s.w, s.h);
        }

        std::vector<BlockTransformer> transformers;
        transformers.reserve(end - index);
        std::vector<ChannelTarget> targets;
        for (size_t i = index; i < end; ++i) {
            Component& c = components_[i];
            c.Id = static_cast<int32_t>(i) + 1;
            c.PaddedWidth = s.pw;
            c.PaddedHeight = s.ph;
            // Every entry is written by the sampler.
            c.Statistics.valid = false;
            c.Coefficients.clear();
            c.Coefficients.resize(static_cast<size_t>(s.pw) * static_cast<size_t>(s.ph));
            transformers.emplace_back(quantTables_[static_cast<size_t>(c.Tq)].Divisors, zigZag_);
            targets.push_back(
                {kColourWeights[i], &transformers.back(), c.Coefficients.data(), &c.Statistics});
        }
        sampleChannels(rendering, targets, s.pw, s.ph);
        index = end;
    }
    if (needWorkBitmap) {
        workDc.select(nullptr);
    }
    return 0;
}

}  // namespace tessaro
