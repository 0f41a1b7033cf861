#include "platform/tray/TrayIcon.h"

ITrayIcon::ITrayIcon(QObject* pParent)
    : QObject(pParent)
{
}

ITrayIcon::~ITrayIcon() = default;
