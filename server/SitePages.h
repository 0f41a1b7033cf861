#pragma once

#include <httplib.h>

#include <string>

namespace stationserver {

// Where the sites answer, for the links between the pages.
struct SiteAddresses {
    std::string musicSite;  // base URL, http://host:port
    std::string promoSite;
    std::string makerDomain;  // for the mail addresses
};

// The pages with their links and addresses filled in.
std::string BannerPage(const SiteAddresses& addresses);
std::string MusicSitePage(const SiteAddresses& addresses);
std::string PromoSitePage(const SiteAddresses& addresses);

// A handler that answers with a fixed HTML page.
httplib::Server::Handler HtmlPage(std::string page);

}
