#include "ColourQuantiser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ColourNearestSearch.h"

namespace gif {

namespace {

constexpr int kCellBits = 6;
constexpr int kShift = 8 - kCellBits;
constexpr size_t kCells = size_t{1} << (3 * kCellBits);
constexpr int kMeansPasses = 3;

// The pixels that fell into one histogram cell: their count and their mean colour.
struct Cell {
    std::array<double, 3> c;
    double weight;
};

struct Moments {
    double weight = 0;
    std::array<double, 3> sum{};
    double sumSquares = 0;

    void add(const Cell& cell) {
        weight += cell.weight;
        for (int k = 0; k < 3; ++k) {
            sum[k] += cell.weight * cell.c[k];
            sumSquares += cell.weight * cell.c[k] * cell.c[k];
        }
    }
    // Squared distance of all the pixels to their mean.
    double error() const {
        if (weight <= 0)
            return 0;
        const double s = sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2];
        return std::max(0.0, sumSquares - s / weight);
    }
};

// A run of cells [begin, end) in the cell list.
struct Box {
    size_t begin;
    size_t end;
    double error;
};

std::vector<Cell> histogram(const QImage& picture) {
    struct Sum {
        std::uint64_t count = 0;
        std::uint64_t r = 0, g = 0, b = 0;
    };
    std::vector<Sum> sums(kCells);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const unsigned r = qRed(row[x]);
            const unsigned g = qGreen(row[x]);
            const unsigned b = qBlue(row[x]);
            Sum& s = sums[((r >> kShift) << (2 * kCellBits)) | ((g >> kShift) << kCellBits) |
                          (b >> kShift)];
            ++s.count;
            s.r += r;
            s.g += g;
            s.b += b;
        }
    }
    std::vector<Cell> cells;
    for (const Sum& s : sums) {
        if (s.count == 0)
            continue;
        const double n = static_cast<double>(s.count);
        cells.push_back(Cell{{static_cast<double>(s.r) / n, static_cast<double>(s.g) / n,
                              static_cast<double>(s.b) / n},
                             n});
    }
    return cells;
}

Moments momentsOf(const std::vector<Cell>& cells, size_t begin, size_t end) {
    Moments m;
    for (size_t i = begin; i < end; ++i)
        m.add(cells[i]);
    return m;
}

// Splits `box` in two along its channel of largest spread, where the two halves together
// keep the least squared error. Returns false when the box cannot be split.
bool splitBox(std::vector<Cell>& cells, const Box& box, Box& left, Box& right) {
    if (box.end - box.begin < 2)
        return false;
    const Moments all = momentsOf(cells, box.begin, box.end);
    std::array<double, 3> spread{};
    for (int k = 0; k < 3; ++k) {
        const double mean = all.sum[k] / all.weight;
        for (size_t i = box.begin; i < box.end; ++i) {
            const double d = cells[i].c[k] - mean;
            spread[k] += cells[i].weight * d * d;
        }
    }
    const int axis =
        static_cast<int>(std::max_element(spread.begin(), spread.end()) - spread.begin());
    const auto first = cells.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = cells.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [axis](const Cell& a, const Cell& b) { return a.c[axis] < b.c[axis]; });

    Moments low;
    double bestError = -1;
    size_t bestCut = box.begin + 1;
    for (size_t cut = box.begin + 1; cut < box.end; ++cut) {
        low.add(cells[cut - 1]);
        Moments high;
        high.weight = all.weight - low.weight;
        for (int k = 0; k < 3; ++k)
            high.sum[k] = all.sum[k] - low.sum[k];
        high.sumSquares = all.sumSquares - low.sumSquares;
        const double error = low.error() + high.error();
        if (bestError < 0 || error < bestError) {
            bestError = error;
            bestCut = cut;
        }
    }
    left = Box{box.begin, bestCut, momentsOf(cells, box.begin, bestCut).error()};
    right = Box{bestCut, box.end, momentsOf(cells, bestCut, box.end).error()};
    return true;
}

std::vector<Box> medianCut(std::vector<Cell>& cells, int maxColours) {
    std::vector<Box> boxes{Box{0, cells.size(), momentsOf(cells, 0, cells.size()).error()}};
    while (static_cast<int>(boxes.size()) < maxColours) {
        size_t worst = boxes.size();
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2 || boxes[i].error <= 0)
                continue;
            if (worst == boxes.size() || boxes[i].error > boxes[worst].error)
                worst = i;
        }
        if (worst == boxes.size())
            break;
        Box left{}, right{};
        if (!splitBox(cells, boxes[worst], left, right))
            break;
        boxes[worst] = left;
        boxes.push_back(right);
    }
    return boxes;
}

std::uint8_t toChannel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

Rgb meanColour(const Moments& m) {
    return Rgb{toChannel(m.sum[0] / m.weight), toChannel(m.sum[1] / m.weight),
               toChannel(m.sum[2] / m.weight)};
}

// Moves each palette colour to the mean of the cells that lie nearest to it; a colour that no
// cell chooses stays where it is.
void refine(const std::vector<Cell>& cells, Palette& palette) {
    for (int pass = 0; pass < kMeansPasses; ++pass) {
        const ColourNearestSearch search(palette);
        std::vector<Moments> groups(palette.size());
        for (const Cell& cell : cells) {
            const int nearest = search.find(static_cast<int>(std::lround(cell.c[0])),
                                            static_cast<int>(std::lround(cell.c[1])),
                                            static_cast<int>(std::lround(cell.c[2])));
            groups[static_cast<size_t>(nearest)].add(cell);
        }
        bool moved = false;
        for (size_t i = 0; i < palette.size(); ++i) {
            if (groups[i].weight <= 0)
                continue;
            const Rgb mean = meanColour(groups[i]);
            moved = moved || !(mean == palette[i]);
            palette[i] = mean;
        }
        if (!moved)
            break;
    }
}

}  // namespace

Palette quantiseColours(const QImage& picture, int maxColours) {
    maxColours = std::clamp(maxColours, 1, kMaxPaletteColours);
    std::vector<Cell> cells = histogram(picture);
    if (cells.empty())
        return Palette{Rgb{}};
    const std::vector<Box> boxes = medianCut(cells, maxColours);
    Palette palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes)
        palette.push_back(meanColour(momentsOf(cells, box.begin, box.end)));
    refine(cells, palette);
    return palette;
}

}  // namespace gif
