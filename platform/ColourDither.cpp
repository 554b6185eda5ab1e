#include "ColourDither.h"

#include <algorithm>

#include "ColourInverseMap.h"

namespace gif {

std::vector<std::uint8_t> ditherToPalette(const QImage& picture, const Palette& palette) {
    const int width = picture.width();
    const int height = picture.height();
    std::vector<std::uint8_t> indices(static_cast<size_t>(width) * static_cast<size_t>(height));
    ColourInverseMap map(palette);

    // Errors carried to the current and the next row, in sixteenths, three channels a pixel,
    // with one spare pixel at each end so that the edges need no tests.
    const size_t rowLength = (static_cast<size_t>(width) + 2) * 3;
    std::vector<int> current(rowLength, 0);
    std::vector<int> next(rowLength, 0);

    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::uint8_t* out = indices.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        const bool forward = (y % 2) == 0;
        const int step = forward ? 1 : -1;
        std::fill(next.begin(), next.end(), 0);
        for (int i = 0; i < width; ++i) {
            const int x = forward ? i : width - 1 - i;
            const size_t at = static_cast<size_t>(x + 1) * 3;
            const int source[3] = {qRed(row[x]), qGreen(row[x]), qBlue(row[x])};
            int wanted[3];
            for (int k = 0; k < 3; ++k) {
                // Rounded sixteenths; the arithmetic shift floors, so add half first.
                wanted[k] = std::clamp(source[k] + ((current[at + k] + 8) >> 4), 0, 255);
            }
            const std::uint8_t index = map.lookup(wanted[0], wanted[1], wanted[2]);
            out[x] = index;
            const Rgb& got = palette[index];
            const int error[3] = {wanted[0] - got.r, wanted[1] - got.g, wanted[2] - got.b};
            const size_t ahead = static_cast<size_t>(x + 1 + step) * 3;
            const size_t behind = static_cast<size_t>(x + 1 - step) * 3;
            for (int k = 0; k < 3; ++k) {
                current[ahead + k] += error[k] * 7;
                next[behind + k] += error[k] * 3;
                next[at + k] += error[k] * 5;
                next[ahead + k] += error[k];
            }
        }
        std::swap(current, next);
    }
    return indices;
}

}  // namespace gif
