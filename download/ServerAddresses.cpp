#include "download/ServerAddresses.h"

#include "download/DownloadLog.h"
#include "res/ProductInfo.h"

namespace {
const char kStationListPath[] = "/stationlist.zip";
const char kBannerPath[] = "/banners/kestrel-radio.html";
const char kHomePath[] = "/";

QUrl DefaultSite(const char* pHostPrefix)
{
    return QUrl(QStringLiteral("http://") + QLatin1String(pHostPrefix) + ProductInfo::MakerDomain());
}

// The site named by the variable, or the default when the variable is unset
// or unusable; an unusable value is reported, since whoever set it expects
// it to work.
QUrl SiteFromEnvironment(const QProcessEnvironment& environment, const char* pVariable, const QUrl& defaultSite)
{
    const QString strVariable = QLatin1String(pVariable);
    if (!environment.contains(strVariable))
        return defaultSite;
    const QString strValue = environment.value(strVariable);
    if (!CServerAddresses::IsBaseUrl(strValue.trimmed())) {
        qCWarning(lcDownload,
                  "Ignoring %s=\"%s\": expected a base URL such as http://127.0.0.1:8580 (http or https, a host, "
                  "an optional port, no path); using %s",
                  pVariable, qPrintable(strValue), qPrintable(defaultSite.toString()));
        return defaultSite;
    }
    QUrl site(strValue.trimmed());
    site.setPath(QString());
    return site;
}

QString WithPath(const QUrl& site, const char* pPath)
{
    QUrl url(site);
    url.setPath(QLatin1String(pPath));
    return url.toString();
}
}

CServerAddresses::CServerAddresses(const QProcessEnvironment& environment)
    : m_radioServer(SiteFromEnvironment(environment, kRadioServerVariable, DefaultSite("www.")))
    , m_musicSite(SiteFromEnvironment(environment, kMusicSiteVariable, DefaultSite("music.")))
    , m_promoSite(SiteFromEnvironment(environment, kPromoSiteVariable, DefaultSite("promo.")))
{
}

bool CServerAddresses::IsBaseUrl(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString strScheme = url.scheme();
    return url.isValid() && (strScheme == QLatin1String("http") || strScheme == QLatin1String("https")) &&
        !url.host().isEmpty() && url.userInfo().isEmpty() &&
        (url.path().isEmpty() || url.path() == QLatin1String(kHomePath)) && !url.hasQuery() && !url.hasFragment();
}

QString CServerAddresses::StationListUrl() const
{
    return WithPath(m_radioServer, kStationListPath);
}

QString CServerAddresses::BannerUrl() const
{
    return WithPath(m_radioServer, kBannerPath);
}

QString CServerAddresses::MusicSiteUrl() const
{
    return WithPath(m_musicSite, kHomePath);
}

QString CServerAddresses::PromoSiteUrl() const
{
    return WithPath(m_promoSite, kHomePath);
}

QString CServerAddresses::MusicSiteAddress() const
{
    return m_musicSite.toString();
}

QString CServerAddresses::PromoSiteAddress() const
{
    return m_promoSite.toString();
}

namespace ServerAddresses {

CServerAddresses Current()
{
    return CServerAddresses(QProcessEnvironment::systemEnvironment());
}

QString StationListUrl()
{
    return Current().StationListUrl();
}

QString BannerUrl()
{
    return Current().BannerUrl();
}

QString MusicSiteUrl()
{
    return Current().MusicSiteUrl();
}

QString PromoSiteUrl()
{
    return Current().PromoSiteUrl();
}

QString MusicSiteAddress()
{
    return Current().MusicSiteAddress();
}

QString PromoSiteAddress()
{
    return Current().PromoSiteAddress();
}

}
