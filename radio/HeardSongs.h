#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class IMediaEngine;
struct SongHistoryEntry;

// Where in the time-shift buffer each song heard on the playing channel
// lies, so that a song of the history can be saved for as long as the
// buffer holds it. A song runs from one announced title to the next, in
// stream time, and is tied to its entry in the history by its channel, its
// title and the moment it was heard. The first song heard after the channel
// opened began before it, and is incomplete.
class CHeardSongs : public QObject
{
    Q_OBJECT

public:
    // The most songs remembered for one opening of a channel: more than a
    // long buffer holds.
    static constexpr int kMaxSongs = 500;
    // How far apart the history's time of a song and the time it was heard
    // here may lie: both note the same announcement.
    static constexpr int kSameMomentSeconds = 3;

    // The wall clock; the system's when empty.
    using Clock = std::function<QDateTime()>;

    struct Song {
        QString strTitle;
        double dStart = 0;
        // Negative while it plays.
        double dEnd = -1;
        bool bComplete = false;
        QDateTime heard;
    };

    enum class Holding {
        // It plays now: it can be saved once it ends.
        Playing,
        // The buffer holds it from its first to its last byte.
        Whole,
        // The buffer holds its end but not its beginning.
        Incomplete,
        // Nothing of it can be saved; strWhy says why.
        Gone,
    };

    struct Verdict {
        Holding holding = Holding::Gone;
        QString strWhy;
        Song song;
    };

    explicit CHeardSongs(IMediaEngine& engine, Clock clock = {}, QObject* pParent = nullptr);

    // A channel is opened: what was heard before is not in its buffer.
    void SetChannel(const QString& strChannel);
    // What the buffer holds of a song of the history, and why not when it
    // holds nothing of it.
    Verdict Find(const SongHistoryEntry& entry) const;

private:
    void OnMetadataChanged();
    std::optional<Song> Match(const SongHistoryEntry& entry) const;

    IMediaEngine& m_engine;
    Clock m_clock;
    QString m_strChannel;
    QList<Song> m_songs;
    // A title was announced since the stream began: the next one begins
    // in it, whether the buffer held the one before or not.
    bool m_bTitleHeard = false;
};
