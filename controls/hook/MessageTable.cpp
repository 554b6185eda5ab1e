#include "MessageTable.h"

namespace tessaro::hook {

MessageTable::AddResult MessageTable::add(int32_t message) {
    if (message == ALL_MESSAGES) {
        count_ = ALL_MESSAGES;
        return AddResult::Added;
    }
    if (count_ >= MSG_ENTRIES)
        return AddResult::Overflow;
    for (int i = 0; i < count_; ++i) {
        int32_t& s = slots_[static_cast<std::size_t>(i)];
        if (s == 0) {
            s = message;
            return AddResult::Added;
        }
        if (s == message)
            return AddResult::Added;
    }
    // Count -1 (all messages) lands here too and becomes a table of just this message.
    const int32_t next = count_ < 0 ? 0 : count_;
    slots_[static_cast<std::size_t>(next)] = message;
    count_ = next + 1;
    return AddResult::Added;
}

bool MessageTable::remove(int32_t message) {
    if (message == ALL_MESSAGES) {
        count_ = 0;
        return true;
    }
    for (int i = 0; i < count_; ++i) {
        int32_t& s = slots_[static_cast<std::size_t>(i)];
        if (s == message) {
            s = 0;
            return true;
        }
    }
    return false;
}

}  // namespace tessaro::hook
