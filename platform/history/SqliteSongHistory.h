#pragma once

#include "platform/history/SongHistory.h"

#include <QSqlDatabase>

// The history in an SQLite file. The file is kept in write-ahead-log mode
// with every commit synchronised: a crash loses no committed song, and
// SQLite rolls back what was half written when the file is next opened.
class CSqliteSongHistory final : public ISongHistory
{
    Q_OBJECT

public:
    CSqliteSongHistory(const QString& strFilePath, QObject* pParent = nullptr);
    ~CSqliteSongHistory() override;

    bool IsAvailable() const override;
    QString ErrorText() const override;
    qint64 AddSong(const QString& strChannel, const QString& strTitle, const QDateTime& started) override;
    bool EndSong(qint64 nId, const QDateTime& ended) override;
    QList<SongHistoryEntry> RecentSongs(int nLimit) const override;

private:
    // False with m_strError set when the file cannot serve as the history.
    bool Open();
    void Close();
    // Moves a file that is not a usable history out of the way, keeping it.
    bool SetAside();
    bool Fail(const QString& strWhat, const QString& strWhy);

    QString m_strFilePath;
    QString m_strConnection;
    QSqlDatabase m_db;
    bool m_bAvailable = false;
    QString m_strError;
};
