#include "platform/shellopen/DesktopShellOpen.h"
#include "platform/shellopen/ShellOpen.h"

std::unique_ptr<CShellOpen> CreateShellOpen(QObject* pParent)
{
    return std::make_unique<CDesktopShellOpen>(pParent);
}
