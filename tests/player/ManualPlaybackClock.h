#pragma once

#include "radio/PlaybackClock.h"

#include <algorithm>

// A player's clock that moves only when the test moves it, ticking each
// whole second that passes while the player has it ticking.
class CManualPlaybackClock final : public IPlaybackClock
{
    Q_OBJECT

public:
    qint64 NowMilliseconds() const override { return m_nNow; }
    void StartTicking() override
    {
        m_bTicking = true;
        m_nSinceTick = 0;
    }
    void StopTicking() override { m_bTicking = false; }

    void Advance(qint64 nMilliseconds)
    {
        while (nMilliseconds > 0) {
            const qint64 nStep = m_bTicking ? std::min(nMilliseconds, kSecond - m_nSinceTick) : nMilliseconds;
            m_nNow += nStep;
            nMilliseconds -= nStep;
            if (m_bTicking && (m_nSinceTick += nStep) == kSecond) {
                m_nSinceTick = 0;
                emit Ticked();
            }
        }
    }

private:
    static constexpr qint64 kSecond = 1000;
    qint64 m_nNow = 1000;
    bool m_bTicking = false;
    qint64 m_nSinceTick = 0;
};
