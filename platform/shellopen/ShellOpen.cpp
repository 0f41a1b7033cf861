#include "platform/shellopen/ShellOpen.h"

CShellOpen::CShellOpen(QObject* pParent)
    : QObject(pParent)
{
}

CShellOpen::~CShellOpen() = default;

bool CShellOpen::MayOpen(const QUrl& url)
{
    const QString strScheme = url.scheme().toLower();
    return url.isValid()
        && (strScheme == QLatin1String("http") || strScheme == QLatin1String("https")
            || strScheme == QLatin1String("mailto"));
}
