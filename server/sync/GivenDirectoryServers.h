#pragma once

#include "DirectoryServers.h"

namespace stationserver {

// Servers named on the command line or in the filter file (a mirror, or a
// test's own server), tried in the order given.
class GivenDirectoryServers : public DirectoryServers
{
public:
    explicit GivenDirectoryServers(std::vector<std::string> baseUrls);
    std::vector<std::string> BaseUrls(std::string& problem) override;

private:
    std::vector<std::string> m_baseUrls;
};

}
