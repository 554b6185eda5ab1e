#include "ColourInverseMap.h"

namespace gif {

ColourInverseMap::ColourInverseMap(const Palette& palette)
    : search_(palette), cache_(std::size_t{1} << 18, std::int16_t{-1}) {}

}  // namespace gif
