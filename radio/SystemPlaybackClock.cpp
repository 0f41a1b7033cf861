#include "radio/SystemPlaybackClock.h"

#include <chrono>

namespace {
constexpr int kTickMilliseconds = 1000;
}

CSystemPlaybackClock::CSystemPlaybackClock(QObject* pParent)
    : IPlaybackClock(pParent)
{
    m_secondTimer.setInterval(kTickMilliseconds);
    connect(&m_secondTimer, &QTimer::timeout, this, &IPlaybackClock::Ticked);
}

qint64 CSystemPlaybackClock::NowMilliseconds() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void CSystemPlaybackClock::StartTicking()
{
    m_secondTimer.start();
}

void CSystemPlaybackClock::StopTicking()
{
    m_secondTimer.stop();
}
