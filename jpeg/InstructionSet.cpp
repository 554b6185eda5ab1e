#include "InstructionSet.h"

#include <atomic>

namespace tessaro::jpeg {

namespace {

std::atomic<bool> wideAllowed{true};

bool processorHasWide() {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

}  // namespace

bool wideInstructionsAvailable() {
    return processorHasWide() && wideAllowed.load(std::memory_order_relaxed);
}

void allowWideInstructions(bool allowed) {
    wideAllowed.store(allowed, std::memory_order_relaxed);
}

}  // namespace tessaro::jpeg
