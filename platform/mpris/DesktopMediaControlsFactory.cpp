#include "platform/mpris/DesktopMediaControls.h"
#include "platform/mpris/MprisMediaControls.h"

std::unique_ptr<IDesktopMediaControls> CreateDesktopMediaControls(QObject* pParent)
{
    return std::make_unique<CMprisMediaControls>(pParent);
}
