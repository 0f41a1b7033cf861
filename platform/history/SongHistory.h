#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

// One song as the listener heard it: the channel, the title the station
// announced (empty when it announced none) and when it began and ended.
struct SongHistoryEntry {
    qint64 nId = 0;
    QString strChannel;
    QString strTitle;
    QDateTime started;
    // Invalid while the song plays, or when the program ended during it.
    QDateTime ended;
};

// The songs heard, kept across runs in a file of the data folder. Each
// change is written through before the call returns, so that a crash (or a
// kill) at any moment leaves every song added before it and never a damaged
// file. Only the newest kKeptSongs are kept.
class ISongHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int kKeptSongs = 2000;

    explicit ISongHistory(QObject* pParent = nullptr);
    ~ISongHistory() override;

    // False when the file could not be opened or made; the reason is in
    // ErrorText, and every call then does nothing.
    virtual bool IsAvailable() const = 0;
    virtual QString ErrorText() const = 0;

    // Adds a song that began at started; its id, or 0 when it could not be
    // written.
    virtual qint64 AddSong(const QString& strChannel, const QString& strTitle, const QDateTime& started) = 0;
    // The song with this id ended at ended; an invalid time makes it play
    // on.
    virtual bool EndSong(qint64 nId, const QDateTime& ended) = 0;
    // The newest songs first, at most nLimit of them.
    virtual QList<SongHistoryEntry> RecentSongs(int nLimit = kKeptSongs) const = 0;

signals:
    // A song was added or ended.
    void Changed();
};

// The history of this platform in strFilePath. A file that is not a
// history the program can read is set aside under a name of its own (the
// same name with ".damaged" added) and a new one is begun.
std::unique_ptr<ISongHistory> CreateSongHistory(const QString& strFilePath, QObject* pParent = nullptr);
