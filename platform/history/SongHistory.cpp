#include "platform/history/SongHistory.h"

CSongHistory::CSongHistory(QObject* pParent)
    : QObject(pParent)
{
}

CSongHistory::~CSongHistory() = default;
