#include "platform/history/SongHistory.h"

ISongHistory::ISongHistory(QObject* pParent)
    : QObject(pParent)
{
}

ISongHistory::~ISongHistory() = default;
