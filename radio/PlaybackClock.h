#pragma once

#include <QObject>

// The time the player keeps: how long a stream has played, and the seconds
// of the wait before the next attempt to reconnect it. The program's clock
// is the system's (CSystemPlaybackClock); a test moves one of its own.
class IPlaybackClock : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Milliseconds of a clock that only goes forward.
    virtual qint64 NowMilliseconds() const = 0;
    // Ticked() once a second from now on, until StopTicking().
    virtual void StartTicking() = 0;
    virtual void StopTicking() = 0;

signals:
    void Ticked();
};
