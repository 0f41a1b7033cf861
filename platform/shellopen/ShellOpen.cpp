#include "platform/shellopen/ShellOpen.h"

IShellOpen::IShellOpen(QObject* pParent)
    : QObject(pParent)
{
}

IShellOpen::~IShellOpen() = default;

bool IShellOpen::MayOpen(const QUrl& url)
{
    const QString strScheme = url.scheme().toLower();
    return url.isValid() &&
        (strScheme == QLatin1String("http") || strScheme == QLatin1String("https") ||
         strScheme == QLatin1String("mailto"));
}
