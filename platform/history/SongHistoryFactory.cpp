#include "platform/history/SongHistory.h"
#include "platform/history/SqliteSongHistory.h"

std::unique_ptr<ISongHistory> CreateSongHistory(const QString& strFilePath, QObject* pParent)
{
    return std::make_unique<CSqliteSongHistory>(strFilePath, pParent);
}
