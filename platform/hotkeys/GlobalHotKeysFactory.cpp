#include "platform/hotkeys/GlobalHotKeys.h"
#include "platform/hotkeys/XcbGlobalHotKeys.h"

std::unique_ptr<CGlobalHotKeys> CreateGlobalHotKeys(QObject* pParent)
{
    return std::make_unique<CXcbGlobalHotKeys>(pParent);
}
