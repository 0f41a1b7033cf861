#include "platform/instance/InstanceService.h"
#include "platform/instance/LocalSocketInstanceService.h"

std::unique_ptr<IInstanceService> CreateInstanceService(const QString& strName)
{
    return std::make_unique<CLocalSocketInstanceService>(strName);
}
