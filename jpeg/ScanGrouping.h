#pragma once

#include <cstdint>
#include <vector>

#include "Component.h"

namespace tessaro::jpeg {

// The components of one scan, by index; one component is a non-interleaved scan.
using ScanGroup = std::vector<int32_t>;

// Groups the components, in index order, into scans of at most three components and at most
// ten blocks per MCU; a component that would pass ten blocks starts the next scan.
std::vector<ScanGroup> groupScans(const std::vector<Component>& components);

}  // namespace tessaro::jpeg
