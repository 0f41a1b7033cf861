#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QUrl>

// Environment variables that point the program at other servers, each a base
// URL of scheme, host and optional port, such as "http://127.0.0.1:8580".
inline constexpr char kRadioServerVariable[] = "KESTREL_RADIO_SERVER";
inline constexpr char kMusicSiteVariable[] = "KESTREL_MUSIC_SITE";
inline constexpr char kPromoSiteVariable[] = "KESTREL_PROMO_SITE";

// The addresses of the program's web sites: the radio server (station list
// and banner), the music site and the promotion site. Each defaults to a host
// of the maker's domain; a variable above replaces its scheme, host and port.
// A value that is not such a base URL is ignored, with a warning in the
// download log.
class CServerAddresses
{
public:
    explicit CServerAddresses(const QProcessEnvironment& environment);

    QString StationListUrl() const;
    QString BannerUrl() const;
    // The sites' home pages.
    QString MusicSiteUrl() const;
    QString PromoSiteUrl() const;
    // The sites as scheme and host (and port), without a path, the way the
    // status bar names them and the shell opens them.
    QString MusicSiteAddress() const;
    QString PromoSiteAddress() const;

    // Whether text is a base URL the variables accept.
    static bool IsBaseUrl(const QString& text);

private:
    QUrl m_radioServer;
    QUrl m_musicSite;
    QUrl m_promoSite;
};

// The program's addresses, read from its environment at each use, so that
// whoever points the program elsewhere (a test, a demo) is followed at once.
namespace ServerAddresses {
CServerAddresses Current();
QString StationListUrl();
QString BannerUrl();
QString MusicSiteUrl();
QString PromoSiteUrl();
QString MusicSiteAddress();
QString PromoSiteAddress();
}
