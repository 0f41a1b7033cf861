#include "GivenDirectoryServers.h"

namespace stationserver {

GivenDirectoryServers::GivenDirectoryServers(std::vector<std::string> baseUrls)
    : m_baseUrls(std::move(baseUrls))
{
    for (std::string& url : m_baseUrls) {
        while (!url.empty() && url.back() == '/')
            url.pop_back();
    }
}

std::vector<std::string> GivenDirectoryServers::BaseUrls(std::string&)
{
    return m_baseUrls;
}

}
