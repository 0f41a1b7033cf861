#include "SitePages.h"

#include "PageTexts.h"

#include <memory>
#include <string_view>

namespace stationserver {
namespace {

std::string Filled(std::string_view page, const SiteAddresses& addresses)
{
    const std::pair<std::string_view, const std::string&> placeholders[] = {
        {"{music-site}", addresses.musicSite},
        {"{promo-site}", addresses.promoSite},
        {"{domain}", addresses.makerDomain},
    };
    std::string text(page);
    for (const auto& [placeholder, value] : placeholders) {
        for (std::size_t pos = 0; (pos = text.find(placeholder, pos)) != std::string::npos; pos += value.size())
            text.replace(pos, placeholder.size(), value);
    }
    return text;
}

}

std::string BannerPage(const SiteAddresses& addresses)
{
    return Filled(kBannerPage, addresses);
}

std::string MusicSitePage(const SiteAddresses& addresses)
{
    return Filled(kMusicSitePage, addresses);
}

std::string PromoSitePage(const SiteAddresses& addresses)
{
    return Filled(kPromoSitePage, addresses);
}

httplib::Server::Handler HtmlPage(std::string page)
{
    return [page = std::make_shared<const std::string>(std::move(page))](const httplib::Request&,
                                                                         httplib::Response& response) {
        response.set_content(*page, "text/html; charset=utf-8");
    };
}

}
