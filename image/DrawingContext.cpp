#include <algorithm>
#include <utility>

#include "DrawingContext.h"

namespace tessaro {

DrawingContext::DrawingContext() = default;
DrawingContext::~DrawingContext() = default;

DibSection* DrawingContext::select(DibSection* bitmap) {
    return std::exchange(selected_, bitmap);
}

DibSection* DrawingContext::selected() const {
    return selected_;
}

int DrawingContext::setStretchBltMode(int mode) {
    if (mode < kBlackOnWhite || mode > kHalftone) {
        return 0;
    }
    return std::exchange(stretchMode_, mode);
}

int DrawingContext::stretchBltMode() const {
    return stretchMode_;
}

int DrawingContext::getColourTable(int start, int count, RgbQuad* out) const {
    if (selected_ == nullptr || start < 0 || count <= 0 || out == nullptr) {
        return 0;
    }
    const auto& table = selected_->colourTable();
    const int size = static_cast<int>(table.size());
    const int n = start >= size ? 0 : std::min(count, size - start);
    std::copy_n(table.begin() + start, n, out);
    return n;
}

int DrawingContext::setColourTable(int start, int count, const RgbQuad* in) {
    if (selected_ == nullptr || start < 0 || count <= 0 || in == nullptr) {
        return 0;
    }
    auto& table = selected_->colourTable();
    const int size = static_cast<int>(table.size());
    const int n = start >= size ? 0 : std::min(count, size - start);
    std::copy_n(in, n, table.begin() + start);
    return n;
}

}  // namespace tessaro
