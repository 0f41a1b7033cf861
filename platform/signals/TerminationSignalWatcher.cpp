#include "platform/signals/TerminationSignalWatcher.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kWatchedSignals = {SIGTERM, SIGINT, SIGHUP};

// The pipe the handler writes to; -1 while no watcher is installed.
int g_pipe[2] = {-1, -1};
// Set by the handler, for work that blocks the event loop and asks instead.
volatile sig_atomic_t g_bRequested = 0;
struct sigaction g_previous[kWatchedSignals.size()];

extern "C" void OnTerminationSignal(int nSignal)
{
    const int savedErrno = errno;
    g_bRequested = 1;
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    // A full pipe already holds a request to end: losing this one is harmless.
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

}

CTerminationSignalWatcher::CTerminationSignalWatcher(QObject* pParent)
    : QObject(pParent)
{
    if (g_pipe[0] != -1)
        return;
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    m_bInstalled = true;
    g_bRequested = 0;
    m_pNotifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CTerminationSignalWatcher::OnPipeReadable);

    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kWatchedSignals.size(); ++i)
        sigaction(kWatchedSignals[i], &action, &g_previous[i]);
}

CTerminationSignalWatcher::~CTerminationSignalWatcher()
{
    if (!m_bInstalled)
        return;
    for (std::size_t i = 0; i < kWatchedSignals.size(); ++i)
        sigaction(kWatchedSignals[i], &g_previous[i], nullptr);
    delete m_pNotifier;
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

bool CTerminationSignalWatcher::IsAvailable() const
{
    return m_bInstalled;
}

bool CTerminationSignalWatcher::IsTerminationRequested()
{
    return g_bRequested != 0;
}

void CTerminationSignalWatcher::OnPipeReadable()
{
    unsigned char byte = 0;
    while (read(g_pipe[0], &byte, 1) == 1)
        emit TerminationRequested(byte);
}
