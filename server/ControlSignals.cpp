#include "ControlSignals.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <pthread.h>

namespace stationserver {
namespace {

sigset_t ControlSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

}

void BlockControlSignals()
{
    std::signal(SIGPIPE, SIG_IGN);
    // A shell without job control starts background commands with SIGINT
    // ignored, and POSIX leaves open whether an ignored signal reaches
    // sigwait at all; nohup ignores SIGHUP the same way.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    const sigset_t set = ControlSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

ControlSignal WaitForControlSignal(std::chrono::milliseconds timeout)
{
    const sigset_t set = ControlSet();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    const timespec wait{static_cast<time_t>(seconds.count()),
                        static_cast<long>(std::chrono::nanoseconds(timeout - seconds).count())};
    int signal = -1;
    do {
        signal = sigtimedwait(&set, nullptr, &wait);
    } while (signal < 0 && errno == EINTR);
    if (signal == SIGHUP)
        return ControlSignal::Reload;
    if (signal == SIGTERM || signal == SIGINT)
        return ControlSignal::Stop;
    return ControlSignal::None;
}

}
