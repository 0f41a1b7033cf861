#include "platform/media/MediaEngine.h"
#include "platform/media/MpvMediaEngine.h"

std::unique_ptr<IMediaEngine> CreateMediaEngine(QObject* pParent)
{
    return std::make_unique<CMpvMediaEngine>(pParent);
}
