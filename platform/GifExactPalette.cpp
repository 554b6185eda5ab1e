#include "GifExactPalette.h"

#include <array>
#include <cstdint>

namespace gif {

namespace {

// Open-addressing set of colours, four times larger than the most colours it may hold so that
// probe chains stay short.
class ColourTable {
  public:
    ColourTable() { slots_.fill(kEmpty); }

    // The palette index of `rgb`, adding it when new; -1 when the palette is already full.
    int indexOf(std::uint32_t rgb, Palette& palette) {
        std::uint32_t slot = (rgb * 2654435761u) >> (32 - kBits);
        while (slots_[slot] != kEmpty) {
            if (keys_[slot] == rgb)
                return slots_[slot];
            slot = (slot + 1) & (kSize - 1);
        }
        if (static_cast<int>(palette.size()) == kMaxPaletteColours)
            return -1;
        keys_[slot] = rgb;
        slots_[slot] = static_cast<std::int16_t>(palette.size());
        palette.push_back(Rgb{static_cast<std::uint8_t>(rgb >> 16),
                              static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)});
        return slots_[slot];
    }

  private:
    static constexpr int kBits = 10;
    static constexpr std::uint32_t kSize = 1u << kBits;
    static constexpr std::int16_t kEmpty = -1;
    std::array<std::uint32_t, kSize> keys_{};
    std::array<std::int16_t, kSize> slots_{};
};

}  // namespace

std::optional<IndexedImage> indexExactly(const QImage& picture) {
    IndexedImage out;
    out.width = picture.width();
    out.height = picture.height();
    out.indices.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    ColourTable table;
    std::uint8_t* dst = out.indices.data();
    // Neighbouring pixels usually share a colour: remember the last one to skip the table.
    std::uint32_t lastRgb = 0;
    int lastIndex = -1;
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < out.width; ++x) {
            const std::uint32_t rgb = row[x] & 0xFFFFFFu;
            if (lastIndex < 0 || rgb != lastRgb) {
                lastIndex = table.indexOf(rgb, out.palette);
                if (lastIndex < 0)
                    return std::nullopt;
                lastRgb = rgb;
            }
            *dst++ = static_cast<std::uint8_t>(lastIndex);
        }
    }
    return out;
}

}  // namespace gif
