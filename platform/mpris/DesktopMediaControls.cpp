#include "platform/mpris/DesktopMediaControls.h"

CDesktopMediaControls::CDesktopMediaControls(QObject* pParent)
    : QObject(pParent)
{
}

CDesktopMediaControls::~CDesktopMediaControls() = default;
