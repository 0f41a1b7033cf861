#pragma once

#include "radio/PlaybackClock.h"

#include <QTimer>

// The player's clock in the program: the system's monotonic clock, and a
// timer for the seconds.
class CSystemPlaybackClock final : public IPlaybackClock
{
    Q_OBJECT

public:
    explicit CSystemPlaybackClock(QObject* pParent = nullptr);

    qint64 NowMilliseconds() const override;
    void StartTicking() override;
    void StopTicking() override;

private:
    QTimer m_secondTimer;
};
