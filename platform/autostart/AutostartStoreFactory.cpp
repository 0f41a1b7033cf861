#include "platform/autostart/AutostartStore.h"
#include "platform/autostart/XdgAutostartFolder.h"

std::unique_ptr<IAutostartStore> CreateAutostartStore()
{
    return std::make_unique<CXdgAutostartFolder>(CXdgAutostartFolder::DefaultFolder());
}
