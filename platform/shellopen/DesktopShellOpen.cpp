#include "platform/shellopen/DesktopShellOpen.h"

#include <QDesktopServices>

bool CDesktopShellOpen::Open(const QUrl& url)
{
    return MayOpen(url) && QDesktopServices::openUrl(url);
}
