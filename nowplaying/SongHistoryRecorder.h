#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class CNowPlayingRelay;
class ISongHistory;

// Writes what the relay says plays into the song history: each title a
// station announces, with its channel, from the moment it is heard until
// another title, another channel or the end of playing replaces it. A
// station without titles is written as its channel alone. A pause is no
// end: the song goes on when the listener resumes.
//
// A title is written only once it has stood for the settling time, so a
// station whose title changes every second writes nothing for those
// titles, and a title that comes back within that time after a short
// other one goes on as the same song.
class CSongHistoryRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSettleMilliseconds = 5000;

    // The wall clock; the system's when empty.
    using Clock = std::function<QDateTime()>;

    CSongHistoryRecorder(CNowPlayingRelay& relay, ISongHistory& history, Clock clock = {},
                         int nSettleMilliseconds = kSettleMilliseconds);
    ~CSongHistoryRecorder() override;

    // The recorder in use, or null; the radio page reads the history here.
    static CSongHistoryRecorder* Get();
    static void Set(CSongHistoryRecorder* pRecorder);

    ISongHistory& History() const { return m_history; }

private:
    struct Heard {
        QString strChannel;
        QString strTitle;
        QDateTime started;

        bool IsSameSong(const Heard& other) const
        {
            return strChannel == other.strChannel && strTitle == other.strTitle;
        }
    };

    // What the relay says is heard now, if anything.
    std::optional<Heard> HeardNow() const;
    void OnRelayChanged();
    void OnSettled();
    void EndWritten(const QDateTime& ended);

    CNowPlayingRelay& m_relay;
    ISongHistory& m_history;
    Clock m_clock;
    QTimer m_settleTimer;
    // Heard, and not yet written.
    std::optional<Heard> m_pending;
    // Written, and not yet ended (nWrittenId != 0), or ended last.
    std::optional<Heard> m_written;
    qint64 m_nWrittenId = 0;
    // The song written last once it has ended, and when.
    qint64 m_writtenEndedId = 0;
    QDateTime m_writtenEnded;
};
