#include "platform/mpris/DesktopMediaControls.h"

IDesktopMediaControls::IDesktopMediaControls(QObject* pParent)
    : QObject(pParent)
{
}

IDesktopMediaControls::~IDesktopMediaControls() = default;
