#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tessaro::hook {

inline constexpr int32_t ALL_MESSAGES = -1;
inline constexpr int MSG_ENTRIES = 32;

// Which messages one table (before or after) of a hooked window watches: a count and up to
// MSG_ENTRIES slots. Count 0 watches nothing, ALL_MESSAGES watches everything, 1..32 means
// slots 1..count are in use; a slot holding 0 is a hole left by a removal and is filled by
// the next addition. Removal never lowers the count.
class MessageTable {
  public:
    enum class AddResult { Added, Overflow };

    // A full table refuses every message, even one it already holds: the capacity test
    // comes before the search.
    AddResult add(int32_t message);
    // False when the message is not in the table (an all-messages table holds no specific
    // message, so removing one from it fails too).
    bool remove(int32_t message);
    bool watches(int32_t message) const {
        if (count_ == 0)
            return false;
        if (count_ == ALL_MESSAGES)
            return true;
        for (int i = 0; i < count_; ++i) {
            if (slots_[static_cast<std::size_t>(i)] == message)
                return true;
        }
        return false;
    }
    void clear() { count_ = 0; }

    int32_t count() const { return count_; }
    // Slot 1..MSG_ENTRIES.
    int32_t slot(int i) const { return slots_[static_cast<std::size_t>(i - 1)]; }

  private:
    int32_t count_ = 0;
    std::array<int32_t, MSG_ENTRIES> slots_{};
};

}  // namespace tessaro::hook
