#include "TerminationSignals.h"

#include <csignal>
#include <pthread.h>

namespace stationserver {
namespace {

sigset_t TerminationSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

}

void BlockTerminationSignals()
{
    std::signal(SIGPIPE, SIG_IGN);
    // A shell without job control starts background commands with SIGINT
    // ignored, and POSIX leaves open whether an ignored signal reaches
    // sigwait at all.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    const sigset_t set = TerminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int WaitForTerminationSignal()
{
    const sigset_t set = TerminationSet();
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    return signal;
}

}
