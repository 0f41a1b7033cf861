#include "platform/shellopen/DesktopShellOpen.h"
#include "platform/shellopen/ShellOpen.h"

std::unique_ptr<IShellOpen> CreateShellOpen(QObject* pParent)
{
    return std::make_unique<CDesktopShellOpen>(pParent);
}
