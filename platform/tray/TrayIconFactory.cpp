#include "platform/tray/SystemTrayIcon.h"
#include "platform/tray/TrayIcon.h"

std::unique_ptr<ITrayIcon> CreateTrayIcon(QObject* pParent)
{
    return std::make_unique<CSystemTrayIcon>(pParent);
}
