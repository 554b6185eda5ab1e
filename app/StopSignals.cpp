#include "StopSignals.h"

#include <atomic>
#include <csignal>

namespace {

// Set by whichever thread the signal lands on: a lock-free atomic, safe in a handler.
std::atomic<int> first{0};
static_assert(std::atomic<int>::is_always_lock_free);
struct sigaction previousInt {};
struct sigaction previousTerm {};

extern "C" void remember(int signal) {
    int none = 0;
    first.compare_exchange_strong(none, signal);
}

}  // namespace

StopSignals::StopSignals() {
    first = 0;
    struct sigaction action {};
    action.sa_handler = remember;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes carry on; the second signal finds the default again.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

StopSignals::~StopSignals() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

int StopSignals::received() {
    return first.load();
}
