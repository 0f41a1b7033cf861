#include "PrintQString.h"
#include "download/ServerAddresses.h"
#include "res/ProductInfo.h"

#include <gtest/gtest.h>

namespace {

QProcessEnvironment Environment(std::initializer_list<std::pair<const char*, const char*>> variables)
{
    QProcessEnvironment environment;
    for (const auto& [pName, pValue] : variables)
        environment.insert(QLatin1String(pName), QLatin1String(pValue));
    return environment;
}

TEST(ServerAddressesTest, DefaultsLieOnTheMakersDomain)
{
    const CServerAddresses addresses{QProcessEnvironment()};
    const QString strDomain = ProductInfo::MakerDomain();

    EXPECT_EQ(addresses.StationListUrl(), "http://www." + strDomain + "/stationlist.zip");
    EXPECT_EQ(addresses.BannerUrl(), "http://www." + strDomain + "/banners/kestrel-radio.html");
    EXPECT_EQ(addresses.MusicSiteUrl(), "http://music." + strDomain + "/");
    EXPECT_EQ(addresses.PromoSiteUrl(), "http://promo." + strDomain + "/");
    EXPECT_EQ(addresses.MusicSiteAddress(), "http://music." + strDomain);
    EXPECT_EQ(addresses.PromoSiteAddress(), "http://promo." + strDomain);
}

TEST(ServerAddressesTest, EachVariableMovesItsOwnSites)
{
    const CServerAddresses addresses{Environment({{kRadioServerVariable, "http://127.0.0.1:8580"},
                                                  {kMusicSiteVariable, "https://[::1]:8581/"},
                                                  {kPromoSiteVariable, "http://localhost:8582"}})};

    EXPECT_EQ(addresses.StationListUrl(), "http://127.0.0.1:8580/stationlist.zip");
    EXPECT_EQ(addresses.BannerUrl(), "http://127.0.0.1:8580/banners/kestrel-radio.html");
    EXPECT_EQ(addresses.MusicSiteUrl(), "https://[::1]:8581/");
    EXPECT_EQ(addresses.MusicSiteAddress(), "https://[::1]:8581");
    EXPECT_EQ(addresses.PromoSiteUrl(), "http://localhost:8582/");
    EXPECT_EQ(addresses.PromoSiteAddress(), "http://localhost:8582");

    const CServerAddresses musicOnly{Environment({{kMusicSiteVariable, "http://127.0.0.1:9000"}})};
    EXPECT_EQ(musicOnly.MusicSiteUrl(), "http://127.0.0.1:9000/");
    EXPECT_EQ(musicOnly.StationListUrl(), "http://www." + ProductInfo::MakerDomain() + "/stationlist.zip");
    EXPECT_EQ(musicOnly.PromoSiteAddress(), "http://promo." + ProductInfo::MakerDomain());
}

TEST(ServerAddressesTest, MalformedValueIsIgnored)
{
    for (const char* pValue : {"127.0.0.1:8580", "localhost:8580", "ftp://127.0.0.1", "file:///tmp/list", "http://",
                               "http://127.0.0.1:8580/lists", "http://127.0.0.1:8580/?a=b", "http://user@127.0.0.1",
                               "http://127.0.0.1:99999", "", "   "}) {
        const CServerAddresses addresses{Environment({{kRadioServerVariable, pValue}})};
        EXPECT_EQ(addresses.StationListUrl(), "http://www." + ProductInfo::MakerDomain() + "/stationlist.zip")
            << pValue;
    }
}

TEST(ServerAddressesTest, ProgramReadsItsEnvironmentAtEachUse)
{
    qputenv(kRadioServerVariable, "http://127.0.0.1:1234");
    qputenv(kPromoSiteVariable, "no address");
    EXPECT_EQ(ServerAddresses::StationListUrl(), "http://127.0.0.1:1234/stationlist.zip");
    EXPECT_EQ(ServerAddresses::BannerUrl(), "http://127.0.0.1:1234/banners/kestrel-radio.html");
    EXPECT_EQ(ServerAddresses::PromoSiteUrl(), "http://promo." + ProductInfo::MakerDomain() + "/");

    // A later test points the program at its own server.
    qputenv(kRadioServerVariable, "http://127.0.0.1:4321");
    qputenv(kPromoSiteVariable, "http://127.0.0.1:4322");
    EXPECT_EQ(ServerAddresses::StationListUrl(), "http://127.0.0.1:4321/stationlist.zip");
    EXPECT_EQ(ServerAddresses::PromoSiteUrl(), "http://127.0.0.1:4322/");
    qunsetenv(kRadioServerVariable);
    qunsetenv(kPromoSiteVariable);
}

}
