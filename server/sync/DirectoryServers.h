#pragma once

#include <string>
#include <vector>

namespace stationserver {

// Where the directory's API servers are: their base addresses
// ("https://de1.api.radio-browser.info"), in the order to try them.
class DirectoryServers
{
public:
    virtual ~DirectoryServers() = default;
    // Empty when none could be found; why goes to problem.
    virtual std::vector<std::string> BaseUrls(std::string& problem) = 0;
};

}
