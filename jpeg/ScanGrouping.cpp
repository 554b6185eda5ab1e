#include "ScanGrouping.h"

namespace tessaro::jpeg {

std::vector<ScanGroup> groupScans(const std::vector<Component>& components) {
    std::vector<ScanGroup> groups;
    const auto count = static_cast<int32_t>(components.size());
    ScanGroup group;
    int32_t blocks = 0;
    int32_t b = 0;
    while (b < count) {
        blocks += components[b].H * components[b].V;
        if (blocks <= 10) {
            group.push_back(b);
            if (group.size() == 3 || b == count - 1) {
                groups.push_back(group);
                group.clear();
                blocks = 0;
            }
            ++b;
        } else if (group.empty()) {
            groups.push_back({b});
            blocks = 0;
            ++b;
        } else {
            // b starts the next group.
            groups.push_back(group);
            group.clear();
            blocks = 0;
        }
    }
    return groups;
}

}  // namespace tessaro::jpeg
