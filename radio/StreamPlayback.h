#pragma once

#include "platform/media/MediaEngine.h"
#include "radio/PlaybackClock.h"
#include "radio/ReconnectBackoff.h"
#include "radio/WMPPlayState.h"

#include <QObject>
#include <QString>
#include <memory>

// What the player does with the engine: it opens only addresses the address
// policy allows, reconnects a stream that drops with growing waits, tells a
// dead stream apart from a dropped one, and keeps the status text that the
// listener reads. The engine is the mechanism; this is the policy.
class CStreamPlayback : public QObject
{
    Q_OBJECT

public:
    // A stream that played this long before it dropped starts the waits
    // between reconnection attempts from the shortest again.
    static constexpr int kSteadyPlaySeconds = 10;

    // pClock: how long a stream played and the waits to reconnect it are
    // measured with it; the system's clock when null.
    explicit CStreamPlayback(IMediaEngine& engine, std::unique_ptr<IPlaybackClock> pClock = nullptr,
                             QObject* pParent = nullptr);

    // Opens the address and plays it, replacing whatever played.
    void Play(const QString& address);
    // Plays again: goes on after a pause, else opens the last address anew.
    void Resume();
    void Pause();
    void Stop();
    // Goes to the live edge of the time-shift buffer. Once the station's
    // stream has ended (dropped while the listener was behind live), the
    // live edge is the station itself: it is connected again as after a
    // drop, with the same waits.
    void GoLive();

    QString Address() const { return m_strAddress; }
    QString Status() const { return m_strStatus; }
    WMPPlayState PlayState() const { return m_playState; }

signals:
    void StatusChanged(const QString& strStatus);
    void PlayStateChanged(WMPPlayState newState);

private:
    enum class Phase { Idle, Active, WaitingToReconnect, Ended };

    void OnEngineStateChanged(IMediaEngine::State state);
    void OnEngineEnded(IMediaEngine::EndReason reason, IMediaEngine::Failure failure);
    void OnReconnectTick();
    void RefreshActiveStatus();
    void StartOpening();
    void ScheduleReconnect();
    void EndWith(const QString& strStatus, WMPPlayState playState);
    void SetStatus(const QString& strStatus, WMPPlayState playState);
    QString PlayingText() const;
    // Sets the engine's time-shift up from the stored setting before an
    // opening, and follows its buffer from then on.
    void PrepareTimeShift();

    IMediaEngine& m_engine;
    QString m_strAddress;
    QString m_strStatus;
    WMPPlayState m_playState = wmppsUndefined;
    Phase m_phase = Phase::Idle;
    // Set from the first drop of a stream until it plays again.
    bool m_bReconnecting = false;
    bool m_bHasPlayed = false;
    // Known while it plays; libmpv forgets it when the stream ends.
    bool m_bSeekable = false;
    std::unique_ptr<IPlaybackClock> m_pClock;
    // When the stream last began to play; -1 while it does not play.
    qint64 m_nPlayingSince = -1;
    CReconnectBackoff m_backoff;
    int m_nSecondsToReconnect = 0;
    bool m_bFollowingTimeShift = false;
};
