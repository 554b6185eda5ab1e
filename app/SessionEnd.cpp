#include "SessionEnd.h"

#include <fcntl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};
std::array<struct sigaction, kSignals.size()> previous{};
int pipeEnds[2] = {-1, -1};
std::atomic<bool> waiting{false};
static_assert(std::atomic<bool>::is_always_lock_free);
SessionEnd* instance = nullptr;

extern "C" void onSignal(int signal) {
    if (waiting.exchange(true)) {
        // The loop never took up the first one: end as the signal would have.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const int saved = errno;
    const auto number = static_cast<unsigned char>(signal);
    // The pipe is empty while nothing waits, so this one byte always fits.
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &number, 1);
    errno = saved;
}

}  // namespace

SessionEnd& SessionEnd::watcher() {
    if (!instance)
        instance = new SessionEnd();
    return *instance;
}

SessionEnd::SessionEnd() : QObject(QCoreApplication::instance()) {
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // no pipe, no watching: the signals keep their default and end the program
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::takeUp);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // interrupted reads and writes carry on
    waiting = false;
    for (size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &previous[i]);
}

SessionEnd::~SessionEnd() {
    if (notifier_) {
        for (size_t i = 0; i < kSignals.size(); ++i)
            sigaction(kSignals[i], &previous[i], nullptr);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
    }
    pipeEnds[0] = pipeEnds[1] = -1;
    instance = nullptr;
}

void SessionEnd::takeUp() {
    unsigned char number = 0;
    if (read(pipeEnds[0], &number, 1) != 1)
        return;
    waiting = false;
    emit requested(number);
}
