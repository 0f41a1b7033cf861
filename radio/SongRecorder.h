#pragma once

#include "platform/tags/SongTags.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <optional>

class IMediaEngine;

// Saves songs of the playing channel from the time-shift buffer, in the
// station's own encoding, to "Kestrel Radio/<channel>/<Artist - Title>.<ext>"
// in the user's music folder, with the title, artist and channel as tags.
// A song runs from one announced title to the next, in stream time; the
// first one heard after the channel opened began before it, and is
// incomplete, as is one whose start the buffer no longer holds. "Save Song"
// saves the song playing once it ends (an incomplete one only when the
// listener confirms); "Record Songs" saves every complete song of at least
// kShortestRecordedSeconds. A file is written beside its final name and
// renamed there once whole, so no name is ever overwritten and a failed
// save leaves nothing. A save the disk cuts short (full, or over a size
// limit) is a failed one, told with what the system said, and play goes on.
class CSongRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr double kShortestRecordedSeconds = 30.0;
    // A station without titles has no songs to tell apart: Save Song keeps
    // the newest this many minutes of it as one file.
    static constexpr int kUntitledSaveMinutes = 5;

    explicit CSongRecorder(IMediaEngine& engine, QObject* pParent = nullptr);

    // A channel is opened: songs from here on are this channel's.
    void SetChannel(const QString& strChannel);
    // Saves the song playing now once it ends; on a station without
    // titles, the newest minutes at once (SaveNewestMinutes).
    void SaveCurrentSong();
    // Saves a song heard earlier, from dStart to dEnd of the stream, as
    // "Save Song" would have saved it when it ended: an incomplete one only
    // when the listener confirms.
    void SaveHeardSong(const QString& strStreamTitle, double dStart, double dEnd, bool bComplete);
    // Saves the newest kUntitledSaveMinutes that the buffer holds, as
    // "<channel> <date time>.<ext>".
    void SaveNewestMinutes();
    bool IsSaveAsked() const { return m_bSaveCurrent; }
    void SetRecordSongs(bool bRecord);
    bool IsRecordingSongs() const { return m_bRecordSongs; }

    // "Kestrel Radio" in the user's music folder.
    static QString MusicFolder();
    // The artist and title of "Artist - Title"; a title without " - " is a
    // title alone.
    static SongTags TagsOf(const QString& strStreamTitle, const QString& strChannel);

signals:
    // What became of a save, or why there was none, for the listener.
    void Report(const QString& strText);

private:
    struct Song {
        QString strTitle;
        double dStart = 0;
        bool bComplete = false;
    };

    void OnMetadataChanged();
    // A new stream is a new buffer: nothing heard before it can be saved
    // from it, and a song asked for is told so.
    void ForgetSongs();
    void OnSaveFinished(const QString& strPath, bool bSaved, const QString& strError);
    void Save(const Song& song, double dEnd);

    IMediaEngine& m_engine;
    QString m_strChannel;
    std::optional<Song> m_current;
    bool m_bSaveCurrent = false;
    // A title came since the stream opened: the next one begins in it.
    bool m_bTitleHeard = false;
    bool m_bRecordSongs = false;

    struct Saving {
        QString strFinalPath;
        SongTags tags;
    };
    // By the path written to.
    QHash<QString, Saving> m_saving;
};
