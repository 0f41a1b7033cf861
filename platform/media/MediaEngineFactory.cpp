#include "platform/media/MediaEngine.h"
#include "platform/media/MpvMediaEngine.h"

std::unique_ptr<CMediaEngine> CreateMediaEngine(QObject* pParent)
{
    return std::make_unique<CMpvMediaEngine>(pParent);
}
