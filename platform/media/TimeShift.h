#pragma once

#include <QObject>
#include <QString>

// Time-shift of a live stream: while a channel plays, what it sends is kept
// in a bounded buffer on disk, so that a pause lets the stream go on
// arriving, and play resumes where it paused; the listener moves back and
// forward within the buffer and returns to the live edge. Moving within
// the buffer makes no network request. Owned by its media engine; every
// call returns at once.
class ITimeShift : public QObject
{
    Q_OBJECT

public:
    // Within this much of the newest sound the listener counts as live.
    static constexpr double kLiveMarginSeconds = 5.0;

    explicit ITimeShift(QObject* pParent = nullptr);
    ~ITimeShift() override;

    // How much of the stream to keep, in seconds; 0 turns time-shift off
    // (the engine then plays as it would without it). Takes effect with the
    // next address opened.
    virtual void SetBufferSeconds(int nSeconds) = 0;
    // The buffer's folder could not be used: time-shift stays off, and this
    // says why. Empty while all is well.
    virtual QString ErrorText() const = 0;
    // Streams opened now are kept in the buffer: a pause of one waits in it,
    // even before the buffer has first reported on it.
    virtual bool IsEnabled() const = 0;

    // Moves the play position by this many seconds within the buffer.
    virtual void SeekBy(double dSeconds) = 0;
    // Moves the play position to the live edge.
    virtual void SeekToLive() = 0;
    // Writes the stream from one play position to another, as the station
    // sent it (its own codec, not encoded again), into a new file at
    // strPath; the file's type follows its extension. Told by SaveFinished.
    virtual void Save(double dFrom, double dTo, const QString& strPath) = 0;
    // The file extension whose type holds the stream in play as it is.
    virtual QString SaveExtension() const = 0;

    // The stream in play is kept in the buffer.
    bool IsActive() const { return m_bActive; }
    // Play position, and the oldest and newest position the buffer holds,
    // in seconds of the stream.
    double Position() const { return m_dPosition; }
    double BufferStart() const { return m_dBufferStart; }
    double BufferEnd() const { return m_dBufferEnd; }
    // How far the play position is behind the newest sound; 0 while live.
    double SecondsBehindLive() const;
    // The station's stream has ended (or dropped); the buffer still plays.
    bool HasStreamEnded() const { return m_bStreamEnded; }
    // How many bytes the buffer's file holds.
    qint64 FileBytes() const { return m_nFileBytes; }

signals:
    // Any of the values above changed.
    void Changed();
    void SaveFinished(const QString& strPath, bool bSaved, const QString& strError);

protected:
    struct Buffer {
        bool bActive = false;
        double dPosition = 0;
        double dStart = 0;
        double dEnd = 0;
        bool bStreamEnded = false;
        qint64 nFileBytes = 0;

        bool operator==(const Buffer&) const = default;
    };
    // Backends report the buffer's state through this; Changed follows when
    // anything changed.
    void UpdateBuffer(const Buffer& buffer);

private:
    bool m_bActive = false;
    double m_dPosition = 0;
    double m_dBufferStart = 0;
    double m_dBufferEnd = 0;
    bool m_bStreamEnded = false;
    qint64 m_nFileBytes = 0;
};

// Removes the buffer files that a killed run of the program left behind.
void RemoveStaleTimeShiftFiles();
