#include "catalogue/StreamAddressPolicy.h"

#include <QUrl>

namespace {
constexpr const char* kNetworkSchemes[] = {"http", "https", "mms", "mmsh", "rtsp", "rtmp"};

bool IsNetworkScheme(const QString& scheme)
{
    for (const char* allowed : kNetworkSchemes) {
        if (scheme == QLatin1String(allowed))
            return true;
    }
    return false;
}
}

CStreamAddressPolicy::Verdict CStreamAddressPolicy::Check(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return Verdict::Empty;
    const QUrl url(trimmed);
    // A path has no scheme; "C:\..." reads as the scheme "c".
    if (!url.isValid() || url.isRelative() || !IsNetworkScheme(url.scheme().toLower()))
        return Verdict::Refused;
    if (url.host().isEmpty())
        return Verdict::Refused;
    return Verdict::Accepted;
}

QString CStreamAddressPolicy::Normalised(const QString& address)
{
    return QUrl(address.trimmed()).toString(QUrl::FullyEncoded);
}

QStringList CStreamAddressPolicy::NetworkSchemes()
{
    QStringList schemes;
    for (const char* scheme : kNetworkSchemes)
        schemes << QLatin1String(scheme);
    return schemes;
}
