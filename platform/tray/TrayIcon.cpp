#include "platform/tray/TrayIcon.h"

CTrayIcon::CTrayIcon(QObject* pParent)
    : QObject(pParent)
{
}

CTrayIcon::~CTrayIcon() = default;
