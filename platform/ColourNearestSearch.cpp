#include "ColourNearestSearch.h"

#include <algorithm>
#include <limits>

namespace gif {

ColourNearestSearch::ColourNearestSearch(const Palette& palette) {
    entries_.reserve(palette.size());
    for (size_t i = 0; i < palette.size(); ++i) {
        entries_.push_back({palette[i].r, palette[i].g, palette[i].b, static_cast<int>(i)});
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.g < b.g; });
    firstAtGreen_.resize(256);
    size_t pos = 0;
    for (int g = 0; g < 256; ++g) {
        while (pos < entries_.size() && entries_[pos].g < g)
            ++pos;
        firstAtGreen_[g] = static_cast<int>(pos);
    }
}

int ColourNearestSearch::find(int r, int g, int b) const {
    int bestIndex = -1;
    int bestDist = std::numeric_limits<int>::max();
    const auto consider = [&](const Entry& e) {
        const int dr = e.r - r;
        const int dg = e.g - g;
        const int db = e.b - b;
        const int dist = dr * dr + dg * dg + db * db;
        if (dist < bestDist || (dist == bestDist && e.index < bestIndex)) {
            bestDist = dist;
            bestIndex = e.index;
        }
    };
    const int n = static_cast<int>(entries_.size());
    int up = firstAtGreen_[std::clamp(g, 0, 255)];
    int down = up - 1;
    while (up < n || down >= 0) {
        if (up < n) {
            const int dg = entries_[up].g - g;
            if (dg * dg > bestDist) {
                up = n;
            } else {
                consider(entries_[up++]);
            }
        }
        if (down >= 0) {
            const int dg = g - entries_[down].g;
            if (dg * dg > bestDist) {
                down = -1;
            } else {
                consider(entries_[down--]);
            }
        }
    }
    return bestIndex;
}

}  // namespace gif
